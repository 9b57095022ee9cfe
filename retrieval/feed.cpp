// Reading news feeds and finding them in pages.
//
// One forward scan over the text (the markup scanner of feed_markup.cpp) gives start tags, end
// tags, text and CDATA; the readers on top of it keep only the few elements they need. Nothing is
// ever searched twice: a '<' without its '>' or a quote without its partner ends that search for
// the rest of the text, so sloppy or hostile input stays linear.
#include "retrieval/feed.h"

#include <cstring>

#include "retrieval/charrefs.h"
#include "retrieval/feed_markup.h"
#include "retrieval/sjis.h"

namespace {

bool StartsWithNoCase(const char* s, std::size_t n, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= n || AsciiLower(s[i]) != prefix[i]) return false;
    }
    return true;
}

bool IsAsciiSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// ---- encoding ---------------------------------------------------------------------------

// The encoding a charset label names; false for a label we do not know.
bool EncodingOfLabel(const char* s, std::size_t n, FeedEncoding* encoding) {
    while (n > 0 && (IsAsciiSpace(*s) || *s == '"' || *s == '\'')) ++s, --n;
    std::size_t len = 0;
    char label[24];
    while (len < n && len + 1 < sizeof label && s[len] != '"' && s[len] != '\'' && s[len] != ';' &&
           s[len] != '>' && s[len] != '/' && !IsAsciiSpace(s[len])) {
        label[len] = AsciiLower(s[len]);
        ++len;
    }
    label[len] = '\0';
    static const char* const ShiftJisLabels[] = {"shift_jis", "shift-jis", "sjis", "x-sjis",
                                                 "windows-31j", "cp932", "ms_kanji", "csshiftjis",
                                                 "ms932", "x-ms-cp932"};
    static const char* const EucJpLabels[] = {"euc-jp", "euc_jp", "eucjp", "x-euc-jp",
                                              "cseucpkdfmtjapanese"};
    static const char* const Utf8Labels[] = {"utf-8", "utf8", "unicode-1-1-utf-8"};
    for (const char* l : ShiftJisLabels)
        if (std::strcmp(label, l) == 0) return *encoding = FeedEncoding::ShiftJis, true;
    for (const char* l : EucJpLabels)
        if (std::strcmp(label, l) == 0) return *encoding = FeedEncoding::EucJp, true;
    for (const char* l : Utf8Labels)
        if (std::strcmp(label, l) == 0) return *encoding = FeedEncoding::Utf8, true;
    return false;
}

// The label after the first `key` (lowercase) in s[0..n), as EncodingOfLabel reads it.
bool EncodingAfter(const char* s, std::size_t n, const char* key, FeedEncoding* encoding) {
    const std::size_t keyLength = std::strlen(key);
    for (std::size_t i = 0; i + keyLength <= n; ++i) {
        if (StartsWithNoCase(s + i, n - i, key)) {
            std::size_t j = i + keyLength;
            while (j < n && IsAsciiSpace(s[j])) ++j;
            if (j < n && s[j] == '=') {
                ++j;
                while (j < n && IsAsciiSpace(s[j])) ++j;
                return EncodingOfLabel(s + j, n - j, encoding);
            }
        }
    }
    return false;
}

