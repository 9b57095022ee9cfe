// The reading-position commands of the body view and the commands on its text: position, line
// and part of a line, line and character counts, word wrap, select all and copy.
//
// The command table lets these commands through only with the focus outside both lists (word
// wrap in any focus); they act on the body view.
#pragma once
#include <windows.h>

#include <string>

// The caret of the body view as a full 32-bit character position.
long BodyCaret();
// Puts the caret of the body view at the character position, with an empty selection.
void SetBodyCaret(long position);
// The whole text of the body view as Shift-JIS bytes.
std::string BodyText();

// "%d行%d列" for the caret of the body view (100 ms).
void AnnouncePosition();
// Kind 0 the line count ("%d行"), kind 1 the character count in UTF-16 units ("%d文字").
void AnnounceCount(int kind);

bool ReadCaretLine();           // 584
bool ReadLineToCaret();         // 585
bool ReadLineFromCaret();       // 586
bool AnnounceLineCount();       // 588
bool AnnounceCharacterCount();  // 589
bool ToggleWordWrap();          // 520
bool SelectAllBody();           // 511
bool CopyBodySelection();       // 512
