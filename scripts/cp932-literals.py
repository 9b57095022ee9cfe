#!/usr/bin/env python3
"""Copies a C++ source with every non-ASCII character inside a string or character
literal written as octal escapes of its Shift-JIS (code page 932) bytes.

clang knows no execution character set but UTF-8, so the fuzz build compiles these
copies to see the literals as the program does (gcc and MinGW use -fexec-charset=CP932).
Comments and code are copied as they are. A non-ASCII character in a raw string cannot
be escaped and stops the copy with an error.

Usage: cp932-literals.py SOURCE_ROOT COPY_ROOT FILE...  (FILE relative to SOURCE_ROOT)
"""
import os
import sys


def escape(ch):
    return "".join("\\%03o" % b for b in ch.encode("cp932"))


def rewrite(text, name):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end < 0 else end
            out.append(text[i:end])
            i = end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append(text[i:end])
            i = end
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            open_paren = text.find("(", i + 2)
            delimiter = ")" + text[i + 2:open_paren] + '"'
            end = text.find(delimiter, open_paren) + len(delimiter)
            literal = text[i:end]
            if any(ord(ch) > 127 for ch in literal):
                sys.exit("%s: non-ASCII text in a raw string" % name)
            out.append(literal)
            i = end
        elif c in "\"'":
            # A quote inside a number (1'000) is a digit separator, not a literal; after an
            # encoding prefix (L'\0', u8'a') it opens one.
            k = i
            while k > 0 and (text[k - 1].isalnum() or text[k - 1] == "'"):
                k -= 1
            if c == "'" and k < i and text[k].isdigit():
                out.append(c)
                i += 1
                continue
            # u8"", u"", U"" and L"" are not in the execution character set: kept as they are.
            keep = text[k:i] in ("u8", "u", "U", "L")
            j = i + 1
            out.append(c)
            while j < n and text[j] != c:
                if text[j] == "\\":
                    out.append(text[j:j + 2])
                    j += 2
                    continue
                if text[j] == "\n":
                    sys.exit("%s: unterminated literal" % name)
                out.append(escape(text[j]) if ord(text[j]) > 127 and not keep else text[j])
                j += 1
            out.append(c)
            i = j + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def copy(source, target):
    with open(source, encoding="utf-8") as f:
        text = f.read()
    result = rewrite(text, source)
    result = '#line 1 "%s"\n' % source + result
    os.makedirs(os.path.dirname(target), exist_ok=True)
    # An unchanged copy keeps its time, so nothing is rebuilt for it.
    if os.path.exists(target):
        with open(target, encoding="utf-8") as f:
            if f.read() == result:
                return
    # #line keeps __FILE__ and the diagnostics on the original; quoted includes still find
    # the copies beside the copy.
    with open(target + ".tmp", "w", encoding="utf-8") as f:
        f.write(result)
    os.replace(target + ".tmp", target)


def main():
    source_root, copy_root = sys.argv[1], sys.argv[2]
    for name in sys.argv[3:]:
        copy(os.path.join(source_root, name), os.path.join(copy_root, name))


if __name__ == "__main__":
    main()
