#include "app/window/contextmenu.h"

#include <windows.h>

#include "app/window/contextpopup.h"
#include "app/lists/screens.h"
#include "app/state/shell.h"
#include "app/lists/myfeeds.h"
#include "speech/speak.h"

namespace {

constexpr int TopScrapbookEntry = 5;
constexpr int MyFeedsPopup = 6;

// PC-Talker says nothing of a popup opened by a program; it is told here.
void AnnounceMenuOpen() { SpeakForPcTalker("メニューオープン", 100); }

// Opens upward from the top-left corner of the client area, owned by the main window.
void TrackPopup(int popup) {
    HMENU menu = ContextMenus[popup];
    if (!menu) return;
    POINT corner = {0, 0};
    ClientToScreen(MainWindow, &corner);
    TrackPopupMenu(
        menu, TPM_LEFTALIGN | TPM_BOTTOMALIGN | TPM_LEFTBUTTON, corner.x, corner.y, 0, MainWindow, nullptr);
}

FocusedPlace Place(HWND focus) {
    if (focus && focus == MenuList) return FocusedPlace::MenuList;
    if (focus && focus == HeadlineList) return FocusedPlace::HeadlineList;
    return FocusedPlace::Elsewhere;
}

}  // namespace

bool OpenContextMenu() {
    AnnounceMenuOpen();
    if (FocusedView() == MenuList && MyFeedsShown()) {
        TrackPopup(MyFeedsPopup);
        return true;
    }
    TrackPopup(ChooseContextPopup(
        Place(FocusedView()), MenuStack.MenuLevel, MenuStack.MenuSelection[0], ScrapbookMode));
    return true;
}

bool OpenFolderMenu() {
    AnnounceMenuOpen();
    if (MenuStack.MenuLevel != 1) return true;
    MenuStack.MenuSelection[0] = TopScrapbookEntry;
    TrackPopup(PopupScrapFolders);
    return true;
}
