#include "retrieval/maintext.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "retrieval/charrefs.h"
#include "retrieval/sjis.h"

namespace {

// An element whose class, id or role says navigation, related articles and the like counts
// against its parent unless it holds at least this much prose (then it is not boilerplate,
// whatever its name).
constexpr long long VetoProse = 400;
constexpr std::size_t MaxDepth = 256;
constexpr std::size_t TagNameCapacity = 12;
// A text beside an image, shorter than this and without a sentence end, is its caption.
constexpr int CaptionCharacters = 100;
// Lines at the ends of the text shorter than this and without a sentence end are left out.
constexpr int EdgeLineCharacters = 40;

const char FullWidthLess[] = "\x81\x83";
const char FullWidthGreater[] = "\x81\x84";

enum BlockKind : std::uint8_t { KindText, KindTitle, KindHeading };

struct Block {
    std::size_t start = 0;   // in the compacted text
    std::size_t length = 0;  // bytes
    int chars = 0;           // characters without white space
    int linkChars = 0;
    int marks = 0;  // sentence ends
    BlockKind kind = KindText;
    bool image = false;  // an image stands in the block: a short text beside it is its caption
};

struct Best {
    long long score = 0;
    std::size_t first = 0, end = 0;
    bool valid = false;
};

struct Element {
    char name[TagNameCapacity] = {};
    bool hinted = false;
    bool hidden = false;  // hidden, or navigation by its very tag: never the article
    bool candidate = false;
    long long sum = 0;    // weights of the blocks inside
    long long prose = 0;  // the positive part
    long long chars = 0;
    std::size_t firstBlock = 0;
    Best best;
};

bool IsSpace(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }
bool IsAlpha(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool OneOf(const char* name, const char* const* list) {
    for (; *list; ++list)
        if (std::strcmp(name, *list) == 0) return true;
    return false;
}

const char* const InlineTags[] = {
    "a",   "span", "b",    "strong", "em",   "i",   "u",  "font",   "small", "big", "sub", "sup",   "ruby",
    "rb",  "abbr", "cite", "code",   "mark", "q",   "s",  "strike", "time",  "wbr", "img", "label", "bdi",
    "bdo", "var",  "kbd",  "samp",   "del",  "ins", "tt", "nobr",   "data",  "rt",  "rp",  nullptr};
const char* const VoidTags[] = {"area",
                                "base",
                                "br",
                                "col",
                                "embed",
                                "hr",
                                "img",
                                "input",
                                "link",
                                "meta",
                                "param",
                                "source",
                                "track",
                                "wbr",
                                "keygen",
                                nullptr};
// Elements whose content is not read: raw text up to their end tag.
const char* const SkippedTags[] = {"script",
                                   "style",
                                   "textarea",
                                   "title",
                                   "noscript",
                                   "template",
                                   "svg",
                                   "math",
                                   "select",
                                   "button",
                                   "iframe",
                                   "object",
                                   "video",
                                   "audio",
                                   "canvas",
                                   "xmp",
                                   "noembed",
                                   "noframes",
                                   nullptr};
// Elements that never hold the article, whatever their size.
const char* const BoilerplateTags[] = {"nav", "aside", "footer", "header", "menu", nullptr};
const char* const HintedTags[] = {"figcaption", nullptr};
const char* const ItemTags[] = {
    "p", "li", "dt", "dd", "h1", "h2", "h3", "h4", "h5", "h6", "tr", "td", "th", nullptr};
// Parts of class, id and role values that mark boilerplate.
const char* const HintWords[] = {
    "breadcrumb", "related",    "ranking",       "recommend",   "sidebar", "footer",  "comment",
    "banner",     "widget",     "paging",        "pagination",  "pager",   "caption", "copyright",
    "social",     "share",      "sns",           "navi",        "menu",    "popular", "promo",
    "header",     "navigation", "complementary", "contentinfo", "modal",   nullptr};
// Whole words (between '-', '_' and spaces) that mark boilerplate.
const char* const HintTokens[] = {"nav", "ad", "ads", "pr", "side", "rank", "foot", "credit", nullptr};

bool ContainsWord(const char* s, std::size_t n, const char* word) {
    const std::size_t m = std::strlen(word);
    for (std::size_t i = 0; i + m <= n; ++i) {
        std::size_t k = 0;
        while (k < m && Lower(s[i + k]) == word[k]) ++k;
        if (k == m) return true;
    }
    return false;
}

bool HasHintToken(const char* s, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        while (i < n && !(IsAlpha(static_cast<unsigned char>(s[i])))) ++i;
        const std::size_t start = i;
        while (i < n && IsAlpha(static_cast<unsigned char>(s[i]))) ++i;
        const std::size_t length = i - start;
        if (length == 0 || length >= TagNameCapacity) continue;
        char token[TagNameCapacity];
        for (std::size_t k = 0; k < length; ++k) token[k] = Lower(s[start + k]);
        token[length] = '\0';
        if (OneOf(token, HintTokens)) return true;
    }
    return false;
}

bool IsHintValue(const char* s, std::size_t n) {
    for (const char* const* word = HintWords; *word; ++word)
        if (ContainsWord(s, n, *word)) return true;
    return HasHintToken(s, n);
}

// display:none or visibility:hidden, with or without spaces.
bool IsHiddenStyle(const char* s, std::size_t n) {
    char squeezed[64];
    std::size_t k = 0;
    for (std::size_t i = 0; i < n && k + 1 < sizeof squeezed; ++i)
        if (!IsSpace(static_cast<unsigned char>(s[i]))) squeezed[k++] = Lower(s[i]);
    return ContainsWord(squeezed, k, "display:none") || ContainsWord(squeezed, k, "visibility:hidden");
}

bool IsEdgeLine(const Block& b) { return b.marks == 0 && b.chars < EdgeLineCharacters; }

bool IsSentenceEnd(const unsigned char* c, std::size_t length) {
    if (length == 2 && c[0] == 0x81) return c[1] == 0x42 || c[1] == 0x48 || c[1] == 0x49;  // 。？！
    return false;
}

class Reader {
  public:
    explicit Reader(char* page) : page_(page), n_(std::strlen(page)) {
        stack_.reserve(64);
        stack_.push_back(Element());  // the document itself, never closed
        cover_.push_back(0);
    }

