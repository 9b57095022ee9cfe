// Marker-based string primitives for cutting pages into headlines, links,
// article bodies and forecasts.
//
// Texts are NUL-terminated Shift-JIS byte strings. Searches compare bytes and do
// not skip trail bytes. Positions are signed byte offsets; -1 means not found.
//
// A marker is a byte string or MarkerNone (a null pointer). MarkerNone is never
// found; the empty marker "" is found at once, where the search starts.
//
// Every function works on the caller's buffers only: no state is kept between
// calls, so the window thread and the reception threads may call them at once.
// The cutting operations work in place and never need more room than the text
// already has, whatever its length; ReplaceAll, which may grow the text, takes
// the capacity of the caller's buffer. The extractors take the capacity of each
// output and cut a longer field to fit, on a character boundary.
#ifndef TAVLO_RETRIEVAL_TEXTCUT_H
#define TAVLO_RETRIEVAL_TEXTCUT_H

#include <cstddef>

constexpr const char* MarkerNone = nullptr;

// Searching. position is read as the start of the search and receives the offset
// of the match, or -1. FindMarker finds the first occurrence at or after the start
// (a negative start searches from 0); FindMarkerBackward the last occurrence that
// begins at or before the start (a start past the end searches from the end).
// Both return 1 when found, else 0.
int FindMarker(const char* text, const char* marker, int* position);
int FindMarkerBackward(const char* text, const char* marker, int* position);

// Keeps what lies between the first start marker and the end marker searched from
// that start marker's own position. A missing end keeps everything after the
// start; a missing start keeps what lies before the first end. An end found before
// the start marker's end leaves the text empty. Returns 0, the text unchanged,
// when neither marker is found, else 1.
int CutBetween(char* text, const char* start, const char* end);

// As CutBetween, but the end marker is the last one in the text.
int CutBetweenLast(char* text, const char* start, const char* end);

// Deletes from the first start marker through the end marker after it (or to the
// end of the text when that is missing). Without a start marker the text becomes
// what follows the first end marker, less its first character. Returns 0 when
// neither marker is found, else 1.
int RemoveSpan(char* text, const char* start, const char* end);

// Deletes from the first start marker through the next end marker that begins
// after it, or to the end of the text when there is none. Returns 0, the text
// unchanged, when the start marker is missing, else 1.
int RemoveSpanFrom(char* text, const char* start, const char* end);

// Deletes every tag: each '<' with everything up to the first '>' after it. A '<'
// with no '>' after it is kept with the rest of the text.
void StripTags(char* text);

// Folds every CR LF pair into a single LF. Returns the number of pairs folded.
int FoldCrLf(char* text);

// Shortens every run of line feeds to one. Returns the number of bytes deleted.
int CollapseBlankLines(char* text);

// Deletes spaces in pairs: a run of n ASCII spaces becomes n mod 2 spaces.
// Returns 1.
int DeleteSpacePairs(char* text);

// Replaces the first occurrence of searched again and again, each time searching
// from the start of the text again, until none is left; a replacement that
// produces a new occurrence (together with its neighbours) is therefore replaced
// too. capacity is the size of the buffer holding text. Returns 1, or 0 when it
// stopped because the next replacement would not fit in capacity (the text then
// holds every replacement made until then). An empty or missing searched text,
// or a replacement equal to it, leaves the text unchanged; a missing replacement
// deletes.
int ReplaceAll(char* text, std::size_t capacity, const char* searched, const char* replacement);

// Extractors: read page from *position, copy fields into the outputs (each with
// its capacity in bytes, cut on a character boundary, always terminated) and
// advance *position. See each function for the fields.

// One anchor: from marker1 to marker2 (marker2 included; an empty marker2 stops
// before the next "\">") into address, the text between the next '>' and "</a>"
// into text. The position becomes that '>' plus 4. On a missing marker: 0 and -1.
int ExtractLink(const char* page, char* address, std::size_t addressCapacity, char* text,
                std::size_t textCapacity, const char* marker1, const char* marker2, int* position);

// Four markers in sequence: output1 between markers 1 and 2, output2 between
// markers 3 and 4; the position becomes marker 4's offset. Missing marker 1: 0
// and -1; missing marker 2, 3 or 4: 0 and the position of marker 1.
int ExtractFieldPair(const char* page, char* output1, std::size_t capacity1, char* output2,
                     std::size_t capacity2, const char* marker1, const char* marker2, const char* marker3,
                     const char* marker4, int* position);

// As ExtractFieldPair for radio lists. When marker4 is ".mp3", output1 is between
// markers 1 and 2 and output2 from marker 3's end through ".mp3"; otherwise
// output2 is from marker 1's end through marker 2 and output1 between markers 3
// and 4.
int ExtractMediaFields(const char* page, char* output1, std::size_t capacity1, char* output2,
                       std::size_t capacity2, const char* marker1, const char* marker2, const char* marker3,
                       const char* marker4, int* position);

// The next <a href="..."> anchor: the quoted address and the inner text. The
// position becomes the offset just after "</a>". On a missing part: 0 and -1.
int ExtractAnchor(const char* page, char* address, std::size_t addressCapacity, char* text,
                  std::size_t textCapacity, int* position);

// Turns a parent-relative address such as "../../a/b.html" into a root-relative
// one, "/a/b.html", in place. Returns 1, or 0 (unchanged) without "../".
int ResolveParentPath(char* address);

#endif
