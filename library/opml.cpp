// Reading and writing OPML lists of feeds.
#include "library/opml.h"

#include "retrieval/feed.h"
#include "retrieval/feed_markup.h"

std::vector<OpmlFeed> ReadOpml(const char* text, std::size_t length) {
    std::vector<OpmlFeed> feeds;
    if (!text) return feeds;
    MarkupScanner scanner(text, length, false);
    MarkupToken t;
    std::string value;
    constexpr std::size_t MaxFeeds = 10000;  // far beyond any list the program keeps
    while (scanner.Next(&t) && feeds.size() < MaxFeeds) {
        if (t.kind != MarkupKind::Start || !NameEquals(t.name, t.nameLength, "outline")) continue;
        if (!FindAttribute(t, "xmlUrl", &value)) continue;
        OpmlFeed feed;
        feed.address = ResolveAddress("", TrimmedAddressText(value).c_str());
        if (feed.address.empty()) continue;
        if ((FindAttribute(t, "title", &value) || FindAttribute(t, "text", &value)))
            feed.title = CleanFeedText(value.data(), value.size(), FeedTitleLimit, false);
        if (feed.title.empty() && FindAttribute(t, "text", &value))
            feed.title = CleanFeedText(value.data(), value.size(), FeedTitleLimit, false);
        if (feed.title.empty())
            feed.title = CleanFeedText(feed.address.data(), feed.address.size(), FeedTitleLimit, false);
        feeds.push_back(std::move(feed));
    }
    return feeds;
}

namespace {

// Text for an attribute or element: markup characters escaped, control characters (which
// XML 1.0 does not allow) as spaces.
void AppendEscaped(std::string* out, const std::string& s) {
    for (char c : s) {
        switch (c) {
        case '&': *out += "&amp;"; break;
        case '<': *out += "&lt;"; break;
        case '>': *out += "&gt;"; break;
        case '"': *out += "&quot;"; break;
        case '\'': *out += "&apos;"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) out->push_back(' ');
            else out->push_back(c);
        }
    }
}

}  // namespace

std::string WriteOpml(const std::vector<OpmlFeed>& feeds, const char* title) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<opml version=\"2.0\">\r\n<head>\r\n<title>";
    AppendEscaped(&out, title ? title : "");
    out += "</title>\r\n</head>\r\n<body>\r\n";
    for (const OpmlFeed& feed : feeds) {
        out += "<outline type=\"rss\" text=\"";
        AppendEscaped(&out, feed.title);
        out += "\" title=\"";
        AppendEscaped(&out, feed.title);
        out += "\" xmlUrl=\"";
        AppendEscaped(&out, feed.address);
        out += "\"/>\r\n";
    }
    out += "</body>\r\n</opml>\r\n";
    return out;
}
