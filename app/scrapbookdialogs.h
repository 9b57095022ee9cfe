// The scrapbook commands: saving the shown article, editing, moving and deleting saved ones,
// and the folder menu with adding, renaming and deleting folders. Each returns false when it
// is refused in the focus or state at hand.
#pragma once

bool SaveToScrapbook();      // 531
bool DeleteScrapArticle();   // 533
bool EditScrapArticle();     // 537
bool MoveScrapArticle();     // 538
bool ShowScrapFolderMenu();  // 539
bool NewScrapFolder();       // 541
bool RenameScrapFolder();    // 542
bool DeleteScrapFolder();    // 543
