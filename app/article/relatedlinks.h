// The chain of related pages behind an article: the link list of the page shown, opening a
// link as news, as full text or in the browser, and receiving a page one level deeper.
// Level L's links belong to the page of depth L; the page store holds depths 1 to 30, so a
// link is followed only from a depth below 30.
#pragma once

// Shows the link list of the page shown and opens the chosen link. fromCommand: the link-list
// command (announces an empty list; an RSS category's links join the portal's host), else the
// forward command. Returns 1 when a page was shown one level deeper.
int OpenRelatedLink(bool fromCommand);

// Receives address (page address PageDepth) and shows it one level deeper, with the
// category's related-page markers or as full text. Returns 1 when it was shown; a page that
// cannot be received leaves everything as it was ("受信エラー" box), and at the deepest level
// nothing is received (announced).
int ShowRelatedPage(const char* address, bool useMarkers);

// Receives the page shown (related page depth PageDepth - 1) again and shows it one level
// deeper, as the reload command does. Returns 1 when it was shown.
int ReloadRelatedPage();
