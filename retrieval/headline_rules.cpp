#include "retrieval/headline_rules.h"

#include <cstring>

#include "retrieval/sjis.h"
#include "retrieval/sources.h"
#include "retrieval/textcut.h"

namespace {

const char* const ImageStart = "<img src=\"";

bool Is(const char* parameter, const char* value) { return std::strcmp(parameter, value) == 0; }

bool StartsWith(const char* text, const char* prefix) {
    return std::strncmp(text, prefix, std::strlen(prefix)) == 0;
}

// One item at *position into the scratch fields; 1 when a whole item was found.
int ExtractItem(const char* area, const CategoryParameterSet& parameters, ListPage page, char* title,
                char* address, int* position) {
    const char* source = CategoryParameter(parameters, 2);
    const char* m1 = CategoryParameter(parameters, 6);
    const char* m2 = CategoryParameter(parameters, 7);
    const char* m3 = CategoryParameter(parameters, 17);
    const char* m4 = CategoryParameter(parameters, 18);
    if (page == ListPage::First && Is(source, "rss"))
        return ExtractFieldPair(
            area, title, HeadlineFieldScratch, address, HeadlineFieldScratch, m3, m4, m1, m2, position);
    if (IsSource(source, SourceYahooNews))
        return ExtractFieldPair(
            area, address, HeadlineFieldScratch, title, HeadlineFieldScratch, m1, m2, m3, m4, position);
    return ExtractLink(area, address, HeadlineFieldScratch, title, HeadlineFieldScratch, m1, m2, position);
}

void Delete(char* text, std::size_t capacity, const char* searched) {
    ReplaceAll(text, capacity, searched, "");
}

// The cuts every page shares: the title span, the ends of the usual wrappers, the image's
// alternative text, then the tags.
void CutWrappers(char* title) {
    CutBetween(title, "<span class=\"title\">", "<span class=\"new\">");
    CutBetween(title, MarkerNone, "</span>");
    CutBetween(title, MarkerNone, "</h2>");
    CutBetween(title, MarkerNone, "&nbsp;");
    CutBetween(title, "alt=\"", MarkerNone);
    CutBetween(title, MarkerNone, "</A");
    CutBetween(title, MarkerNone, "</dt>");
    StripTags(title);
}

// What a tag cut in half can leave behind.
void CutLeftovers(char* title) {
    CutBetween(title, MarkerNone, "<img");
    CutBetween(title, MarkerNone, "</span");
    CutBetween(title, "alt=\"", "\" ");
    RemoveSpan(title, "\"class", ">");
}

void CleanFirstPageTitle(char* title, std::size_t capacity, const CategoryParameterSet& parameters) {
    const char* source = CategoryParameter(parameters, 2);
    Delete(title, capacity, "&quot;");
    Delete(title, capacity, "\t");
    if (IsSource(source, SourceAllAbout)) CutBetween(title, "parts-common-listItemTitle\">", "</p>");
    if (Is(CategoryParameter(parameters, 5), "<div class=\"lnav\">")) {
        Delete(title, capacity, "\t");
        Delete(title, capacity, "\r");
    }
    if (IsSource(source, SourceNikkanGendai)) CutBetween(title, "<span class=\"entry-ttl\">", "</span>");
    if (IsSource(source, SourceNatalie)) CutBetween(title, "<dt class=\"NA_title\">", "</dt>");
    CutWrappers(title);
    Delete(title, capacity, "  ");
    Delete(title, capacity, " ");
    Delete(title, capacity, "\">");
    Delete(title, capacity, "\r\n");
    Delete(title, capacity, "\n");
    ReplaceAll(title, capacity, ":", "：");
    CutLeftovers(title);
}

void CleanSecondPageTitle(char* title, std::size_t capacity) {
    CutWrappers(title);
    Delete(title, capacity, "&quot;");
    Delete(title, capacity, "  ");
    Delete(title, capacity, " ");
    Delete(title, capacity, "\">");
    Delete(title, capacity, "\n");
    ReplaceAll(title, capacity, ":", "：");
    CutLeftovers(title);
}

void Store(char* destination, std::size_t capacity, const char* field) {
    SjisCopyCut(destination, capacity, field, std::strlen(field));
}

}  // namespace

void CleanHeadlineAddress(char* address, std::size_t, const CategoryParameterSet& parameters, ListPage page) {
    if (page == ListPage::First && IsSource(CategoryParameter(parameters, 2), SourceSankei))
        CutBetween(address, MarkerNone, "\"><");
    CutBetween(address, "href=\"", MarkerNone);
    CutBetween(address, "./", MarkerNone);
    CutBetween(address, MarkerNone, "\"");
    StripTags(address);
}

void CleanHeadlineTitle(char* title, std::size_t capacity, const CategoryParameterSet& parameters,
                        ListPage page) {
    if (page == ListPage::First)
        CleanFirstPageTitle(title, capacity, parameters);
    else
        CleanSecondPageTitle(title, capacity);
}

bool IsImageOnlyItem(const char* rawTitle, const char* cleanedTitle) {
    if (StartsWith(cleanedTitle, ImageStart)) return true;
    return cleanedTitle[0] == '\0' && StartsWith(rawTitle, ImageStart);
}

int CutHeadlines(const char* area, const CategoryParameterSet& parameters, ListPage page, int firstSlot,
                 int limit, char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity],
                 HeadlineSink sink, void* context) {
    if (!area) return firstSlot < 0 ? 0 : firstSlot;
    if (limit > HeadlinesPerLevel) limit = HeadlinesPerLevel;
    char raw[HeadlineFieldScratch];
    char title[HeadlineFieldScratch];
    char address[HeadlineFieldScratch];
    // Each search starts where the last item ended: the extractors are called on the rest of
    // the area from there, so that no call goes over the part already cut.
    const char* rest = area;
    int slot = firstSlot < 0 ? 0 : firstSlot;
    while (slot < limit) {
        int position = 0;
        if (!ExtractItem(rest, parameters, page, raw, address, &position)) break;
        rest += position;
        std::memcpy(title, raw, std::strlen(raw) + 1);
        CleanHeadlineAddress(address, sizeof address, parameters, page);
        CleanHeadlineTitle(title, sizeof title, parameters, page);
        if (IsImageOnlyItem(raw, title)) {
            if (position <= 0) break;  // the same item again and again
            continue;
        }
        Store(titles[slot], TitleCapacity, title);
        Store(addresses[slot], AddressCapacity, address);
        ++slot;
        if (sink && !sink(slot - 1, context)) break;
    }
    return slot;
}

int CutRadioList(const char* area, const CategoryParameterSet& parameters, int limit,
                 char (*titles)[TitleCapacity], char (*addresses)[AddressCapacity], HeadlineSink sink,
                 void* context) {
    if (!area) return 0;
    if (limit > HeadlinesPerLevel) limit = HeadlinesPerLevel;
    const char* rest = area;
    int slot = 0;
    int position = 0;
    while (slot < limit && ExtractMediaFields(rest,
                                              titles[slot],
                                              TitleCapacity,
                                              addresses[slot],
                                              AddressCapacity,
                                              CategoryParameter(parameters, 8),
                                              CategoryParameter(parameters, 9),
                                              CategoryParameter(parameters, 6),
                                              CategoryParameter(parameters, 7),
                                              &position)) {
        rest += position;
        position = 0;
        ++slot;
        if (sink && !sink(slot - 1, context)) break;
    }
    return slot;
}
