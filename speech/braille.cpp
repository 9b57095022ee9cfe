#include <windows.h>

#include "speech/screenreaders.h"
#include "speech/speak.h"
#include "speech/speechdialog.h"
#include "win/codepage.h"

void ToggleBraille() {
    const char* state;
    if (BrailleOutput == 1) {
        BrailleOutput = 0;
        state = "点字表示オフ";
    } else {
        BrailleOutput = 1;
        state = "点字表示オン";
    }
    SpeakMessage(state, 100);
    if (CurrentSpeechEngine() != SpeechEngineNvda) return;
    // Switched off, SpeakMessage no longer reaches the display: show the new state there too.
    wchar_t text[32] = {};
    MultiByteToWideChar(win::ShiftJisCodePage, 0, state, -1, text, 31);
    NvdaBraille(text);
}
