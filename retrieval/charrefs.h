// Character references (&#x5e74; &#24180; &hellip;) in received pages.
//
// Pages are decoded while they are still UTF-8, before the conversion to Shift-JIS, so that
// a character written as a reference becomes the same character as one written plainly and
// the conversion gives it its Shift-JIS form, or the conversion's stand-in when Shift-JIS has
// no such character. References to markup characters (&lt; &gt; &amp; &quot; and their
// numeric forms) and to the no-break space are left alone here: decoding them would change
// the markup the cutting works on. The main-text extraction decodes those in its text.
#pragma once

#include <cstddef>

// The stand-in, in Shift-JIS, for a character that Shift-JIS lacks or a reference that names
// no character: the middle dot (U+30FB), also the code page's own default character.
constexpr const char* SjisStandIn = "\x81\x45";

// Decodes in place, in a NUL-terminated UTF-8 text, every numeric reference to a character
// from U+00A1 up, and the named references of the common punctuation and symbols, into UTF-8.
// A decoded reference never takes more bytes than it did as a reference, so the text only
// shrinks. Invalid code points (surrogates, beyond U+10FFFF) stay as they are. Returns the
// number of references decoded.
std::size_t DecodeReferencesUtf8(char* text);

// Reads the reference that starts at s[0] == '&' within s[0..n). On success returns the
// number of bytes it takes (the ';' included when present) and stores its code point; returns
// 0 when s holds no reference there. Named references need their ';', numeric ones do not.
std::size_t ReadReference(const char* s, std::size_t n, unsigned long* codePoint);

// Writes the code point as UTF-8 into out (room for 4 bytes); returns the byte count.
std::size_t EncodeUtf8(unsigned long codePoint, char* out);
