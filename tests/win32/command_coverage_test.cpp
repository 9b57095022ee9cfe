// No command is silent: every number that the built program's menu bar, context menus and
// accelerators can send, and every action code of the shipped menu files, has a row in the
// dispatch table. The numbers are read from the program file and the program folder as built,
// so a menu item or key added without its row fails here.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "app/window/commands.h"

namespace {

std::string WindowsPath(const std::string& path) {
    std::string out = path;
    if (out.size() > 1 && out[0] == '/') {
        for (char& c : out)
            if (c == '/') c = '\\';
        out = "Z:" + out;
    }
    return out;
}

// The program folder beside the doubles: <build>/Tavlo.
std::string ProgramFolder() {
    const char* build = std::getenv("TAVLO_DOUBLES");
    return build ? WindowsPath(std::string(build) + "/Tavlo") : std::string();
}

void CollectMenuCommands(HMENU menu, std::set<int>* numbers) {
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (HMENU sub = GetSubMenu(menu, i)) {
            CollectMenuCommands(sub, numbers);
            continue;
        }
        UINT id = GetMenuItemID(menu, i);
        if (id != static_cast<UINT>(-1) && id != 0) numbers->insert(static_cast<int>(id));
    }
}

class CommandCoverage : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = ProgramFolder();
        ASSERT_FALSE(folder_.empty()) << "TAVLO_DOUBLES names the build folder";
        program_ = LoadLibraryExA((folder_ + "\\Tavlo.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, program_) << "the program folder is built";
    }
    void TearDown() override {
        if (program_) FreeLibrary(program_);
    }

    std::set<int> MenuNumbers(const char* resource) {
        std::set<int> numbers;
        HMENU menu = LoadMenuA(program_, resource);
        EXPECT_NE(nullptr, menu) << resource;
        if (!menu) return numbers;
        CollectMenuCommands(menu, &numbers);
        DestroyMenu(menu);
        return numbers;
    }

    std::set<int> AcceleratorNumbers() {
        std::set<int> numbers;
        HACCEL table = LoadAcceleratorsA(program_, "TBAccelerator");
        EXPECT_NE(nullptr, table);
        if (!table) return numbers;
        std::vector<ACCEL> keys(CopyAcceleratorTableA(table, nullptr, 0));
        CopyAcceleratorTableA(table, keys.data(), static_cast<int>(keys.size()));
        for (const ACCEL& key : keys) numbers.insert(key.cmd);
        DestroyAcceleratorTable(table);
        return numbers;
    }

    // Every "Number%d" above 500 and up to 600 in every section of the main menu file.
    std::set<int> ActionCodes() {
        std::set<int> codes;
        std::string file = folder_ + "\\News\\Tavlo.menu";
        std::vector<char> sections(65536);
        DWORD length = GetPrivateProfileSectionNamesA(
            sections.data(), static_cast<DWORD>(sections.size()), file.c_str());
        EXPECT_GT(length, 0u) << file;
        for (const char* section = sections.data(); *section; section += strlen(section) + 1)
            for (int n = 1; n <= 50; ++n) {
                char key[16];
                wsprintfA(key, "Number%d", n);
                int code = static_cast<int>(GetPrivateProfileIntA(section, key, 0, file.c_str()));
                if (code > 500 && code <= 600) codes.insert(code);
            }
        return codes;
    }

    std::string folder_;
    HMODULE program_ = nullptr;
};

std::string Missing(const std::set<int>& numbers, bool (*hasRow)(int)) {
    std::string missing;
    for (int number : numbers)
        if (!hasRow(number)) missing += std::to_string(number) + " ";
    return missing;
}

TEST_F(CommandCoverage, EveryMenuItemKeyAndActionCodeHasARow) {
    std::set<int> menuBar = MenuNumbers("TBM");
    std::set<int> context = MenuNumbers("RMenu");
    std::set<int> keys = AcceleratorNumbers();
    std::set<int> actions = ActionCodes();
    // Enough numbers were read that an empty or unreadable resource cannot pass unnoticed.
    EXPECT_GE(menuBar.size(), 50u);
    EXPECT_GE(context.size(), 20u);
    EXPECT_GE(keys.size(), 60u);
    EXPECT_GE(actions.size(), 10u);

    EXPECT_EQ("", Missing(menuBar, CommandHasRow)) << "menu bar items without a row";
    EXPECT_EQ("", Missing(context, CommandHasRow)) << "context menu items without a row";
    EXPECT_EQ("", Missing(keys, CommandHasRow)) << "keys without a row";
    EXPECT_EQ("", Missing(actions, MenuFileActionHasRow)) << "menu file action codes without a row";
}

}  // namespace
