// Straightforward models of the repeating text operations: each pass searches
// from the start of the text again, exactly as the operations are defined. They
// are quadratic and serve only to check the single-pass versions.
#ifndef TAVLO_TESTS_TEXTCUT_LITERAL_H
#define TAVLO_TESTS_TEXTCUT_LITERAL_H

#include <cstddef>
#include <string>

namespace literal {

inline void StripTags(std::string& t) {
    for (;;) {
        std::size_t lt = t.find('<');
        if (lt == std::string::npos) return;
        std::size_t gt = t.find('>', lt);
        if (gt == std::string::npos) return;
        t.erase(lt, gt - lt + 1);
    }
}

inline int CollapseBlankLines(std::string& t) {
    int deleted = 0;
    for (std::size_t at; (at = t.find("\n\n")) != std::string::npos; ++deleted) t.erase(at, 1);
    return deleted;
}

inline void DeleteSpacePairs(std::string& t) {
    for (std::size_t at; (at = t.find("  ")) != std::string::npos;) t.erase(at, 2);
}

// capacity as for ReplaceAll: the text may grow to capacity - 1 bytes (or stay as
// long as it already is); the replacement that would pass that is not made.
inline int ReplaceAll(std::string& t, std::size_t capacity, const std::string& searched,
                      const std::string& replacement) {
    if (searched.empty() || searched == replacement) return 1;
    const std::size_t limit = capacity > t.size() ? capacity - 1 : t.size();
    for (;;) {
        std::size_t at = t.find(searched);
        if (at == std::string::npos) return 1;
        if (t.size() - searched.size() + replacement.size() > limit) return 0;
        t.replace(at, searched.size(), replacement);
    }
}

inline int ResolveParentPath(std::string& t) {
    std::size_t at = t.find("../");
    if (at == std::string::npos) return 0;
    for (std::size_t found; (found = t.find("../", at)) != std::string::npos; at = found) t.erase(0, 3);
    t = "/" + t;
    return 1;
}

}  // namespace literal

#endif
