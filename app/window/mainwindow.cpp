// The main window: creation of the views, size, focus, timers and the orderly close.
#include <richedit.h>

#include <cstdio>

#include "app/window/commands.h"
#include "app/lists/menufile.h"
#include "app/article/readingcommands.h"
#include "app/lists/receptionview.h"
#include "app/lists/screens.h"
#include "app/state/shell.h"
#include "app/tasks/sleeptimer.h"
#include "app/tasks/updatecheck.h"
#include "app/window/views.h"
#include "library/receptionlog.h"
#include "library/power.h"
#include "library/settings.h"
#include "resources/resource.h"
#include "retrieval/reception.h"
#include "retrieval/sources.h"
#include "speech/reading.h"
#include "speech/speak.h"

namespace {

const char* const DataFolderTree[] = {
    "c:\\ProgramData\\Morvick",
    "c:\\ProgramData\\Morvick\\Tavlo",
    "c:\\ProgramData\\Morvick\\Tavlo\\NewsText",
    "c:\\ProgramData\\Morvick\\Tavlo\\mp3",
    "c:\\ProgramData\\Morvick\\Tavlo\\ScrapBook",
    "c:\\ProgramData\\Morvick\\Tavlo\\ScrapBook\\ScrapBook",
};

const DWORD ListStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_STANDARD;
const DWORD BodyStyle = WS_CHILD | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                        ES_AUTOHSCROLL | ES_READONLY | ES_WANTRETURN;
const DWORD PageStoreStyle = WS_CHILD | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                             ES_AUTOHSCROLL | ES_READONLY | ES_WANTRETURN;

HWND CreateChild(HWND parent, const char* cls, const char* text, DWORD style, int id) {
    return CreateWindowExA(0,
                           cls,
                           text,
                           style,
                           0,
                           0,
                           0,
                           0,
                           parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                           nullptr);
}

void LoadContextMenus(HINSTANCE instance) {
    HMENU menu = LoadMenuA(instance, IDR_CONTEXT_MENUS);
    for (int i = 0; i < ContextMenuCount; ++i) ContextMenus[i] = menu ? GetSubMenu(menu, i) : nullptr;
}

void CreateViews(HWND window) {
    CreateChild(window, "STATIC", "メニュー選択", WS_CHILD, IDC_LIST_LABEL);
    MenuList = CreateChild(window, "LISTBOX", nullptr, ListStyle, MenuListId);
    SubclassView(MenuList);
    CreateChild(window, "STATIC", "記事リスト", WS_CHILD, IDC_LIST_LABEL);
    HeadlineList = CreateChild(window, "LISTBOX", nullptr, ListStyle, HeadlineListId);
    SubclassView(HeadlineList);
    CreateChild(window, "STATIC", "本文", WS_CHILD, IDC_BODY_LABEL);
    BodyView = CreateChild(window, "RICHEDIT", nullptr, BodyStyle, BodyViewId);
    SubclassView(BodyView);
    SendMessageA(BodyView, EM_EXLIMITTEXT, 0, BodyTextLimit);
    ShowWindow(HeadlineList, SW_SHOW);
    for (int i = 0; i < PageStoreCount; ++i) {
        PageStore[i] = CreateChild(window, "EDIT", nullptr, PageStoreStyle, PageStoreFirstId + i);
        SendMessageA(PageStore[i], EM_SETLIMITTEXT, BodyTextLimit, 0);
    }
}

// The folder Tavlo.exe is in, whatever folder it was started from: the menus and the
// converter are taken from there.
void FindProgramFolder() {
    char path[FolderCapacity];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    char* last = nullptr;
    if (length > 0 && length < sizeof path) {
        for (char* p = path; *p; p = CharNextA(p))
            if (*p == '\\') last = p;
    }
    if (!last) {
        GetCurrentDirectoryA(FolderCapacity, ProgramFolder);
        return;
    }
    *last = '\0';
    std::snprintf(ProgramFolder, FolderCapacity, "%s", path);
}

void PrepareFolders() {
    for (const char* folder : DataFolderTree) CreateDirectoryA(folder, nullptr);
    FindProgramFolder();
    SetCurrentDirectoryA(DataFolderTree[1]);
    GetCurrentDirectoryA(FolderCapacity, DataFolder);
    BindLogFile(History, DataFolder, HistoryFileName);
    BindLogFile(Favorites, DataFolder, FavoritesFileName);
}

// The source addresses are configured in the main menu file.
void LoadSources() {
    char menuFile[MAX_PATH * 2];
    std::snprintf(menuFile, sizeof menuFile, "%s\\News\\Tavlo.menu", ProgramFolder);
    LoadSourceAddresses(menuFile);
}

void ShowFirstScreen() {
    switch (Settings.StartAction) {
        case 0:
            ShowView(MenuList, HeadlineList, BodyView);
            break;
        case 4:
            SendMessageA(MenuList, LB_SETCURSEL, TopLocalNews, 0);
            LoadMenuLevel(MenuList, "Menu97");
            ShowView(MenuList, HeadlineList, BodyView);
            break;
        case 5:
            SendMessageA(MenuList, LB_SETCURSEL, TopCategories, 0);
            LoadMenuLevel(MenuList, "Menu4");
            ShowView(MenuList, HeadlineList, BodyView);
            break;
        default:
            // Start actions 1 to 3 open the logs; any other value shows no view.
            RunLogStartAction(Settings.StartAction);
            break;
    }
}

LRESULT OnCreate(HWND window) {
    LoadLibraryA("RICHED32.DLL");
    MainWindow = window;
    SetMenuFileActions(DispatchMenuFileAction);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    LoadContextMenus(instance);
    CreateViews(window);
    CreateDefaultSettings();
    LoadSettings();
    PrepareFolders();
    LoadSources();
    MenuStack.MenuLevel = -1;  // the top menu becomes level 0
    LoadMenuLevel(MenuList, "Menu1");
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    ApplyWordWrap();
    ShowFirstScreen();
    SetTimer(window, CaretTimerId, 10, nullptr);
    LoadSleepTickSwitch();
    LoadPowerRecorderSwitch();
    if (Settings.UpdateCheckAtStart == 1) CheckForUpdate(window, 0);
    return 0;
}

void OnSize(LPARAM lParam) {
    int width = LOWORD(lParam);
    int height = HIWORD(lParam);
    HWND views[] = {MenuList, HeadlineList, BodyView};
    for (HWND view : views) MoveWindow(view, 0, 0, width, height, TRUE);
}

void OnSetFocus() {
    if (!LastFocus) return;
    SetFocus(LastFocus);
    LastFocus = GetFocus();
}

void OnClose(HWND window) {
    SpeakAndWait("タブロを終了します", 0, 2000);
    KillTimer(window, SleepTimerId);
}

// What the body view's caret and scrolling looked like at the last caret tick.
struct CaretState {
    DWORD start = 0;
    DWORD end = 0;
    LRESULT firstLine = -1;
    int length = -1;
    bool operator==(const CaretState& other) const {
        return start == other.start && end == other.end && firstLine == other.firstLine && length == other.length;
    }
};

CaretState CurrentCaretState() {
    CaretState state;
    SendMessageA(BodyView, EM_GETSEL, reinterpret_cast<WPARAM>(&state.start), reinterpret_cast<LPARAM>(&state.end));
    state.firstLine = SendMessageA(BodyView, EM_GETFIRSTVISIBLELINE, 0, 0);
    state.length = GetWindowTextLengthA(BodyView);
    return state;
}

// Keeps the caret in sight; the view is scrolled only when the caret, the text or the scrolling
// has changed since the last tick, so that an idle window costs next to nothing.
void KeepCaretInSight() {
    static CaretState last;
    CaretState now = CurrentCaretState();
    if (now == last) return;
    SendMessageA(BodyView, EM_SCROLLCARET, 0, 0);
    last = CurrentCaretState();
}

void OnTimer(WPARAM id) {
    if (id == CaretTimerId) KeepCaretInSight();
    if (id == AutoAdvanceTimerId) AutoAdvanceTick(ActivateEntry);
    if (id == SleepTimerId) SleepTimerTick();
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return OnCreate(window);
        case WM_SIZE:
            OnSize(lParam);
            return 0;
        case WM_SETFOCUS:
            OnSetFocus();
            return 0;
        case WM_CLOSE:
            OnClose(window);
            break;  // the default procedure destroys the window
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_TIMER:
            OnTimer(wParam);
            return 0;
        case WM_SYSCOMMAND:
            // Alt released after Alt+1 and the like: keep the focus where it is.
            if ((wParam & 0xFFF0) == SC_KEYMENU && lParam == 0 && AltAcceleratorUsed) {
                AltAcceleratorUsed = false;
                return 0;
            }
            break;
        case WM_COMMAND:
            if (DispatchCommand(LOWORD(wParam))) return 0;
            break;
        case ReadingCaretMessage:
            return MoveReadingCaret(lParam);
        case ReceptionMessage:
            return OnReceptionReport(wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