// Whether all of s[0..n) is well-formed UTF-8 with at least one character beyond ASCII.
bool IsUtf8BeyondAscii(const unsigned char* s, std::size_t n) {
    bool beyond = false;
    std::size_t i = 0;
    while (i < n) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra;
        unsigned long min;
        if (c >= 0xC2 && c <= 0xDF) extra = 1, min = 0x80;
        else if (c >= 0xE0 && c <= 0xEF) extra = 2, min = 0x800;
        else if (c >= 0xF0 && c <= 0xF4) extra = 3, min = 0x10000;
        else return false;
        if (i + extra >= n) return false;
        unsigned long cp = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            if ((s[i + k] & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        beyond = true;
        i += extra + 1;
    }
    return beyond;
}

// ---- text --------------------------------------------------------------------------------

// The Shift-JIS form of the few characters beyond ASCII that feeds write as references after
// the conversion has been made (references inside escaped markup); 0 for the others.
unsigned ShiftJisOf(unsigned long c) {
    if (c >= 0x3041 && c <= 0x3093) return 0x829F + static_cast<unsigned>(c - 0x3041);
    if (c >= 0x30A1 && c <= 0x30F6) {
        unsigned code = 0x8340 + static_cast<unsigned>(c - 0x30A1);
        return code >= 0x837F ? code + 1 : code;  // the code page skips 0x837F
    }
    switch (c) {
    case 0x3000: return 0x8140;
    case 0x3001: return 0x8141;
    case 0x3002: return 0x8142;
    case 0x30FB: return 0x8145;
    case 0x00B7: return 0x8145;
    case 0x300C: return 0x8175;
    case 0x300D: return 0x8176;
    case 0x2018: return 0x8165;
    case 0x2019: return 0x8166;
    case 0x201C: return 0x8167;
    case 0x201D: return 0x8168;
    case 0x2026: return 0x8163;
    case 0x00D7: return 0x817E;
    case 0x00F7: return 0x8180;
    case 0x00B0: return 0x818B;
    case 0x2192: return 0x81A8;
    case 0x2190: return 0x81A9;
    case 0x2191: return 0x81AA;
    case 0x2193: return 0x81AB;
    default: return 0;
    }
}

}  // namespace

void AppendDecoded(std::string* out, const char* s, std::size_t n, std::size_t limit) {
    std::size_t i = 0;
    while (i < n && out->size() < limit) {
        const char* amp = static_cast<const char*>(std::memchr(s + i, '&', n - i));
        const std::size_t plainEnd = amp ? static_cast<std::size_t>(amp - s) : n;
        const std::size_t room = limit - out->size();
        out->append(s + i, plainEnd - i < room ? plainEnd - i : room);
        i = plainEnd;
        if (i >= n || out->size() >= limit) break;
        unsigned long cp = 0;
        const std::size_t used = ReadReference(s + i, n - i, &cp);
        if (used == 0) {
            out->push_back('&');  // a stray '&' is text
            ++i;
            continue;
        }
        i += used;
        if (cp == 0 || cp == 0x7F) continue;
        if (cp < 0x20) {
            out->push_back(' ');
        } else if (cp < 0x7F) {
            out->push_back(static_cast<char>(cp));
        } else if (cp == 0xA0 || (cp >= 0x2000 && cp <= 0x200A)) {
            out->push_back(' ');
        } else if (const unsigned code = ShiftJisOf(cp)) {
            out->push_back(static_cast<char>(code >> 8));
            out->push_back(static_cast<char>(code & 0xFF));
        } else {
            out->append(SjisStandIn);
        }
    }
}

