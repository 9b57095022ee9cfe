// Finding text in the body view and in the two lists: the find dialog, F3 and Shift+F3.
#pragma once
#include "app/article/findtext.h"

// The search text, kept for the whole run and shown again in the find dialog.
extern char FindText[FindTextCapacity];
// The view searched: 0 the menu list, 1 the headline list, 2 the body view.
extern int FindTarget;

bool FindWithDialog();  // 513: the find dialog, then a search forward
bool FindNext();        // 514: forward again; the find dialog first when no search text is kept
bool FindPrevious();    // 515: backward; nothing when no search text is kept
