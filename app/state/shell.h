// The main window, its views and the screen state every other subsystem talks to.
#pragma once
#include <windows.h>

#include "app/state/menustack.h"
#include "resources/resource.h"

constexpr int MenuListId = IDC_MENU_LIST;
constexpr int HeadlineListId = IDC_HEADLINE_LIST;
constexpr int BodyViewId = IDC_BODY_VIEW;
constexpr int PageStoreCount = 30;
constexpr int PageStoreFirstId = IDC_PAGE_STORE_FIRST;  // the slot of depth d is control 69 + d
constexpr int BodyTextLimit = 102400;
constexpr int FolderCapacity = 261;

constexpr UINT_PTR AutoAdvanceTimerId = 1;
constexpr UINT_PTR SleepTimerId = 100;
constexpr UINT_PTR CaretTimerId = 200;

extern HWND MainWindow;
extern HWND MenuList;
extern HWND HeadlineList;
extern HWND BodyView;
extern HWND PageStore[PageStoreCount];
extern HWND LastFocus;
constexpr int ContextMenuCount = 7;  // the popups of the context menu resource
extern HMENU ContextMenus[ContextMenuCount];
extern char ProgramFolder[FolderCapacity];
extern char DataFolder[FolderCapacity];

// Set when an Alt+key accelerator consumed its key: releasing Alt afterwards must not open
// the menu bar (the screen reader would then talk about a menu the user never asked for).
extern bool AltAcceleratorUsed;

// What MenuList shows: five levels of fifty entries.
extern MenuStackData MenuStack;

// Set while HeadlineList shows a scrapbook folder instead of received headlines.
extern volatile LONG ScrapbookMode;

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Hides the views given, shows and focuses view, and remembers the focused control.
void ShowView(HWND view, HWND hide1, HWND hide2 = nullptr);

// The page store control of related-page depth 1..30.
HWND PageStoreSlot(int depth);

// Which of the three views has the keyboard focus (nullptr when none of them).
HWND FocusedView();

// Wraps the body view's lines at the window edge or not, as Settings.WordWrap says.
void ApplyWordWrap();

// Where an activation comes from (ActivateEntry, app/lists/screens.h).
enum EntrySource { FromMenuList = 1, FromHeadlineList = 2, FromBodyView = 3 };