std::string CleanFeedText(const char* s, std::size_t n, std::size_t limit, bool markup) {
    // Tags out (a line break or block becomes a space), references decoded, whitespace and
    // control characters collapsed to single spaces, cut to the limit on a character boundary.
    std::string decoded;
    decoded.reserve(n < 4 * limit ? n : 4 * limit);
    std::size_t i = 0;
    bool noGt = false;
    const std::size_t work = 4 * limit + 16;  // enough to fill limit after collapsing
    if (!markup) decoded.assign(s, n < work ? n : work);
    while (markup && i < n && decoded.size() < work) {
        const char c = s[i];
        if (c == '<' && !noGt && i + 1 < n &&
            (IsNameStart(s[i + 1]) || s[i + 1] == '/' || s[i + 1] == '!')) {
            const char* gt = static_cast<const char*>(std::memchr(s + i, '>', n - i));
            if (!gt) {
                noGt = true;
            } else {
                decoded.push_back(' ');
                i = static_cast<std::size_t>(gt - s) + 1;
                continue;
            }
        }
        std::size_t j = i + 1;
        while (j < n && s[j] != '<' && j - i < 4096) ++j;
        AppendDecoded(&decoded, s + i, j - i, work);
        i = j;
    }
    std::string out;
    out.reserve(decoded.size() < limit ? decoded.size() : limit);
    bool space = false;
    for (std::size_t k = 0; k < decoded.size();) {
        const unsigned char c = static_cast<unsigned char>(decoded[k]);
        if (SjisIsLead(c)) {
            if (k + 1 >= decoded.size()) break;  // a lone lead byte at the end
            const unsigned char trail = static_cast<unsigned char>(decoded[k + 1]);
            if (trail < 0x40 || trail == 0x7F || trail > 0xFC) {
                ++k;  // not a character: the lead byte goes, the next byte is read on its own
                continue;
            }
            if (space && !out.empty()) out.push_back(' ');
            space = false;
            if (out.size() + 2 > limit) break;
            out.append(decoded, k, 2);
            k += 2;
            continue;
        }
        ++k;
        if (c <= 0x20 || c == 0x7F) {
            space = true;
            continue;
        }
        if (space && !out.empty()) out.push_back(' ');
        space = false;
        if (out.size() + 1 > limit) break;
        out.push_back(static_cast<char>(c));
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    return out;
}

std::string TrimmedAddressText(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= 0x20) ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= 0x20) --e;
    return s.substr(b, e - b);
}

// ---- addresses ---------------------------------------------------------------------------

namespace {

struct AddressParts {
    std::string scheme;     // "http" or "https"
    std::string authority;  // host[:port], userinfo kept as written
    std::string path;       // starts with '/' (or empty)
    std::string rest;       // "?query#fragment" as written
};

bool IsSchemeChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '-' || c == '.';
}

// The scheme of s (lowercase), or empty when s has none.
std::string SchemeOf(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size() && IsSchemeChar(s[i])) ++i;
    if (i == 0 || i >= s.size() || s[i] != ':') return std::string();
    const char first = AsciiLower(s[0]);
    if (first < 'a' || first > 'z') return std::string();
    std::string scheme;
    for (std::size_t k = 0; k < i; ++k) scheme.push_back(AsciiLower(s[k]));
    return scheme;
}

// Splits "//authority/path?query#fragment" (after the scheme's ':').
bool SplitHierarchical(const std::string& s, std::size_t from, AddressParts* parts) {
    if (s.compare(from, 2, "//") != 0) return false;
    std::size_t i = from + 2;
    std::size_t end = s.find_first_of("/?#", i);
    if (end == std::string::npos) end = s.size();
    std::string authority = s.substr(i, end - i);
    const std::size_t at = authority.rfind('@');
    const std::size_t hostStart = at == std::string::npos ? 0 : at + 1;
    for (std::size_t k = hostStart; k < authority.size(); ++k) authority[k] = AsciiLower(authority[k]);
    if (hostStart >= authority.size() || authority[hostStart] == ':') return false;  // no host
    parts->authority = authority;
    std::size_t restStart = s.find_first_of("?#", end);
    if (restStart == std::string::npos) restStart = s.size();
    parts->path = s.substr(end, restStart - end);
    parts->rest = s.substr(restStart);
    return true;
}

// RFC 3986's removal of "." and ".." segments.
std::string RemoveDotSegments(const std::string& path) {
    std::string out;
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t next = path.find('/', i + 1);
        if (next == std::string::npos) next = path.size();
        // path[i] is '/', the segment is path[i+1 .. next)
        const std::string segment = path.substr(i + 1, next - i - 1);
        const bool last = next == path.size();
        if (segment == ".") {
            if (last) out.push_back('/');
        } else if (segment == "..") {
            const std::size_t cut = out.rfind('/');
            out.erase(cut == std::string::npos ? 0 : cut);
            if (last) out.push_back('/');
        } else {
            out.push_back('/');
            out += segment;
        }
        i = next;
    }
    return out;
}

