#include "app/article/readingcommands.h"

#include <richedit.h>

#include "app/state/shell.h"
#include "library/settings.h"
#include "retrieval/headlines.h"
#include "speech/reading.h"
#include "speech/speak.h"

volatile LONG AutoAdvanceActive = 0;

namespace {

constexpr UINT AutoAdvanceMs = 1000;

void StopAutoAdvance() {
    if (!AutoAdvanceActive) return;
    KillTimer(MainWindow, AutoAdvanceTimerId);
    AutoAdvanceActive = 0;
}

bool BodyCommandAllowed() {
    HWND focus = FocusedView();
    return focus != MenuList && focus != HeadlineList;
}

// The notice before the first line: the lines and the related links of the page shown, the
// lines only for a scrapbook text, nothing for a radio category or with the notice off.
ReadingNotice BodyNotice() {
    ReadingNotice notice;
    notice.kind = ChooseCountNotice(Settings.CountNotice, 0, CategoryParameters[1], ScrapbookMode);
    int depth = PageDepth;
    notice.links = depth >= 0 && depth < HeadlineLevels ? HeadlineStore.counts[depth] : 0;
    return notice;
}

}  // namespace

bool ReadBodyView() { return StartReadBody(BodyView, BodyNotice()); }

void StopContinuousReading(int moveCaretBack) {
    StopAutoAdvance();
    StopReading(moveCaretBack);
}

bool ReadFromTop() {
    if (!BodyCommandAllowed()) return false;
    SendMessageA(BodyView, EM_SETSEL, 0, 0);
    ReadBodyView();
    return true;
}

bool ReadFromCaret() {
    if (!BodyCommandAllowed()) return false;
    ReadBodyView();
    return true;
}

bool ReadAllArticles(int (*activate)(int source)) {
    if (ReadingActive == 1) return false;
    HWND focus = FocusedView();
    if (focus != HeadlineList && focus != BodyView) return false;
    SpeakAndWait("連続読み上げ開始", 0);
    activate(focus == HeadlineList ? FromHeadlineList : FromBodyView);
    SetTimer(MainWindow, AutoAdvanceTimerId, AutoAdvanceMs, nullptr);
    AutoAdvanceActive = 1;
    return true;
}

void AutoAdvanceTick(int (*activate)(int source)) {
    // A reading that has been started but is still in its opening wait counts as running:
    // moving on then would open the next article before this one was read.
    if (ReadingActive == 1 || ReadingThread != nullptr) return;
    // A message box or dialog over the main window (it is disabled meanwhile) pauses the mode
    // until it has been answered.
    if (!IsWindowEnabled(MainWindow)) return;
    int count = static_cast<int>(SendMessageA(HeadlineList, LB_GETCOUNT, 0, 0));
    int selection = static_cast<int>(SendMessageA(HeadlineList, LB_GETCURSEL, 0, 0));
    if (selection < count - 1) {
        SendMessageA(HeadlineList, LB_SETCURSEL, static_cast<WPARAM>(selection + 1), 0);
        HWND focus = FocusedView();
        if (focus == HeadlineList || focus == BodyView) activate(FromHeadlineList);
        return;
    }
    SpeakMessage("連続読み上げ終わり", 500);
    StopAutoAdvance();
}
