// The installed SAPI voices, in SAPI's order: enumeration, descriptions and the voice list of
// a combo box. Needs COM on the calling thread.
#pragma once
#include <windows.h>
#include <sapi.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

// The voice description buffer: 260 UTF-16 units.
constexpr int VoiceDescriptionCapacity = 260;

// The token of the voice at position index, or null when there is none.
ComPtr<ISpObjectToken> VoiceTokenAt(int index);

// The description of a voice for the user-interface language languageId: its MUI
// "Description", else its value named after the language, else its default value, else the
// last part of its identifier. Always terminated.
void VoiceDescription(ISpObjectToken* token, LANGID languageId, wchar_t* buffer, int capacity);

// Adds every voice's description to comboBox, with the voice index as item data, and selects
// the first added. A voice the combo box refuses is skipped; the list stays empty when the
// voices cannot be enumerated.
void FillVoiceComboBox(HWND comboBox);