std::string Join(const AddressParts& p) {
    std::string path = p.path.empty() ? "/" : p.path;
    std::string s = p.scheme + "://" + p.authority + path + p.rest;
    if (s.size() > FeedAddressLimit) return std::string();
    for (char c : s) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) return std::string();
    }
    return s;
}

bool ParseAbsolute(const std::string& s, AddressParts* parts) {
    parts->scheme = SchemeOf(s);
    if (parts->scheme != "http" && parts->scheme != "https") return false;
    if (!SplitHierarchical(s, parts->scheme.size() + 1, parts)) return false;
    parts->path = RemoveDotSegments(parts->path);
    return true;
}

// Whether s is an absolute address that resolving leaves as it is: a lowercase http(s)
// scheme and host, a path with no "." segment, nothing to trim or escape. Most feed links are.
bool IsFinalAddress(const char* s) {
    std::size_t i;
    if (std::strncmp(s, "https://", 8) == 0) i = 8;
    else if (std::strncmp(s, "http://", 7) == 0) i = 7;
    else return false;
    const std::size_t hostStart = i;
    for (; s[i] != '\0' && s[i] != '/' && s[i] != '?' && s[i] != '#'; ++i) {
        const char c = s[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == ':')) return false;
    }
    if (i == hostStart || s[hostStart] == ':' || s[i] != '/') return false;
    bool inPath = true;
    for (; s[i] != '\0'; ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c <= 0x20 || c == 0x7F) return false;
        if (c == '?' || c == '#') inPath = false;
        if (inPath && c == '/' && s[i + 1] == '.') return false;
        if (i >= FeedAddressLimit) return false;
    }
    return true;
}

}  // namespace

std::string ResolveAddress(const char* base, const char* relative) {
    if (!relative) return std::string();
    if (IsFinalAddress(relative)) return relative;
    std::string r = relative;
    if (r.size() > 4 * FeedAddressLimit) return std::string();
    {
        // Surrounding whitespace goes; inner spaces are escaped as a browser does; line
        // breaks and tabs inside are dropped (they are wrapping, not part of the address).
        std::string trimmed = TrimmedAddressText(r);
        r.clear();
        for (char c : trimmed) {
            if (c == ' ') r += "%20";
            else if (c == '\r' || c == '\n' || c == '\t') continue;
            else r.push_back(c);
        }
    }
    AddressParts parts;
    const std::string scheme = SchemeOf(r);
    if (!scheme.empty()) {
        if (!ParseAbsolute(r, &parts)) return std::string();
        return Join(parts);
    }
    AddressParts b;
    if (!base || !ParseAbsolute(TrimmedAddressText(base), &b)) return std::string();
    if (r.compare(0, 2, "//") == 0) {
        if (!ParseAbsolute(b.scheme + ":" + r, &parts)) return std::string();
        return Join(parts);
    }
    parts.scheme = b.scheme;
    parts.authority = b.authority;
    if (r.empty() || r[0] == '#') {
        parts.path = b.path;
        const std::size_t hash = b.rest.find('#');
        parts.rest = b.rest.substr(0, hash) + r;
        return Join(parts);
    }
    std::size_t restStart = r.find_first_of("?#");
    if (restStart == std::string::npos) restStart = r.size();
    std::string path = r.substr(0, restStart);
    parts.rest = r.substr(restStart);
    if (path.empty()) {
        parts.path = b.path;  // "?query"
    } else if (path[0] == '/') {
        parts.path = RemoveDotSegments(path);
    } else {
        const std::string basePath = b.path.empty() ? "/" : b.path;
        parts.path = RemoveDotSegments(basePath.substr(0, basePath.rfind('/') + 1) + path);
    }
    return Join(parts);
}

bool IsAbsoluteWebAddress(const std::string& s) {
    const std::string scheme = SchemeOf(s);
    return (scheme == "http" || scheme == "https") && !ResolveAddress("", s.c_str()).empty();
}