    int Run();

  private:
    char* page_;
    std::size_t n_;
    std::size_t r_ = 0, w_ = 0;
    std::vector<Block> blocks_;
    std::vector<int> cover_;  // one more than blocks_: +1 where a rejected element's blocks start, -1 after
    std::vector<Element> stack_;

    // The block being written.
    Block block_;
    bool pendingSpace_ = false, pendingNewline_ = false, lastWide_ = false, lastEnd_ = false;
    bool inLink_ = false, inReading_ = false;
    BlockKind nextKind_ = KindText;

    void Put(const char* bytes, std::size_t length, bool counts, bool wide, bool end);
    void PutText(std::size_t length);
    void PutReference();
    void LineBreak();
    void EndBlock();
    void Tag();
    void OpenTag(const char* name, bool hinted, bool hidden, bool selfClosing);
    void CloseTag(const char* name);
    void Push(const char* name, bool hinted, bool hidden);
    void Pop();
    void SkipTo(const char* endTag);
    std::size_t Find(const char* marker) const;
    std::size_t ReadName(std::size_t at, char* name) const;
    bool Readable(std::size_t i, int covered) const;
    int Output();
};

std::size_t Reader::Find(const char* marker) const {
    const std::size_t m = std::strlen(marker);
    for (std::size_t i = r_; i + m <= n_; ++i)
        if (std::memcmp(page_ + i, marker, m) == 0) return i;
    return n_;
}

// Reads a tag name at page_[at], lower-cased and cut to the capacity; returns where it ends.
std::size_t Reader::ReadName(std::size_t at, char* name) const {
    std::size_t k = 0;
    while (at < n_ && !IsSpace(static_cast<unsigned char>(page_[at])) && page_[at] != '>' &&
           page_[at] != '/') {
        if (k + 1 < TagNameCapacity) name[k++] = Lower(page_[at]);
        ++at;
    }
    name[k] = '\0';
    return at;
}

void Reader::Put(const char* bytes, std::size_t length, bool counts, bool wide, bool end) {
    if (inReading_) return;
    // The text is written over the page behind the reader. A full-width stand-in takes two bytes
    // for one read ('<' or '>' in the text): where the writer would pass the reader it is left out.
    const bool space =
        block_.length > 0 && pendingSpace_ && !(pendingNewline_ && !lastEnd_ && lastWide_ && wide);
    if (w_ + length + (space ? 1 : 0) > r_) return;
    if (block_.length > 0 && pendingSpace_) {
        if (pendingNewline_ && lastEnd_)
            page_[w_++] = '\n';
        else if (!(pendingNewline_ && lastWide_ && wide))
            page_[w_++] = ' ';
    }
    pendingSpace_ = pendingNewline_ = false;
    if (block_.length == 0) block_.start = w_;
    std::memmove(page_ + w_, bytes, length);
    w_ += length;
    block_.length = w_ - block_.start;
    if (counts) {
        ++block_.chars;
        if (inLink_) ++block_.linkChars;
        if (end) ++block_.marks;
    }
    lastWide_ = wide;
    lastEnd_ = end || (wide && length == 2 && static_cast<unsigned char>(bytes[0]) == 0x81 &&
                       static_cast<unsigned char>(bytes[1]) == 0x76);  // 」
}

// Copies one character of text (length 1 or 2 bytes at r_).
void Reader::PutText(std::size_t length) {
    const unsigned char* c = reinterpret_cast<const unsigned char*>(page_ + r_);
    // The source is at or after the place it is written to, so the copy moves it forward.
    char bytes[2] = {page_[r_], length == 2 ? page_[r_ + 1] : '\0'};
    r_ += length;
    Put(bytes, length, true, length == 2, IsSentenceEnd(c, length));
}

void Reader::PutReference() {
    unsigned long c = 0;
    const std::size_t taken = ReadReference(page_ + r_, n_ - r_, &c);
    if (taken == 0) {
        ++r_;
        Put("&", 1, true, false, false);
        return;
    }
    r_ += taken;
    if (c == '<')
        Put(FullWidthLess, 2, true, true, false);
    else if (c == '>')
        Put(FullWidthGreater, 2, true, true, false);
    else if (c <= ' ' || c == 0xA0 || c == 0x2002 || c == 0x2003 || c == 0x2009 || c == 0x7F)
        pendingSpace_ = true;
    else if (c < 0x80) {
        const char ascii = static_cast<char>(c);
        Put(&ascii, 1, true, false, false);
    } else
        Put(SjisStandIn, 2, true, true, false);  // left undecoded: no Shift-JIS form
}

void Reader::LineBreak() {
    if (block_.length == 0 || inReading_) return;
    if (page_[w_ - 1] != '\n' && w_ < r_) page_[w_++] = '\n';
    block_.length = w_ - block_.start;
    pendingSpace_ = pendingNewline_ = false;
    lastEnd_ = false;
}

void Reader::EndBlock() {
    if (lastEnd_ && block_.marks == 0) block_.marks = 1;  // a quotation standing alone: 「…」
    pendingSpace_ = pendingNewline_ = lastEnd_ = lastWide_ = false;
    if (block_.chars == 0) {
        w_ = block_.length > 0 ? block_.start : w_;
        block_ = Block();
        return;
    }
    while (block_.length > 0 && page_[block_.start + block_.length - 1] == '\n') --block_.length;
    block_.kind = nextKind_;
    long long weight;
    const int own = block_.chars - block_.linkChars;
    if (block_.linkChars * 2 > block_.chars)
        weight =
            -block_.chars / 2;  // a link list: half, so that a list inside the article does not outweigh it
    else if (block_.kind == KindTitle)
        weight = 0;
    else if (block_.marks > 0)
        weight = own;
    else if (own >= 60)
        weight = own / 2;
    else
        weight = -own / 2;
    Element& top = stack_.back();
    top.sum += weight;
    if (weight > 0) top.prose += weight;
    top.chars += block_.chars;
    blocks_.push_back(block_);
    cover_.push_back(0);
    block_ = Block();
    if (w_ < r_) page_[w_++] = '\n';  // a byte between blocks (only the end of the page has none)
}

void Reader::Push(const char* name, bool hinted, bool hidden) {
    if (stack_.size() >= MaxDepth) return;  // its end tag then closes nothing
    Element e;
    std::memcpy(e.name, name, TagNameCapacity);
    e.hinted = hinted;
    e.hidden = hidden;
    e.candidate = !OneOf(name, ItemTags);
    e.firstBlock = blocks_.size();
    stack_.push_back(e);
}

void Reader::Pop() {
    Element e = stack_.back();
    stack_.pop_back();
    Element& parent = stack_.back();
    const std::size_t end = blocks_.size();
    if (e.hidden || (e.hinted && e.prose < VetoProse)) {
        if (e.firstBlock < end) {
            ++cover_[e.firstBlock];
            --cover_[end];
        }
        parent.sum -= e.chars;
        parent.chars += e.chars;
        return;  // nothing inside it is the article
    }
    if (e.candidate && e.firstBlock < end && (!e.best.valid || e.sum > e.best.score)) {
        e.best.score = e.sum;
        e.best.first = e.firstBlock;
        e.best.end = end;
        e.best.valid = true;
    }
    parent.sum += e.sum;
    parent.prose += e.prose;
    parent.chars += e.chars;
    if (e.best.valid && (!parent.best.valid || e.best.score > parent.best.score)) parent.best = e.best;
}

void Reader::SkipTo(const char* name) {
    // Up to "</name" in any letter case, then past its '>'.
    const std::size_t m = std::strlen(name);
    while (r_ < n_) {
        if (page_[r_] == '<' && r_ + 1 < n_ && page_[r_ + 1] == '/') {
            std::size_t k = 0;
            while (k < m && r_ + 2 + k < n_ && Lower(page_[r_ + 2 + k]) == name[k]) ++k;
            if (k == m) break;
        }
        ++r_;
    }
    while (r_ < n_ && page_[r_] != '>') ++r_;
    if (r_ < n_) ++r_;
}

void Reader::OpenTag(const char* name, bool hinted, bool hidden, bool selfClosing) {
    if (std::strcmp(name, "br") == 0) {
        LineBreak();
        return;
    }
    if (std::strcmp(name, "rt") == 0 || std::strcmp(name, "rp") == 0) {
        inReading_ = true;
        return;
    }
    if (std::strcmp(name, "a") == 0) inLink_ = true;
    if (std::strcmp(name, "img") == 0) block_.image = true;
    if (OneOf(name, InlineTags)) return;
    EndBlock();
    inReading_ = false;
    if (OneOf(name, SkippedTags)) {
        if (!selfClosing) SkipTo(name);
        return;
    }
    if (OneOf(name, VoidTags) || selfClosing) return;
    // A new block closes an open paragraph, a new item the item before it.
    const char* top = stack_.back().name;
    if (std::strcmp(top, "p") == 0 || (std::strcmp(name, "li") == 0 && std::strcmp(top, "li") == 0) ||
        ((std::strcmp(name, "dt") == 0 || std::strcmp(name, "dd") == 0) &&
         (std::strcmp(top, "dt") == 0 || std::strcmp(top, "dd") == 0)))
        Pop();
    nextKind_ = std::strcmp(name, "h1") == 0                           ? KindTitle
                : (name[0] == 'h' && name[1] >= '2' && name[1] <= '6') ? KindHeading
                                                                       : KindText;
    // The names of an article or main element describe the article, whatever words they use.
    const bool mainElement = std::strcmp(name, "article") == 0 || std::strcmp(name, "main") == 0;
    Push(name, (hinted && !mainElement) || OneOf(name, HintedTags), hidden || OneOf(name, BoilerplateTags));
}

void Reader::CloseTag(const char* name) {
    if (std::strcmp(name, "a") == 0) inLink_ = false;
    if (std::strcmp(name, "rt") == 0 || std::strcmp(name, "rp") == 0 || std::strcmp(name, "ruby") == 0)
        inReading_ = false;
    if (OneOf(name, InlineTags) || OneOf(name, VoidTags)) return;
    EndBlock();
    nextKind_ = KindText;
    for (std::size_t i = stack_.size(); i-- > 1;) {
        if (std::strcmp(stack_[i].name, name) == 0) {
            while (stack_.size() > i) Pop();
            return;
        }
    }
}

void Reader::Tag() {
    const char next = r_ + 1 < n_ ? page_[r_ + 1] : '\0';
    if (next == '!' && r_ + 3 < n_ && page_[r_ + 2] == '-' && page_[r_ + 3] == '-') {
        const std::size_t end = Find("-->");
        r_ = end < n_ ? end + 3 : n_;
        return;
    }
    if (next == '!' || next == '?') {
        while (r_ < n_ && page_[r_] != '>') ++r_;
        if (r_ < n_) ++r_;
        return;
    }
    const bool closing = next == '/';
    const std::size_t nameAt = r_ + (closing ? 2 : 1);
    if (nameAt >= n_ || !IsAlpha(static_cast<unsigned char>(page_[nameAt]))) {
        ++r_;  // a '<' of the text
        Put(FullWidthLess, 2, true, true, false);
        return;
    }
    char name[TagNameCapacity];
    std::size_t at = ReadName(nameAt, name);
    // Attributes, with their quoted values; class, id and role may mark boilerplate.
    bool hinted = false, hidden = false, selfClosing = false;
    while (at < n_ && page_[at] != '>') {
        if (IsSpace(static_cast<unsigned char>(page_[at]))) {
            ++at;
            continue;
        }
        if (page_[at] == '/') {
            selfClosing = true;
            ++at;
            continue;
        }
        selfClosing = false;
        const std::size_t attrStart = at;
        while (at < n_ && page_[at] != '=' && page_[at] != '>' &&
               !IsSpace(static_cast<unsigned char>(page_[at])))
            ++at;
        const std::size_t attrLength = at - attrStart;
        const char* attr = page_ + attrStart;
        while (at < n_ && IsSpace(static_cast<unsigned char>(page_[at]))) ++at;
        if (attrLength == 6 && ContainsWord(attr, 6, "hidden")) hidden = true;
        if (at >= n_ || page_[at] != '=') continue;
        ++at;
        while (at < n_ && IsSpace(static_cast<unsigned char>(page_[at]))) ++at;
        std::size_t valueStart = at, valueEnd;
        if (at < n_ && (page_[at] == '"' || page_[at] == '\'')) {
            const char quote = page_[at];
            valueStart = ++at;
            while (at < n_ && page_[at] != quote) ++at;
            valueEnd = at;
            if (at < n_) ++at;
        } else {
            while (at < n_ && page_[at] != '>' && !IsSpace(static_cast<unsigned char>(page_[at]))) ++at;
            valueEnd = at;
        }
        const char* value = page_ + valueStart;
        const std::size_t valueLength = valueEnd - valueStart;
        if (closing) continue;
        if (!hinted && ((attrLength == 5 && ContainsWord(attr, 5, "class")) ||
                        (attrLength == 2 && ContainsWord(attr, 2, "id")) ||
                        (attrLength == 4 && ContainsWord(attr, 4, "role"))))
            hinted = IsHintValue(value, valueLength);
        if (attrLength == 5 && ContainsWord(attr, 5, "style") && IsHiddenStyle(value, valueLength))
            hidden = true;
        if (attrLength == 11 && ContainsWord(attr, 11, "aria-hidden") &&
            ContainsWord(value, valueLength, "true"))
            hidden = true;
    }
    r_ = at < n_ ? at + 1 : n_;
    if (closing)
        CloseTag(name);
    else
        OpenTag(name, hinted, hidden, selfClosing);
}

int Reader::Run() {
    while (r_ < n_) {
        const unsigned char c = static_cast<unsigned char>(page_[r_]);
        if (c == '<') {
            Tag();
        } else if (c == '&') {
            PutReference();
        } else if (IsSpace(c)) {
            pendingSpace_ = true;
            if (c == '\n') pendingNewline_ = true;
            ++r_;
        } else if (c == '>') {
            ++r_;
            Put(FullWidthGreater, 2, true, true, false);
        } else if (c < ' ') {
            ++r_;  // control characters are not read
        } else {
            // A lead byte pairs only with a trail byte: markup such as '<' after it stays markup.
            const unsigned char t = r_ + 1 < n_ ? static_cast<unsigned char>(page_[r_ + 1]) : 0;
            PutText(SjisIsLead(c) && t >= 0x40 && t != 0x7F && t <= 0xFC ? 2 : 1);
        }
    }
    EndBlock();
    while (stack_.size() > 1) Pop();
    return Output();
}

// Whether a block of the chosen element is read: not inside a rejected element, not the
// headline, not a list of links, not an image caption.
bool Reader::Readable(std::size_t i, int covered) const {
    const Block& b = blocks_[i];
    return covered <= 0 && b.kind != KindTitle && b.linkChars * 2 <= b.chars &&
           !(b.image && b.marks == 0 && b.chars < CaptionCharacters);
}

int Reader::Output() {
    const Best best = stack_.back().best;
    if (!best.valid) {
        page_[0] = '\0';
        return 0;
    }
    // Running sum over the rejected elements' marks: a block inside one is left out.
    int covered = 0;
    for (std::size_t i = 0; i < best.first; ++i) covered += cover_[i];
    std::vector<std::size_t> read;
    for (std::size_t i = best.first; i < best.end; ++i) {
        covered += cover_[i];
        if (Readable(i, covered)) read.push_back(i);
    }
    // Short unpunctuated lines at either end (a category, a date, "next page") are not the text.
    std::size_t first = 0, last = read.size();
    while (first < last && IsEdgeLine(blocks_[read[first]])) ++first;
    while (last > first && IsEdgeLine(blocks_[read[last - 1]])) --last;
    std::size_t out = 0;
    long long chars = 0, marks = 0;
    for (std::size_t k = first; k < last; ++k) {
        const Block& b = blocks_[read[k]];
        if (out > 0) page_[out++] = '\n';
        std::memmove(page_ + out, page_ + b.start, b.length);
        out += b.length;
        chars += b.chars;
        marks += b.marks;
    }
    page_[out] = '\0';
    if (chars < MainTextMinimumCharacters || marks < MainTextMinimumSentences) {
        page_[0] = '\0';
        return 0;
    }
    return 1;
}

}  // namespace

int ExtractMainText(char* page) {
    Reader reader(page);
    return reader.Run();
}
