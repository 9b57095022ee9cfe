#include "retrieval/feed_markup.h"

#include <cstring>

#include "retrieval/sjis.h"

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

// First occurrence of the three-byte marker in s[from..n), or n.
std::size_t Find3(const char* s, std::size_t n, std::size_t from, const char* marker) {
    std::size_t i = from;
    while (i + 3 <= n) {
        const char* p = static_cast<const char*>(std::memchr(s + i, marker[0], n - i - 2));
        if (!p) return n;
        i = static_cast<std::size_t>(p - s);
        if (s[i + 1] == marker[1] && s[i + 2] == marker[2]) return i;
        ++i;
    }
    return n;
}

// End of a CDATA section ("]]>") from `from`, passing over a ']' that is the trail byte of a
// double-byte character; n when it never ends. A byte outside the lead range always ends a
// character, so the run of lead-range bytes before a ']' tells whether it is a trail byte;
// that run never reaches back past the previous ']', which keeps the search linear.
std::size_t CDataEnd(const char* s, std::size_t n, std::size_t from) {
    std::size_t i = from;
    while (true) {
        const std::size_t p = Find3(s, n, i, "]]>");
        if (p >= n) return n;
        std::size_t run = 0;
        while (p - run > from && SjisIsLead(static_cast<unsigned char>(s[p - run - 1]))) ++run;
        if (run % 2 == 0) return p;
        i = p + 1;
    }
}

}  // namespace

bool NameEquals(const char* s, std::size_t n, const char* name) {
    std::size_t i = 0;
    for (; i < n; ++i) {
        if (name[i] == '\0' || AsciiLower(s[i]) != AsciiLower(name[i])) return false;
    }
    return name[i] == '\0';
}

bool LocalNameIs(const char* s, std::size_t n, const char* name) {
    std::size_t start = n;
    while (start > 0 && s[start - 1] != ':') --start;
    return NameEquals(s + start, n - start, name);
}

// The index of the '>' that ends the tag whose attributes start at `from`, quotes honoured;
// n_ when there is none.
std::size_t MarkupScanner::TagEnd(std::size_t from) {
    std::size_t i = from;
    bool afterEquals = false;
    while (i < n_) {
        const char c = s_[i];
        if (c == '>') return i;
        if ((c == '"' || c == '\'') && afterEquals) {
            const int q = c == '"' ? 0 : 1;
            if (!noQuote_[q]) {
                const char* close = static_cast<const char*>(std::memchr(s_ + i + 1, c, n_ - i - 1));
                if (close) {
                    i = static_cast<std::size_t>(close - s_) + 1;
                    afterEquals = false;
                    continue;
                }
                noQuote_[q] = true;  // and this quote is an ordinary character
            }
        }
        if (c == '=') afterEquals = true;
        else if (!IsSpace(c)) afterEquals = false;
        ++i;
    }
    return n_;
}

void MarkupScanner::SkipRawText(const char* name, std::size_t nameLength) {
    std::size_t i = i_;
    while (i + 2 <= n_) {
        const char* p = static_cast<const char*>(std::memchr(s_ + i, '<', n_ - i));
        if (!p) break;
        i = static_cast<std::size_t>(p - s_);
        if (i + 2 + nameLength <= n_ && s_[i + 1] == '/' && NameEquals(s_ + i + 2, nameLength, name)) {
            i_ = i;
            return;
        }
        ++i;
    }
    i_ = n_;
}