// ---- encoding detection ------------------------------------------------------------------

FeedEncoding DetectFeedEncoding(const char* bytes, std::size_t length, const char* contentType) {
    const unsigned char* u = reinterpret_cast<const unsigned char*>(bytes);
    if (length >= 3 && u[0] == 0xEF && u[1] == 0xBB && u[2] == 0xBF) return FeedEncoding::Utf8;
    FeedEncoding declared = FeedEncoding::Utf8;
    bool found = false;
    // The prolog, or a page's meta charset, within the head of the text.
    std::size_t head = length < 4096 ? length : 4096;
    std::size_t i = 0;
    while (i < head && IsAsciiSpace(bytes[i])) ++i;
    if (StartsWithNoCase(bytes + i, head - i, "<?xml")) {
        const char* close = static_cast<const char*>(std::memchr(bytes + i, '>', head - i));
        const std::size_t end = close ? static_cast<std::size_t>(close - bytes) : head;
        found = EncodingAfter(bytes + i, end - i, "encoding", &declared);
    }
    if (!found) {
        // <meta charset="..."> and <meta http-equiv="Content-Type" content="...; charset=...">
        for (std::size_t k = 0; k + 5 < head && !found; ++k) {
            if (bytes[k] == '<' && StartsWithNoCase(bytes + k + 1, head - k - 1, "meta")) {
                const char* close = static_cast<const char*>(std::memchr(bytes + k, '>', head - k));
                const std::size_t end = close ? static_cast<std::size_t>(close - bytes) : head;
                found = EncodingAfter(bytes + k, end - k, "charset", &declared);
                k = end;
            }
        }
    }
    if (!found && contentType) found = EncodingAfter(contentType, std::strlen(contentType), "charset", &declared);
    if (!found) return FeedEncoding::Utf8;
    if (declared != FeedEncoding::Utf8 && IsUtf8BeyondAscii(u, length)) return FeedEncoding::Utf8;
    return declared;
}

// ---- feeds -------------------------------------------------------------------------------

namespace {

// The elements the reader acts on, by local name.
enum class El { Other, Item, Entry, Title, Link, Guid, Id, Image, TextInput, Source, Channel,
                Root, Break, Structural };

struct ElementName {
    El el = El::Other;
    bool plain = false;  // no prefix, or the Atom prefix some RSS feeds use
};

ElementName Classify(const MarkupToken& t) {
    // Names whose tags end any text being read, closed or not (El::Structural and the named
    // ones above it): a feed that forgets a </title> loses that title's end, never the items
    // after it.
    struct Entry {
        const char* name;
        std::size_t length;
        El el;
    };
    static const Entry Names[] = {
        {"item", 4, El::Item},           {"entry", 5, El::Entry},         {"title", 5, El::Title},
        {"link", 4, El::Link},           {"guid", 4, El::Guid},           {"id", 2, El::Id},
        {"image", 5, El::Image},         {"textinput", 9, El::TextInput}, {"source", 6, El::Source},
        {"channel", 7, El::Channel},     {"rss", 3, El::Root},            {"feed", 4, El::Root},
        {"RDF", 3, El::Root},            {"br", 2, El::Break},            {"p", 1, El::Break},
        {"div", 3, El::Break},           {"li", 2, El::Break},            {"description", 11, El::Structural},
        {"summary", 7, El::Structural},  {"content", 7, El::Structural},  {"encoded", 7, El::Structural},
        {"pubDate", 7, El::Structural},  {"date", 4, El::Structural},     {"updated", 7, El::Structural},
        {"published", 9, El::Structural}, {"author", 6, El::Structural},  {"category", 8, El::Structural},
        {"creator", 7, El::Structural},  {"subject", 7, El::Structural},  {"comments", 8, El::Structural},
        {"enclosure", 9, El::Structural}};
    std::size_t start = t.nameLength;
    while (start > 0 && t.name[start - 1] != ':') --start;
    const char* local = t.name + start;
    const std::size_t length = t.nameLength - start;
    ElementName out;
    for (const Entry& e : Names) {
        if (e.length == length && NameEquals(local, length, e.name)) {
            out.el = e.el;
            break;
        }
    }
    out.plain = start == 0 || (start == 5 && NameEquals(t.name, 4, "atom"));
    return out;
}

bool IsStructural(El el) { return el != El::Other && el != El::Break; }

enum class Field { None, ChannelTitle, Title, Link, Guid, Id };

constexpr std::size_t TitleWork = 16 * 1024;  // raw title text kept before cleaning

struct ItemReader {
    std::string title, link, guid, id, about, alternate;
    bool haveTitle = false, haveLink = false, haveGuid = false, haveId = false;
    std::string base;
};

}  // namespace

