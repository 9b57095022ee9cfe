#include "app/article/bodyview.h"

#include <richedit.h>

#include <vector>

#include "app/article/caretlines.h"
#include "app/state/shell.h"
#include "library/settings.h"
#include "speech/reading.h"
#include "speech/reading_lines.h"
#include "speech/speak.h"

namespace {

// Speaks the caret's line, or the part of it before or after the caret (100 ms). A line of
// more than 3,072 bytes is spoken up to there.
bool ReadLinePart(LinePart part) {
    long caret = BodyCaret();
    long line = static_cast<long>(SendMessageA(BodyView, EM_EXLINEFROMCHAR, 0, caret));
    long lineStart = static_cast<long>(SendMessageA(BodyView, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    char text[ReadingLineCapacity];
    size_t n = FetchViewLine(BodyView, static_cast<int>(line), text);
    size_t begin = 0, end = 0;
    CutLinePart(text, n, caret - lineStart, part, &begin, &end);
    text[end] = '\0';
    SpeakMessage(text + begin, 100);
    return true;
}

}  // namespace

long BodyCaret() {
    CHARRANGE range = {0, 0};
    SendMessageA(BodyView, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range.cpMin;
}

void SetBodyCaret(long position) {
    CHARRANGE range = {position, position};
    SendMessageA(BodyView, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
}

std::string BodyText() {
    // The control counts characters; their Shift-JIS form takes at most two bytes each.
    size_t chars = static_cast<size_t>(GetWindowTextLengthA(BodyView));
    if (chars == 0) return std::string();
    std::vector<char> text(chars * 2 + 2, '\0');
    SendMessageA(BodyView, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.back() = '\0';
    return std::string(text.data());
}

void AnnouncePosition() {
    long caret = BodyCaret();
    long line = static_cast<long>(SendMessageA(BodyView, EM_EXLINEFROMCHAR, 0, caret));
    long lineStart = static_cast<long>(SendMessageA(BodyView, EM_LINEINDEX, static_cast<WPARAM>(line), 0));
    char text[64];
    PositionText(text, sizeof text, line, caret, lineStart);
    SpeakMessage(text, 100);
}

void AnnounceCount(int kind) {
    char text[64];
    if (kind == 0) {
        LineCountText(text, sizeof text, static_cast<long>(SendMessageA(BodyView, EM_GETLINECOUNT, 0, 0)));
    } else {
        std::string body = BodyText();
        int units = body.empty() ? 0
                                 : MultiByteToWideChar(
                                       CP_ACP, 0, body.data(), static_cast<int>(body.size()), nullptr, 0);
        CharacterCountText(text, sizeof text, units);
    }
    SpeakMessage(text, 0);
}

bool ReadCaretLine() { return ReadLinePart(LinePart::Whole); }
bool ReadLineToCaret() { return ReadLinePart(LinePart::ToCaret); }
bool ReadLineFromCaret() { return ReadLinePart(LinePart::FromCaret); }

bool AnnounceLineCount() {
    AnnounceCount(0);
    return true;
}

bool AnnounceCharacterCount() {
    AnnounceCount(1);
    return true;
}

bool ToggleWordWrap() {
    int32_t wrap = Settings.WordWrap == 1 ? 0 : 1;
    StoreSetting(&SettingsRecord::WordWrap, wrap);
    ApplyWordWrap();
    SpeakMessage(wrap == 1 ? "折り返し表示オン" : "折り返し表示オフ", 0);
    return true;
}

bool SelectAllBody() {
    CHARRANGE all = {0, -1};
    SendMessageA(BodyView, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    return true;
}

bool CopyBodySelection() {
    SendMessageA(BodyView, WM_COPY, 0, 0);
    return true;
}
