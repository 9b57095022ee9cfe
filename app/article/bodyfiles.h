// The body text handed to the default editor (Ctrl+E) or saved under a chosen name
// (Ctrl+Shift+S).
#pragma once

// The path last chosen in the save dialog; the dialog opens with it again.
extern char SaveAsPath[261];

bool OpenBodyInEditor();  // 505
bool SaveBodyAs();        // 506
