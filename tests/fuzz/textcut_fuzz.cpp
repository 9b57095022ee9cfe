// Drives every text primitive with hostile pages, markers, positions and small
// output capacities. Buffers are exactly as large as their contents, so any
// read or write past them is reported; the repeating operations are compared with
// the restart-from-the-start models.
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../native/textcut_literal.h"
#include "textcut_fuzz_input.h"
#include "retrieval/textcut.h"

namespace {

// A heap copy of text with capacity bytes (at least its length plus one).
struct Heap {
    char* p;
    std::size_t capacity;
    Heap(const std::string& text, std::size_t room = 0) : capacity(std::strlen(text.c_str()) + 1 + room) {
        p = static_cast<char*>(std::malloc(capacity));
        std::memcpy(p, text.c_str(), capacity - room);
    }
    ~Heap() { std::free(p); }
    std::string str() const { return p; }
};

void Check(bool ok) {
    if (!ok) std::abort();
}

void CheckOutput(const std::vector<char>& out) {
    if (out.empty()) return;
    Check(std::memchr(out.data(), '\0', out.size()) != nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const TextcutFuzzInput input = ReadTextcutFuzzInput(data, size);
    const char* m[4];
    for (int i = 0; i < 4; ++i) m[i] = input.hasMarker[i] ? input.markers[i].c_str() : MarkerNone;
    const int position = input.position;
    const std::size_t room = input.room;
    const std::string& text = input.text;
    const std::size_t n = text.size();
    const bool small = n <= 4096;

    // Searching, compared with the standard library's searches.
    int pos = position;
    const int found = FindMarker(text.c_str(), m[0], &pos);
    if (m[0]) {
        const std::size_t expect = text.find(m[0], position < 0 ? 0 : position);
        Check(found == (expect != std::string::npos) && pos == (found ? static_cast<int>(expect) : -1));
    } else {
        Check(!found && pos == -1);
    }
    pos = position;
    Heap back(text);
    const int foundBack = FindMarkerBackward(back.p, m[1], &pos);
    if (m[1] && position >= 0) {
        const std::size_t expect = text.rfind(m[1], position);
        Check(foundBack == (expect != std::string::npos) &&
              pos == (foundBack ? static_cast<int>(expect) : -1));
    } else {
        Check(!foundBack && pos == -1);
    }

    // Cutting never lengthens the text.
    int (*const cuts[])(char*, const char*, const char*) = {
        CutBetween, CutBetweenLast, RemoveSpan, RemoveSpanFrom};
    for (auto cut : cuts) {
        Heap h(text);
        const int result = cut(h.p, m[0], m[1]);
        Check(std::strlen(h.p) <= n);
        if (!result) Check(h.str() == text);
    }

    {
        Heap h(text);
        StripTags(h.p);
        if (small) {
            std::string model = text;
            literal::StripTags(model);
            Check(h.str() == model);
        }
    }
    {
        Heap h(text);
        const int folded = FoldCrLf(h.p);
        Check(std::strlen(h.p) + folded == n);
    }
    {
        Heap h(text);
        const int deleted = CollapseBlankLines(h.p);
        Check(std::strlen(h.p) + deleted == n);
        if (small) {
            std::string model = text;
            Check(literal::CollapseBlankLines(model) == deleted && h.str() == model);
        }
    }
    {
        Heap h(text);
        DeleteSpacePairs(h.p);
        if (small) {
            std::string model = text;
            literal::DeleteSpacePairs(model);
            Check(h.str() == model);
        }
    }
    {
        Heap h(text, room);
        const int result = ReplaceAll(h.p, h.capacity, m[2], m[3]);
        Check(std::strlen(h.p) < h.capacity);
        if (small && m[2]) {
            std::string model = text;
            Check(literal::ReplaceAll(model, h.capacity, m[2], m[3] ? m[3] : "") == result);
            Check(h.str() == model);
        }
    }
    {
        Heap h(text);
        std::string model = text;
        Check(ResolveParentPath(h.p) == literal::ResolveParentPath(model) && h.str() == model);
    }

    // Extractors: walk the page as the list readers do, with tiny outputs.
    std::vector<char> a(input.capacityA, '\0'), b(input.capacityB, '\0');
    Heap page(text);
    for (int kind = 0; kind < 4; ++kind) {
        pos = position;
        for (int round = 0; round < 64; ++round) {
            int result = 0;
            switch (kind) {
                case 0:
                    result = ExtractLink(page.p, a.data(), a.size(), b.data(), b.size(), m[0], m[1], &pos);
                    break;
                case 1:
                    result = ExtractFieldPair(
                        page.p, a.data(), a.size(), b.data(), b.size(), m[0], m[1], m[2], m[3], &pos);
                    break;
                case 2:
                    result = ExtractMediaFields(
                        page.p, a.data(), a.size(), b.data(), b.size(), m[0], m[1], m[2], ".mp3", &pos);
                    break;
                default:
                    result = ExtractAnchor(page.p, a.data(), a.size(), b.data(), b.size(), &pos);
            }
            Check(pos >= -1 && pos <= static_cast<int>(n));
            if (result) {
                CheckOutput(a);
                CheckOutput(b);
            } else {
                break;
            }
        }
    }
    return 0;
}
