// The main text of an article page whose category markers do not fit it.
//
// The page (Shift-JIS, character references to non-ASCII characters already decoded) is read
// once as a sequence of text blocks: the text between two block-level tags, with how much of
// it is link text and how many Japanese sentence marks it holds. Scripts, styles, furigana
// readings and other non-text elements are skipped. Each block gets a weight: prose counts for
// itself, link lists, short unpunctuated lines and everything inside navigation, menus, footers,
// asides, captions and related-article boxes count against the element around them. The
// element whose blocks weigh most is the article; its prose blocks, headings and list items
// are its text, one block a line.
//
// The work is linear in the page size (every byte is read a bounded number of times, the
// element stack is bounded) and never reads outside the page or writes beyond its own length.
#pragma once

#include <cstddef>

// A text shorter than this, or with fewer sentence marks, is not taken for an article: a
// one-line notice, an error page or a list of links gives the browser question instead. The
// shortest news brief (two sentences of about fifty characters each) passes.
constexpr int MainTextMinimumCharacters = 100;
constexpr int MainTextMinimumSentences = 2;

// Replaces the NUL-terminated page by its main text in plain lines (LF between lines, no
// markup, references decoded; '<' and '>' written as their full-width forms so that the
// article cleaning does not take them for tags). Returns 1 when an article-sized text was
// found; otherwise returns 0 and leaves the page empty.
int ExtractMainText(char* page);
