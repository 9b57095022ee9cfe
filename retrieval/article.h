// Opening an article: downloading the page of a headline, cutting and cleaning its text,
// collecting its links as the next level of related links and following its continuation
// pages. The result is data only: app/ shows the text, offers the browser, fills the page
// store and sets the depth. The calls block while they download.
#pragma once

#include <string>

#include "retrieval/headline_rules.h"
#include "retrieval/headlines.h"

// The headline to open and the category it belongs to.
struct ArticleRequest {
    const char* headlineTitle;  // the headline as listed; the page title is made from it
    char* headlineAddress;      // as cut from the list; its "../" are resolved in place
    const CategoryParameterSet* parameters;
};

enum class ArticleFailure {
    None,
    Radio,        // a radio entry: no page to receive (the player's business)
    NotReceived,  // the page could not be downloaded
    NoBody,       // the page holds no body: the browser is the way to read it
};

// What opening an article gives. Large (its links take 640 kB): keep it on the heap.
struct ArticleResult {
    ArticleFailure failure = ArticleFailure::None;
    bool addressKnown = false;      // false only for a radio entry
    char address[AddressCapacity];  // the page address the headline was completed to
    std::string text;               // the text to show (Shift-JIS)
    bool titled = false;            // a page title was made (not for the forecast)
    char title[TitleCapacity];
    int linkCount = 0;  // the related links of the page, the next level of the chain
    char linkTitles[HeadlinesPerLevel][TitleCapacity];
    char linkAddresses[HeadlinesPerLevel][AddressCapacity];
};

// Downloads and extracts the article of the request into result (cleared first). Returns
// true when result.text is to be shown.
bool ReceiveArticle(const ArticleRequest& request, ArticleResult& result);

// The article as a recording renders it: no source rules, no browser, no continuation pages,
// and the headline as the first line when titleFirst. Returns true when result.text is to be
// shown; false only when the page could not be received.
bool ReceiveArticleForRecording(const ArticleRequest& request, bool titleFirst, ArticleResult& result);
