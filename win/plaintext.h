// Filling Rich Edit controls with text that is shown as it is. An ANSI set-text whose text
// begins with "{\rtf" is read as a rich-text document by every Rich Edit version, so a page,
// feed or file could hide text, restyle it or hand pictures to the image decoders; these
// stream the text in as plain characters instead.
#pragma once
#include <windows.h>

namespace win {

// Replaces the whole text of a Rich Edit control (either class; any other control gets a plain
// set-text) with text, as set-text does:
// the caret at the start, the undo buffer emptied, the control unmodified. A text longer than
// the control's limit is taken whole, as set-text takes it.
void SetRichEditPlainText(HWND control, const char* text);

// Replaces the selection with text, undoably, the caret after it (EM_REPLACESEL's behaviour).
void ReplaceRichEditSelectionPlain(HWND control, const char* text);

}  // namespace win