ParsedFeed ParseFeed(const char* text, std::size_t length, const char* feedAddress,
                     std::size_t maxItems) {
    ParsedFeed feed;
    if (!text) return feed;
    MarkupScanner scanner(text, length, false);
    MarkupToken t;
    while (scanner.Next(&t) && t.kind != MarkupKind::Start) {
    }
    if (t.kind != MarkupKind::Start || Classify(t).el != El::Root)
        return feed;
    feed.isFeed = true;
    std::string base = feedAddress ? feedAddress : "";
    std::string attr;
    if (FindAttribute(t, "xml:base", &attr)) {
        const std::string b = ResolveAddress(base.c_str(), attr.c_str());
        if (!b.empty()) base = b;
    }
    if (maxItems == 0) return feed;

    bool inItem = false;
    int nested = 0;  // inside <image>, <textinput> or an entry's <source>: their titles are not ours
    bool haveChannelTitle = false;
    Field field = Field::None;
    std::string buffer;
    ItemReader item;

    auto finishField = [&]() {
        switch (field) {
        case Field::ChannelTitle:
            feed.title = CleanFeedText(buffer.data(), buffer.size(), FeedTitleLimit);
            haveChannelTitle = true;
            break;
        case Field::Title:
            item.title = CleanFeedText(buffer.data(), buffer.size(), FeedTitleLimit);
            item.haveTitle = true;
            break;
        case Field::Link:
            item.link = TrimmedAddressText(buffer);
            item.haveLink = true;
            break;
        case Field::Guid:
            item.guid = TrimmedAddressText(buffer);
            item.haveGuid = true;
            break;
        case Field::Id:
            item.id = TrimmedAddressText(buffer);
            item.haveId = true;
            break;
        case Field::None: break;
        }
        field = Field::None;
        buffer.clear();
    };
    // true when the list is full
    auto finishItem = [&]() -> bool {
        finishField();
        inItem = false;
        nested = 0;
        std::string address;
        if (!item.alternate.empty()) address = ResolveAddress(item.base.c_str(), item.alternate.c_str());
        if (address.empty() && !item.link.empty())
            address = ResolveAddress(item.base.c_str(), item.link.c_str());
        // Identifiers only count as addresses when they are absolute web addresses already.
        for (const std::string* candidate : {&item.guid, &item.id, &item.about}) {
            if (!address.empty()) break;
            if (IsAbsoluteWebAddress(*candidate)) address = ResolveAddress("", candidate->c_str());
        }
        if (!address.empty()) {
            FeedItem out;
            out.title = item.title.empty()
                            ? CleanFeedText(address.data(), address.size(), FeedTitleLimit, false)
                            : item.title;
            out.address = address;
            const std::string& id = !item.guid.empty() ? item.guid : !item.id.empty() ? item.id
                                  : !item.about.empty() ? item.about : address;
            // kept in the list of seen items: one line, whole characters
            out.id = CleanFeedText(id.data(), id.size(), FeedAddressLimit, false);
            if (out.id.empty()) out.id = address;
            feed.items.push_back(std::move(out));
        }
        item = ItemReader();
        return feed.items.size() >= maxItems;
    };
    auto bufferLimit = [&]() { return field == Field::Title || field == Field::ChannelTitle ? TitleWork : FeedAddressLimit * 2; };

    while (scanner.Next(&t)) {
        switch (t.kind) {
        case MarkupKind::Text:
            if (field != Field::None) AppendDecoded(&buffer, t.text, t.textLength, bufferLimit());
            break;
        case MarkupKind::CData:
            if (field != Field::None) {
                const std::size_t room = bufferLimit() > buffer.size() ? bufferLimit() - buffer.size() : 0;
                buffer.append(t.text, t.textLength < room ? t.textLength : room);
            }
            break;
        case MarkupKind::End: {
            const ElementName k = Classify(t);
            if (field != Field::None) {
                const El own = (field == Field::ChannelTitle || field == Field::Title) ? El::Title
                             : field == Field::Link ? El::Link
                             : field == Field::Guid ? El::Guid
                                                    : El::Id;
                if (k.el == own && k.plain) {
                    finishField();
                    break;
                }
                if (!IsStructural(k.el)) {
                    if (k.el == El::Break) buffer.push_back(' ');
                    break;
                }
                finishField();
            }
            if (inItem && (k.el == El::Item || k.el == El::Entry || k.el == El::Channel || k.el == El::Root)) {
                if (finishItem()) return feed;
            } else if (k.el == El::Image || k.el == El::TextInput || (inItem && k.el == El::Source)) {
                if (nested > 0) --nested;
            }
            break;
        }
        case MarkupKind::Start: {
            const ElementName k = Classify(t);
            if (field != Field::None) {
                if (!IsStructural(k.el)) {
                    if (k.el == El::Break) buffer.push_back(' ');
                    break;
                }
                finishField();
            }
            if (k.el == El::Item || k.el == El::Entry) {
                if (inItem && finishItem()) return feed;
                inItem = true;
                item.base = base;
                if (FindAttribute(t, "xml:base", &attr)) {
                    const std::string b = ResolveAddress(base.c_str(), attr.c_str());
                    if (!b.empty()) item.base = b;
                }
                if (FindAttribute(t, "rdf:about", &attr) || FindAttribute(t, "about", &attr))
                    item.about = TrimmedAddressText(attr);
                if (t.selfClosing && finishItem()) return feed;
                break;
            }
            if (k.el == El::Image || k.el == El::TextInput || (inItem && k.el == El::Source)) {
                if (!t.selfClosing) ++nested;
                break;
            }
            if (nested > 0) break;
            if (!inItem) {
                if (!haveChannelTitle && k.el == El::Title && k.plain && !t.selfClosing) field = Field::ChannelTitle;
                break;
            }
            if (!k.plain) break;
            if (k.el == El::Title) {
                if (!item.haveTitle && !t.selfClosing) field = Field::Title;
            } else if (k.el == El::Link) {
                if (FindAttribute(t, "href", &attr)) {
                    std::string rel;
                    const bool hasRel = FindAttribute(t, "rel", &rel);
                    if (item.alternate.empty() && (!hasRel || NameEquals(rel.data(), rel.size(), "alternate")))
                        item.alternate = TrimmedAddressText(attr);
                } else if (!item.haveLink && !t.selfClosing) {
                    field = Field::Link;
                }
            } else if (k.el == El::Guid) {
                if (!item.haveGuid && !t.selfClosing) field = Field::Guid;
            } else if (k.el == El::Id) {
                if (!item.haveId && !t.selfClosing) field = Field::Id;
            }
            break;
        }
        }
    }
    if (inItem) finishItem();
    return feed;
}

