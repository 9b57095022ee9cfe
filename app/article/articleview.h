// Showing what opening an article gave (retrieval/article.h): the text in the body view and
// its page store slot, the depth, the page address and title, the links as the next level of
// related links; a failure is announced, or the browser offered.
#pragma once

struct ArticleResult;

// Opens the article of the selected headline, or the player for an entry of a radio category.
// Returns 1 when a text was shown or the player has been closed, 0 when nothing is selected,
// the page could not be received (announced) or holds no body (the browser is offered).
int OpenSelectedArticle();

// True when the entries of the category received open the player instead of a text.
bool CategoryPlaysRadio();

// The same as a recording renders it (no browser question, the headline first when the
// recording options say so, no player). Returns 1 when the text was shown.
int OpenSelectedArticleForRecording();

// Shows text as the page of depth 1..30: the body view, the page store slot, PageDepth.
void ShowPageText(int depth, const char* text);
