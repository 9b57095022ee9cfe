#include "app/lists/menufile.h"

#include <cstdio>
#include <cstring>

#include "app/lists/listcontent.h"
#include "app/state/shell.h"

namespace {

void MainMenuPath(char* path, DWORD capacity) {
    char longPath[MAX_PATH * 2];
    std::snprintf(longPath, sizeof longPath, "%s\\News\\Tavlo.menu", ProgramFolder);
    DWORD n = GetShortPathNameA(longPath, path, capacity);
    if (n == 0 || n >= capacity) std::snprintf(path, capacity, "%s", longPath);
}

}  // namespace

int LoadMenuLevel(HWND list, const char* section) {
    if (MenuStack.MenuLevel != -1)
        MenuStack.MenuSelection[MenuStack.MenuLevel] =
            static_cast<int32_t>(SendMessageA(list, LB_GETCURSEL, 0, 0));
    if (MenuStack.MenuLevel + 1 >= MenuLevelCount) return 1;  // five levels only
    if (MenuListContent() == ListContent::MyFeeds) ShowListContent(ListContent::Menu);
    int level = ++MenuStack.MenuLevel;
    std::memset(MenuStack.ListText[level], 0, sizeof MenuStack.ListText[level]);
    std::memset(MenuStack.MenuName[level], 0, sizeof MenuStack.MenuName[level]);
    char path[MAX_PATH * 2];
    MainMenuPath(path, sizeof path);
    char key[32];
    for (int n = 1; n <= MenuEntryCount; ++n) {
        std::snprintf(key, sizeof key, "ListText%d", n);
        GetPrivateProfileStringA(section, key, "", MenuStack.ListText[level][n - 1], MenuTextCapacity, path);
    }
    for (int n = 1; n <= MenuEntryCount; ++n) {
        std::snprintf(key, sizeof key, "MenuName%d", n);
        GetPrivateProfileStringA(section, key, "", MenuStack.MenuName[level][n - 1], MenuTextCapacity, path);
    }
    for (int n = 1; n <= MenuEntryCount; ++n) {
        std::snprintf(key, sizeof key, "Number%d", n);
        char number[64];
        GetPrivateProfileStringA(section, key, "", number, sizeof number, path);
        MenuStack.Number[level][n - 1] = ParseProfileInt(number);
    }
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int k = 0; k < MenuEntryCount && MenuStack.ListText[level][k][0]; ++k)
        SendMessageA(list, LB_INSERTSTRING, k, reinterpret_cast<LPARAM>(MenuStack.ListText[level][k]));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    return 1;
}
