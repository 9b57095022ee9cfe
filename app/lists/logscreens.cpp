#include "app/lists/logscreens.h"

#include <cstdio>

#include "app/state/entrypoints.h"
#include "app/lists/listcontent.h"
#include "app/lists/screens.h"
#include "app/state/shell.h"
#include "app/lists/myfeeds.h"
#include "library/favorites.h"
#include "library/receptionlog.h"
#include "library/shortcuts.h"
#include "speech/speak.h"

namespace {

constexpr int CategoryNameCapacity = 64;

int Selection(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }

// Copies the log into level of the menu stack and fills MenuList with its used entries, the
// first one selected. The level then is a snapshot: entries added later appear the next time.
void ShowLogInList(ReceptionLog& log, int level) {
    LoadLog(log);
    for (int i = 0; i < MenuEntryCount && i < LogCapacity; ++i) {
        std::snprintf(MenuStack.ListText[level][i], MenuTextCapacity, "%s", log.FileName[i]);
        std::snprintf(MenuStack.MenuName[level][i], MenuTextCapacity, "%s", log.FilePath[i]);
        MenuStack.Number[level][i] = log.Number[i];
    }
    SendMessageA(MenuList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(MenuList, LB_RESETCONTENT, 0, 0);
    for (int i = 0; i < LogCapacity && log.FilePath[i][0]; ++i)
        SendMessageA(MenuList, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(log.FileName[i]));
    SendMessageA(MenuList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(MenuList, nullptr, TRUE);
    SendMessageA(MenuList, LB_SETCURSEL, 0, 0);
    MenuStack.MenuSelection[level] = 0;
    ShowListContent(&log == &History ? ListContent::History : ListContent::Favorites);
}

// The log as the next level of the menu list (an entry of code 603 or 604 was activated).
void ShowLogAsNextLevel(ReceptionLog& log) {
    int level = MenuStack.MenuLevel + 1;
    if (level >= MenuLevelCount) return;  // no sixth level
    ShowLogInList(log, level);
    MenuStack.MenuLevel = level;
}

// The jump to a log from anywhere: the top menu's entry topPosition is remembered as the
// way in, the log becomes level 1, and the menu list is shown and focused.
void JumpToLog(ReceptionLog& log, int topPosition) {
    ShowReceivedHeadlines();  // leaves the scrapbook browsing
    MenuStack.MenuLevel = 0;
    MenuStack.MenuSelection[0] = topPosition;
    ShowLogInList(log, 1);
    MenuStack.MenuLevel = 1;
    ShowView(MenuList, HeadlineList, BodyView);
}

bool LogIsShown(int topPosition) {
    return MenuStack.MenuLevel == 1 && MenuStack.MenuSelection[0] == topPosition;
}

// The jump commands do nothing when the log is on screen already; from the headlines or the
// body of an entry opened there they show it again.
bool AlreadyOnLog(int topPosition) { return LogIsShown(topPosition) && FocusedView() == MenuList; }

}  // namespace

void ReadCategoryName(const char* menuName, int number, char* name, int capacity) {
    if (capacity > 0) name[0] = '\0';
    if (!IsCategoryMenuName(menuName)) return;
    char file[MAX_PATH * 2];
    CategoryFilePath(menuName, file, sizeof file);
    char section[32];
    std::snprintf(section, sizeof section, "Category%d", number);
    int size = capacity < CategoryNameCapacity ? capacity : CategoryNameCapacity;
    GetPrivateProfileStringA(section, "Parameter1", "", name, size, file);
}

void ShowHistoryLevel() { ShowLogAsNextLevel(History); }
void ShowFavoritesLevel() { ShowLogAsNextLevel(Favorites); }

bool MoveToHistory() {
    if (AlreadyOnLog(TopHistory)) return true;
    SpeakMessage("受信履歴に移動します", 0);
    JumpToLog(History, TopHistory);
    return true;
}

bool ShowFavorites() {
    if (AlreadyOnLog(TopFavorites)) return true;
    SpeakMessage("お気に入りに移動します", 0);
    JumpToLog(Favorites, TopFavorites);
    return true;
}

bool RegisterFavorite() {
    int level = MenuStack.MenuLevel;
    if (level < 1 || level >= MenuLevelCount || MenuStack.MenuSelection[0] > TopLocalNews) return true;
    int p = Selection(MenuList);
    if (p < 0 || p >= MenuEntryCount) return true;
    MenuStack.MenuSelection[level] = p;
    int n = MenuStack.Number[level][p];
    const char* file = MenuStack.MenuName[level][p];
    char name[LogTextCapacity] = "";
    if (n == EntryWebPage) {
        std::snprintf(name, sizeof name, "%s", MenuStack.ListText[level][p]);
        RadioLabelFor(file, name, sizeof name);
    } else if (n > 500) {
        return true;
    } else {
        ReadCategoryName(file, n, name, CategoryNameCapacity);
    }
    char text[LogTextCapacity + 64];
    switch (AddFavorite(file, name, n)) {
        case FavoriteOutcome::Registered:
            std::snprintf(text, sizeof text, "%sをお気に入りに登録しました", name);
            break;
        case FavoriteOutcome::AlreadyRegistered:
            std::snprintf(text, sizeof text, "%sはすでにお気に入りに登録されています", name);
            break;
        case FavoriteOutcome::Full:
            std::snprintf(text, sizeof text, "お気に入りは上限の50件まで登録されています");
            break;
        case FavoriteOutcome::NoName:
            std::snprintf(text, sizeof text, "この項目はお気に入りに登録できません");
            break;
        case FavoriteOutcome::NotWritten:
            std::snprintf(text, sizeof text, "お気に入りに登録できませんでした");
            break;
    }
    SpeakMessage(text, 100);
    return true;
}

void DeleteLogEntry() {
    ReceptionLog* log = LogIsShown(TopHistory) ? &History : LogIsShown(TopFavorites) ? &Favorites : nullptr;
    if (!log) return;
    int n = static_cast<int>(SendMessageA(MenuList, LB_GETCOUNT, 0, 0));
    int s = Selection(MenuList);
    if (n < 1 || s < 0 || s >= n || s >= MenuEntryCount) return;
    // The entry the user selected, wherever it now stands in the file.
    if (RemoveLogEntry(*log, MenuStack.MenuName[1][s], MenuStack.ListText[1][s]) != 1) {
        SpeakMessage("削除できませんでした", 100);
        return;
    }
    for (int i = s; i + 1 < MenuEntryCount; ++i) {
        std::snprintf(MenuStack.ListText[1][i], MenuTextCapacity, "%s", MenuStack.ListText[1][i + 1]);
        std::snprintf(MenuStack.MenuName[1][i], MenuTextCapacity, "%s", MenuStack.MenuName[1][i + 1]);
        MenuStack.Number[1][i] = MenuStack.Number[1][i + 1];
    }
    MenuStack.ListText[1][MenuEntryCount - 1][0] = '\0';
    MenuStack.MenuName[1][MenuEntryCount - 1][0] = '\0';
    MenuStack.Number[1][MenuEntryCount - 1] = 0;
    SendMessageA(MenuList, LB_DELETESTRING, s, 0);
    SendMessageA(MenuList, LB_SETCURSEL, s == n - 1 ? s - 1 : s, 0);
    SpeakMessage("削除しました", 100);
}

void RunLogStartAction(int startAction) {
    switch (startAction) {
        case 1:
            MenuStack.MenuLevel = 0;
            MenuStack.MenuSelection[0] = TopHistory;
            ShowLogInList(History, 1);
            MenuStack.MenuLevel = 1;
            // A history that holds no category to receive first stays on screen instead.
            if (MenuStack.Number[1][0] >= 1 && MenuStack.Number[1][0] <= 500) {
                ReceiveCategoryEntry(1, 0);
                return;
            }
            ShowView(MenuList, HeadlineList, BodyView);
            break;
        case 2:
            JumpToLog(Favorites, TopFavorites);
            break;
        case 3:
            JumpToLog(History, TopHistory);
            break;
    }
}