// ---- feed links in pages -----------------------------------------------------------------

namespace {

bool HasToken(const std::string& list, const char* token) {
    const std::size_t n = std::strlen(token);
    std::size_t i = 0;
    while (i < list.size()) {
        while (i < list.size() && IsAsciiSpace(list[i])) ++i;
        std::size_t j = i;
        while (j < list.size() && !IsAsciiSpace(list[j])) ++j;
        if (j - i == n && NameEquals(list.data() + i, n, token)) return true;
        i = j;
    }
    return false;
}

bool IsFeedType(const std::string& type) {
    std::string t = TrimmedAddressText(type);
    const std::size_t semicolon = t.find(';');
    if (semicolon != std::string::npos) t = TrimmedAddressText(t.substr(0, semicolon));
    return NameEquals(t.data(), t.size(), "application/rss+xml") ||
           NameEquals(t.data(), t.size(), "application/atom+xml");
}

}  // namespace

std::vector<FeedLink> FindFeedLinks(const char* html, std::size_t length, const char* pageAddress) {
    std::vector<FeedLink> links;
    if (!html) return links;
    std::string base = pageAddress ? pageAddress : "";
    bool baseSeen = false;
    MarkupScanner scanner(html, length, true);
    MarkupToken t;
    std::string rel, type, href, title;
    constexpr std::size_t MaxLinks = 100;
    while (scanner.Next(&t) && links.size() < MaxLinks) {
        if (t.kind != MarkupKind::Start) continue;
        if (!baseSeen && NameEquals(t.name, t.nameLength, "base") && FindAttribute(t, "href", &href)) {
            baseSeen = true;
            const std::string b = ResolveAddress(base.c_str(), href.c_str());
            if (!b.empty()) base = b;
            continue;
        }
        if (!NameEquals(t.name, t.nameLength, "link")) continue;
        if (!FindAttribute(t, "rel", &rel) || !HasToken(rel, "alternate")) continue;
        if (!FindAttribute(t, "type", &type) || !IsFeedType(type)) continue;
        if (!FindAttribute(t, "href", &href)) continue;
        FeedLink link;
        link.address = ResolveAddress(base.c_str(), href.c_str());
        if (link.address.empty()) continue;
        bool duplicate = false;
        for (const FeedLink& l : links) duplicate = duplicate || l.address == link.address;
        if (duplicate) continue;
        if (FindAttribute(t, "title", &title))
            link.title = CleanFeedText(title.data(), title.size(), FeedTitleLimit, false);
        links.push_back(std::move(link));
    }
    return links;
}

