#include "app/article/clipboard.h"

#include <cstring>
#include <string>

#include "app/state/shell.h"
#include "retrieval/headlines.h"
#include "speech/speak.h"

namespace {

// The slot of the page shown, or -1 when no page is shown.
int ShownPage() {
    int depth = PageDepth;
    return depth >= 1 && depth <= HeadlineLevels ? depth - 1 : -1;
}

// The announcement of a copy, or of the failure to copy.
void AnnounceCopy(int copied, const char* done) {
    SpeakMessage(copied == 1 ? done : "クリップボードにコピーできませんでした", 100);
}

}  // namespace

int CopyToClipboard(HWND owner, const char* text) {
    if (!OpenClipboard(owner)) return 0;
    EmptyClipboard();
    size_t size = std::strlen(text) + 1;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, size);
    int copied = 0;
    if (block) {
        if (void* target = GlobalLock(block)) {
            std::memcpy(target, text, size);
            GlobalUnlock(block);
            // On success the clipboard owns the block.
            copied = SetClipboardData(CF_TEXT, block) ? 1 : 0;
        }
        if (!copied) GlobalFree(block);
    }
    CloseClipboard();
    return copied;
}

bool CopyPageAddress() {
    int page = ShownPage();
    if (page < 0) return false;
    AnnounceCopy(CopyToClipboard(MainWindow, HeadlineStore.pageAddresses[page]), "記事のURLをコピーしました");
    return true;
}

bool CopyPageTitleAndAddress() {
    int page = ShownPage();
    if (page < 0) return false;
    std::string text = std::string(HeadlineStore.pageTitles[page]) + "\n" + HeadlineStore.pageAddresses[page];
    AnnounceCopy(CopyToClipboard(MainWindow, text.c_str()), "記事のタイトルとURLをコピーしました");
    return true;
}
