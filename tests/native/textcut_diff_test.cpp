// The single-pass repeating operations against the restart-from-the-start models,
// on short random texts over small alphabets, where matches overlap and chain.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "retrieval/textcut.h"
#include "textcut_literal.h"

namespace {

constexpr int kRounds = 100000;

std::string RandomText(std::mt19937& rng, const std::string& alphabet, std::size_t maxLength) {
    std::string s(rng() % (maxLength + 1), ' ');
    for (char& c : s) c = alphabet[rng() % alphabet.size()];
    return s;
}

std::string Apply(void (*op)(char*), const std::string& in) {
    std::vector<char> b(in.begin(), in.end());
    b.push_back('\0');
    op(b.data());
    return b.data();
}

TEST(TextCutDifferential, StripTags) {
    std::mt19937 rng(1);
    for (int i = 0; i < kRounds; ++i) {
        std::string in = RandomText(rng, "<>a<b>", 24), model = in;
        literal::StripTags(model);
        ASSERT_EQ(Apply(StripTags, in), model) << in;
    }
}

TEST(TextCutDifferential, CollapseBlankLinesAndDeleteSpacePairs) {
    std::mt19937 rng(2);
    for (int i = 0; i < kRounds; ++i) {
        std::string in = RandomText(rng, "\n\n a", 24), lines = in, spaces = in;
        const int deleted = literal::CollapseBlankLines(lines);
        std::vector<char> b(in.begin(), in.end());
        b.push_back('\0');
        ASSERT_EQ(CollapseBlankLines(b.data()), deleted) << in;
        ASSERT_EQ(std::string(b.data()), lines) << in;
        literal::DeleteSpacePairs(spaces);
        ASSERT_EQ(Apply([](char* t) { DeleteSpacePairs(t); }, in), spaces) << in;
    }
}

TEST(TextCutDifferential, ReplaceAll) {
    std::mt19937 rng(3);
    for (int i = 0; i < kRounds; ++i) {
        const std::string in = RandomText(rng, "aab\n", 20);
        const std::string searched = RandomText(rng, "ab\n", 3);
        const std::string replacement = RandomText(rng, "ab\n", 4);
        const std::size_t capacity = in.size() + 1 + rng() % 12;
        std::string model = in;
        const int result = literal::ReplaceAll(model, capacity, searched, replacement);
        std::vector<char> b(capacity, '\0');
        std::copy(in.begin(), in.end(), b.begin());
        ASSERT_EQ(ReplaceAll(b.data(), capacity, searched.c_str(), replacement.c_str()), result)
            << in << " / " << searched << " / " << replacement;
        ASSERT_EQ(std::string(b.data()), model) << in << " / " << searched << " / " << replacement;
    }
}

TEST(TextCutDifferential, ResolveParentPath) {
    std::mt19937 rng(4);
    for (int i = 0; i < kRounds / 10; ++i) {
        std::string in = RandomText(rng, "../a", 20), model = in;
        const int result = literal::ResolveParentPath(model);
        std::vector<char> b(in.begin(), in.end());
        b.push_back('\0');
        ASSERT_EQ(ResolveParentPath(b.data()), result) << in;
        ASSERT_EQ(std::string(b.data()), model) << in;
    }
}

}  // namespace