// ---- EUC-JP ------------------------------------------------------------------------------

std::string EucJpToShiftJis(const char* bytes, std::size_t length) {
    std::string out;
    out.reserve(length);
    const unsigned char* s = reinterpret_cast<const unsigned char*>(bytes);
    std::size_t i = 0;
    auto inRow = [](unsigned char c) { return c >= 0xA1 && c <= 0xFE; };
    while (i < length) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
        } else if (c == 0x8E && i + 1 < length && s[i + 1] >= 0xA1 && s[i + 1] <= 0xDF) {
            out.push_back(static_cast<char>(s[i + 1]));  // half-width katakana
            i += 2;
        } else if (c == 0x8F && i + 2 < length && inRow(s[i + 1]) && inRow(s[i + 2])) {
            out.append(SjisStandIn);  // JIS X 0212: no Shift-JIS form
            i += 3;
        } else if (inRow(c) && i + 1 < length && inRow(s[i + 1])) {
            const unsigned j1 = c - 0x80u, j2 = s[i + 1] - 0x80u;
            if (j1 > 0x74) {
                out.append(SjisStandIn);  // rows JIS X 0208 leaves unassigned
            } else {
                const unsigned s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
                const unsigned s2 = j2 + ((j1 & 1) ? (j2 < 0x60 ? 0x1F : 0x20) : 0x7E);
                out.push_back(static_cast<char>(s1));
                out.push_back(static_cast<char>(s2));
            }
            i += 2;
        } else {
            out.append(SjisStandIn);
            ++i;
        }
    }
    return out;
}
