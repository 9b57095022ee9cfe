// The recording's commands: reserving what is shown (507), the recording dialog (508), its
// settings (553) and the folder of the audio files (503).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>

#include "app/article/articleview.h"
#include "app/state/entrypoints.h"
#include "app/state/listshown.h"
#include "app/scrapbook/scrapbookview.h"
#include "app/state/shell.h"
#include "library/scrapbook.h"
#include "library/settings.h"
#include "library/textfiles.h"
#include "recording/recorddialog.h"
#include "recording/recordpaths.h"
#include "recording/recordsettings.h"
#include "retrieval/headlines.h"
#include "speech/speak.h"
#include "win/plaintext.h"

namespace {

enum class Reserved { Ignored, Written, Failed };

Reserved Outcome(int written) { return written ? Reserved::Written : Reserved::Failed; }

int SelectedLine(HWND list, int limit) {
    LRESULT line = SendMessageA(list, LB_GETCURSEL, 0, 0);
    return line >= 0 && line < limit ? static_cast<int>(line) : -1;
}

// Puts "<title>\r\n" before the body view's text, undoably, with the caret staying on its
// character.
void InsertTitleLine(const char* title) {
    char line[TitleCapacity + 2];
    std::snprintf(line, sizeof line, "%s\r\n", title);
    DWORD start = 0, end = 0;
    SendMessageA(BodyView, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    int before = GetWindowTextLengthA(BodyView);
    SendMessageA(BodyView, EM_SETSEL, 0, 0);
    win::ReplaceRichEditSelectionPlain(BodyView, line);
    // The control counts in its own units (characters in some versions, bytes in others).
    DWORD moved = static_cast<DWORD>(GetWindowTextLengthA(BodyView) - before);
    SendMessageA(BodyView, EM_SETSEL, start + moved, end + moved);
}

bool WriteReservation(const char* title) {
    char folder[RecordPathCapacity];
    return ReservationFolder(DataFolder, folder, sizeof folder) && WriteTextFile(BodyView, folder, title);
}

// The selected scrapbook article, copied under its own name (after a title line when the
// options say so); the body view shows the article afterwards.
Reserved ReserveScrapArticle() {
    SetWindowTextA(BodyView, "");
    int position = -1;
    const char* name = nullptr;
    if (!SelectedScrapArticle(&position, &name)) return Reserved::Ignored;
    char source[MAX_PATH * 2], destination[RecordPathCapacity];
    if (!ScrapArticlePath(source, sizeof source, DataFolder, CurrentScrapFolder, name))
        return Reserved::Failed;
    const int written = ReservationFilePath(DataFolder, name, destination, sizeof destination) &&
                        (Settings.RecordTitleFirst == 1 ? CopyWithTitleLine(name, source, destination)
                                                        : CopyFileA(source, destination, FALSE));
    ReadTextFile(BodyView, source);
    return Outcome(written);
}

// The related page in the body view, under its page title.
Reserved ReserveRelatedPage() {
    if (GetFocus() == HeadlineList || GetWindowTextLengthA(BodyView) == 0) return Reserved::Ignored;
    const char* title = HeadlineStore.pageTitles[PageDepth - 1];
    if (Settings.RecordTitleFirst == 1) InsertTitleLine(title);
    return Outcome(WriteReservation(title));
}

// The selected headline's article, received again as the recording wants it.
Reserved ReserveHeadlineArticle() {
    int line = SelectedLine(HeadlineList, HeadlinesPerLevel);
    SetWindowTextA(BodyView, "");
    if (line < 0 || !OpenSelectedArticleForRecording()) return Reserved::Ignored;
    return Outcome(WriteReservation(HeadlineStore.titles[0][line]));
}

}  // namespace

bool ReserveArticle() {
    Reserved reserved;
    if (HeadlineListContent() == ListContent::ScrapArticles)
        reserved = ReserveScrapArticle();
    else if (PageDepth > 1)
        reserved = ReserveRelatedPage();
    else
        reserved = ReserveHeadlineArticle();
    if (reserved == Reserved::Written) SpeakMessage("予約しました", 100);
    if (reserved == Reserved::Failed) SpeakMessage("録音予約ができませんでした", 100);
    return true;
}

bool OpenRecordingDialog() {
    RunRecordingDialog(MainWindow, DataFolder, ProgramFolder);
    return true;
}

bool OpenRecordingSettings() {
    RunRecordingSettings(MainWindow, DataFolder);
    return true;
}

bool OpenRecordingFolder() {
    char folder[RecordPathCapacity];
    if (std::snprintf(folder, sizeof folder, "%s\\mp3", DataFolder) < int(sizeof folder))
        ShellExecuteA(MainWindow, nullptr, folder, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}
