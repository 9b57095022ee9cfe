// Copies to the clipboard: the page address, and the page title with the address.
#pragma once
#include <windows.h>

// Puts the text on the clipboard as CF_TEXT; 1, or 0 when the clipboard could not be opened or
// the text could not be handed over.
int CopyToClipboard(HWND owner, const char* text);

bool CopyPageAddress();          // 546
bool CopyPageTitleAndAddress();  // 547
