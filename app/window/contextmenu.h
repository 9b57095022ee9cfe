// The context menus: the Applications key opens the popup of the focused view, Ctrl+F8 the
// folder popup of the scrapbook folder list. A chosen item arrives as its command.
#pragma once

bool OpenContextMenu();  // 571
bool OpenFolderMenu();   // 539
