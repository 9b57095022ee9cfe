// The history and favorites files as the profile functions write and read them: every key of
// the three sections in order, hand-edited files, and a file that cannot be written.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "library/receptionlog.h"

namespace {

class ReceptionLogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        folder_ = std::string(temp) + "tavlo-logs-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder_.c_str(), nullptr);
        log_ = std::make_unique<ReceptionLog>();
        BindLogFile(*log_, folder_.c_str(), HistoryFileName);
        DeleteFileA(log_->File);
    }
    void TearDown() override {
        DeleteFileA(log_->File);
        RemoveDirectoryA(folder_.c_str());
    }

    std::string FileText() const {
        std::ifstream in(log_->File, std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

    // The non-empty lines of the file, without their line ends.
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(FileText());
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (!line.empty()) lines.push_back(line);
        }
        return lines;
    }

    void WriteFile(const std::string& text) const {
        std::ofstream out(log_->File, std::ios::binary);
        out << text;
    }

    std::string folder_;
    std::unique_ptr<ReceptionLog> log_;
};

TEST_F(ReceptionLogFile, EveryKeyIsWrittenInItsSectionInOrder) {
    ASSERT_EQ(1, AddLogEntry(*log_, "news.txt", "国内ニュース", 12));
    ASSERT_EQ(1, AddLogEntry(*log_, "http://a.jp/p?ch=fm&area=osaka", "NHK-FM 大阪", 601));

    std::vector<std::string> expected;
    const char* sections[] = {"FilePath", "FileName", "Number"};
    for (const char* section : sections) {
        expected.push_back(std::string("[") + section + "]");
        for (int i = 0; i < LogCapacity; ++i) {
            std::string value;
            if (section == sections[0])
                value = i == 0 ? "http://a.jp/p?ch=fm&area=osaka" : i == 1 ? "news.txt" : "";
            if (section == sections[1]) value = i == 0 ? "NHK-FM 大阪" : i == 1 ? "国内ニュース" : "";
            if (section == sections[2]) value = i == 0 ? "601" : i == 1 ? "12" : "0";
            expected.push_back(section + std::to_string(i) + "=" + value);
        }
    }
    EXPECT_EQ(expected, Lines());
    EXPECT_NE(std::string::npos, FileText().find("FilePath2=\r\n"));

    auto again = std::make_unique<ReceptionLog>();
    std::memcpy(again->File, log_->File, sizeof again->File);
    LoadLog(*again);
    EXPECT_EQ(2, UsedLogEntries(*again));
    EXPECT_STREQ("http://a.jp/p?ch=fm&area=osaka", again->FilePath[0]);
    EXPECT_STREQ("国内ニュース", again->FileName[1]);
    EXPECT_EQ(601, again->Number[0]);
}

TEST_F(ReceptionLogFile, HandEditedFilesReadAsTheyStand) {
    std::string longName(300, 'x');
    WriteFile(
        "[FilePath]\r\nFilePath0=a.txt\r\nFilePath1=b.txt\r\nFilePath3=d.txt\r\n"
        "[FileName]\r\nFileName0=" +
        longName + "\r\nFileName1=B\r\nFileName3=D\r\n[Number]\r\nNumber0=abc\r\nNumber1=-4\r\n");
    LoadLog(*log_);
    EXPECT_EQ(2, UsedLogEntries(*log_));  // the gap at 2 ends the list
    EXPECT_STREQ("d.txt", log_->FilePath[3]);
    EXPECT_EQ(260u, std::strlen(log_->FileName[0]));
    EXPECT_EQ(0, log_->Number[0]);
    EXPECT_EQ(-4, log_->Number[1]);
    EXPECT_EQ(0, log_->Number[3]);

    // A missing file is an empty log.
    DeleteFileA(log_->File);
    LoadLog(*log_);
    EXPECT_EQ(0, UsedLogEntries(*log_));
    EXPECT_STREQ("", log_->FileName[0]);
}

TEST_F(ReceptionLogFile, AddingAndRemovingStartFromTheFileNotTheCopyInMemory) {
    AddLogEntry(*log_, "f", "A", 1);
    AddLogEntry(*log_, "f", "B", 2);
    ClearLogEntries(*log_);  // a stale copy in memory changes nothing
    AddLogEntry(*log_, "f", "C", 3);
    LoadLog(*log_);
    ASSERT_EQ(3, UsedLogEntries(*log_));

    EXPECT_EQ(1, RemoveLogEntry(*log_, "f", "B"));
    auto fresh = std::make_unique<ReceptionLog>();
    std::memcpy(fresh->File, log_->File, sizeof fresh->File);
    LoadLog(*fresh);
    ASSERT_EQ(2, UsedLogEntries(*fresh));
    EXPECT_STREQ("C", fresh->FileName[0]);
    EXPECT_STREQ("A", fresh->FileName[1]);
    EXPECT_EQ(1, RemoveLogEntry(*log_, "f", "B"));  // already gone: nothing else changes
    LoadLog(*fresh);
    EXPECT_EQ(2, UsedLogEntries(*fresh));
}

TEST_F(ReceptionLogFile, AFileThatCannotBeWrittenIsReported) {
    BindLogFile(*log_, (folder_ + "\\missing\\folder").c_str(), FavoritesFileName);
    EXPECT_EQ(0, AddLogEntry(*log_, "f", "A", 1));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(log_->File));
}

}  // namespace
