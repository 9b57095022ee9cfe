// The sleep timer's power calls with the recorder switched on: what would have been asked of
// the system, never the real thing.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "library/power.h"

namespace {

class PowerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "power_test_" + std::to_string(GetCurrentProcessId()) + ".txt";
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA("TAVLO_POWER_RECORD", path_.c_str());
        LoadPowerRecorderSwitch();
    }
    void TearDown() override {
        SetEnvironmentVariableA("TAVLO_POWER_RECORD", nullptr);
        LoadPowerRecorderSwitch();
        DeleteFileA(path_.c_str());
    }
    std::string Recorded() {
        std::ifstream in(path_);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::string path_;
};

TEST_F(PowerTest, EachRequestIsRecordedWithItsArguments) {
    int granted = EnableShutdownPrivilege();
    RequestSuspend();
    RequestHibernate();
    RequestShutdown();
    EXPECT_EQ("EnableShutdownPrivilege granted=" + std::to_string(granted) +
                  "\n"
                  "SetSystemPowerState suspend=1 force=0\n"
                  "SetSystemPowerState suspend=0 force=0\n"
                  "ExitWindowsEx flags=0x5 reason=0\n",
              Recorded());
}

}  // namespace
