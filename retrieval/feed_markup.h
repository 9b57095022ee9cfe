// The forgiving markup scanner under the feed, page-link and OPML readers, and the text
// helpers they share. Shift-JIS text: '<', '>', '&' and quotes are never trail bytes, so only
// the end of a CDATA section needs to know where characters begin.
#pragma once
#include <cstddef>
#include <string>

enum class MarkupKind { Text, CData, Start, End };

struct MarkupToken {
    MarkupKind kind = MarkupKind::Text;
    const char* text = nullptr;  // Text and CData: the raw text
    std::size_t textLength = 0;
    const char* name = nullptr;  // Start and End: the element name as written
    std::size_t nameLength = 0;
    const char* attributes = nullptr;  // Start: what follows the name, up to the '>'
    std::size_t attributesLength = 0;
    bool selfClosing = false;
};

class MarkupScanner {
public:
    // html: the contents of <script> and <style> are skipped, as a browser does.
    MarkupScanner(const char* text, std::size_t length, bool html)
        : s_(text), n_(length), html_(html) {}
    // The next token; false at the end of the text. Comments, declarations and processing
    // instructions are passed over; a '<' that starts no tag is text.
    bool Next(MarkupToken* token);

private:
    std::size_t TagEnd(std::size_t from);
    void SkipRawText(const char* name, std::size_t nameLength);

    const char* s_;
    std::size_t n_;
    std::size_t i_ = 0;
    bool html_;
    bool noGt_ = false;                   // no '>' in the rest of the text
    bool noQuote_[2] = {false, false};    // no '"' / '\'' in the rest of the text
};

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
inline bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':';
}
// s[0..n) equals name, ASCII case ignored.
bool NameEquals(const char* s, std::size_t n, const char* name);
// The part of s[0..n) after its last ':' equals name, ASCII case ignored.
bool LocalNameIs(const char* s, std::size_t n, const char* name);

// The value of the start tag's attribute `name` (compared as written, ASCII case ignored),
// its references decoded; false when the tag has no such attribute.
bool FindAttribute(const MarkupToken& tag, const char* name, std::string* value);

// Appends s[0..n) with its references decoded (a stray '&' stays), up to limit bytes in all.
void AppendDecoded(std::string* out, const char* s, std::size_t n, std::size_t limit);
// Text for a list line: whitespace collapsed, at most limit bytes cut on a character boundary;
// markup: text that may hold tags and references (tags out, references decoded), rather than
// an attribute value decoded already.
std::string CleanFeedText(const char* s, std::size_t n, std::size_t limit, bool markup = true);
// s without the whitespace and control characters around it.
std::string TrimmedAddressText(const std::string& s);
// Whether s is an absolute http(s) address as it stands.
bool IsAbsoluteWebAddress(const std::string& s);