bool MarkupScanner::Next(MarkupToken* t) {
    while (i_ < n_) {
        if (s_[i_] != '<' || noGt_) {
            std::size_t j = n_;
            if (!noGt_) {
                const char* p = static_cast<const char*>(std::memchr(s_ + i_, '<', n_ - i_));
                if (p) j = static_cast<std::size_t>(p - s_);
            }
            t->kind = MarkupKind::Text;
            t->text = s_ + i_;
            t->textLength = j - i_;
            i_ = j;
            return true;
        }
        const std::size_t rest = n_ - i_;
        const char* p = s_ + i_;
        if (rest >= 4 && std::memcmp(p, "<!--", 4) == 0) {
            const std::size_t end = Find3(s_, n_, i_ + 4, "-->");
            i_ = end >= n_ ? n_ : end + 3;
            continue;
        }
        if (rest >= 9 && std::memcmp(p, "<![CDATA[", 9) == 0) {
            const std::size_t end = CDataEnd(s_, n_, i_ + 9);
            t->kind = MarkupKind::CData;
            t->text = p + 9;
            t->textLength = end - (i_ + 9);
            i_ = end >= n_ ? n_ : end + 3;
            return true;
        }
        const char next = rest >= 2 ? p[1] : '\0';
        if (next == '!' || next == '?' || next == '/' || IsNameStart(next)) {
            const bool end = next == '/';
            std::size_t nameStart = i_ + (end ? 2 : 1);
            std::size_t k = nameStart;
            while (k < n_ && !IsSpace(s_[k]) && s_[k] != '>' && s_[k] != '/' && s_[k] != '<') ++k;
            const std::size_t gt = (next == '!' || next == '?' || end) ? [&]() {
                const char* g = static_cast<const char*>(std::memchr(s_ + k, '>', n_ - k));
                return g ? static_cast<std::size_t>(g - s_) : n_;
            }() : TagEnd(k);
            if (gt >= n_) {
                noGt_ = true;  // the rest is text
                continue;
            }
            i_ = gt + 1;
            if (next == '!' || next == '?') continue;
            if (k == nameStart) continue;  // "</>"
            t->kind = end ? MarkupKind::End : MarkupKind::Start;
            t->name = s_ + nameStart;
            t->nameLength = k - nameStart;
            t->attributes = s_ + k;
            t->attributesLength = gt - k;
            t->selfClosing = !end && gt > k && s_[gt - 1] == '/';
            if (end) t->attributesLength = 0;
            if (html_ && !end && !t->selfClosing &&
                (NameEquals(t->name, t->nameLength, "script") || NameEquals(t->name, t->nameLength, "style"))) {
                SkipRawText(NameEquals(t->name, t->nameLength, "script") ? "script" : "style",
                            t->nameLength);
            }
            return true;
        }
        t->kind = MarkupKind::Text;  // a lone '<'
        t->text = p;
        t->textLength = 1;
        ++i_;
        return true;
    }
    return false;
}

bool FindAttribute(const MarkupToken& tag, const char* name, std::string* value) {
    if (tag.kind != MarkupKind::Start) return false;
    const char* s = tag.attributes;
    const std::size_t n = tag.attributesLength;
    std::size_t i = 0;
    while (i < n) {
        while (i < n && (IsSpace(s[i]) || s[i] == '/')) ++i;
        const std::size_t nameStart = i;
        while (i < n && !IsSpace(s[i]) && s[i] != '=' && s[i] != '/') ++i;
        const std::size_t nameEnd = i;
        while (i < n && IsSpace(s[i])) ++i;
        const char* v = nullptr;
        std::size_t vLength = 0;
        if (i < n && s[i] == '=') {
            ++i;
            while (i < n && IsSpace(s[i])) ++i;
            if (i < n && (s[i] == '"' || s[i] == '\'')) {
                const char q = s[i++];
                const char* close = static_cast<const char*>(std::memchr(s + i, q, n - i));
                const std::size_t end = close ? static_cast<std::size_t>(close - s) : n;
                v = s + i;
                vLength = end - i;
                i = end < n ? end + 1 : n;
            } else {
                const std::size_t start = i;
                while (i < n && !IsSpace(s[i])) ++i;
                v = s + start;
                vLength = i - start;
            }
        }
        if (nameEnd > nameStart && NameEquals(s + nameStart, nameEnd - nameStart, name)) {
            value->clear();
            if (v) AppendDecoded(value, v, vLength, 64 * 1024);
            return true;
        }
        if (nameEnd == nameStart && i < n && i == nameStart) ++i;  // a stray character
    }
    return false;
}
