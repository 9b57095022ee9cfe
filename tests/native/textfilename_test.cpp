// The file-name rule: hostile titles must give one harmless file name inside the folder.
#include "library/textfilename.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "test_files.h"

namespace {

std::string FileName(const std::string& title, std::size_t capacity = TextPathCapacity) {
    Page page(title, capacity);
    MakeTextFileName(page.get(), capacity);
    EXPECT_TRUE(page.GuardIntact()) << title;
    return page.str();
}

bool IsLead(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// What Windows needs of a file name that stays in its folder: whole double-byte characters, no
// separator, drive, wildcard or control character, no dot but the extension's, no device name.
::testing::AssertionResult HarmlessName(const std::string& name) {
    if (name.size() < 4 || name.compare(name.size() - 4, 4, ".txt") != 0)
        return ::testing::AssertionFailure() << "no .txt: " << name;
    if (name.size() > TextTitleLimit + 4) return ::testing::AssertionFailure() << "too long: " << name.size();
    std::string title = name.substr(0, name.size() - 4);
    for (std::size_t i = 0; i < title.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(title[i]);
        if (IsLead(c)) {
            unsigned char t = i + 1 < title.size() ? static_cast<unsigned char>(title[i + 1]) : 0;
            if (t < 0x40 || t == 0x7F || t > 0xFC)
                return ::testing::AssertionFailure() << "broken character at " << i << ": " << name;
            ++i;
            continue;
        }
        if (c < 0x20 || strchr("\\/:*?\"<>|.", c))
            return ::testing::AssertionFailure() << "byte " << int(c) << " at " << i << ": " << name;
    }
    std::string base = title;
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    for (const char* device : {"CON", "PRN", "AUX", "NUL"})
        if (base == device) return ::testing::AssertionFailure() << "device: " << name;
    if (base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
        isdigit(static_cast<unsigned char>(base[3])))
        return ::testing::AssertionFailure() << "device: " << name;
    return ::testing::AssertionSuccess();
}

TEST(MakeTextFileName, ReplacesTheTwelveCharactersAndRemovesTags) {
    EXPECT_EQ(
        "Q\x81\x95"
        "A 1\x81\x7B"
        "1=2.txt",
        FileName("Q&A 1+1=2"));
    EXPECT_EQ("ac.txt", FileName("a<b>c"));
    EXPECT_EQ(
        "A\x81\x5E"
        "B\x81\x48 3\x81\x44"
        "5\x81\x93.txt",
        FileName("A/B? 3.5%"));
    EXPECT_EQ("\x81\x96\x81\x49\x81\x94\x81\x90\x81\x47\x81\x43.txt", FileName("*!#$;,"));
    EXPECT_EQ("news\x81\x44txt.txt", FileName("news.txt"));
    EXPECT_EQ(".txt", FileName(""));
    EXPECT_EQ(".txt", FileName("<b>"));
}

TEST(MakeTextFileName, KeepsDoubleByteCharactersWhoseTrailByteLooksLikeASeparator) {
    // The trail bytes of these two characters are '\' and '|'.
    EXPECT_EQ("\x95\x5C\x8E\xA6\x83\x7C.txt", FileName("\x95\x5C\x8E\xA6\x83\x7C"));
}

TEST(MakeTextFileName, NamesThatTryToLeaveTheFolderStayInIt) {
    EXPECT_EQ("\x81\x44\x81\x44.txt", FileName(".."));
    EXPECT_EQ(
        "\x81\x44\x81\x44\x81\x5F\x81\x44\x81\x44\x81\x5F"
        "evil.txt",
        FileName("..\\..\\evil"));
    EXPECT_EQ("C\x81\x46\x81\x5Fx.txt", FileName("C:\\x"));
    EXPECT_EQ("a \x81\x68\x81\x62\x81\x83 b.txt", FileName("a\t\"|< b"));
    // A lead byte whose next byte is a slash must not hide the slash.
    EXPECT_EQ("\x81\x5Ex.txt", FileName("\x81/x"));
    for (const char* title : {"..",
                              ".",
                              "...",
                              "/",
                              "\\",
                              "\\\\server\\share\\x",
                              "C:",
                              "c:evil",
                              "..\\..\\Windows\\win.ini",
                              "../../etc/passwd",
                              "a\r\nb",
                              "x>y",
                              "x<y",
                              "\x81",
                              "\x81\x0A",
                              "a\x9F",
                              "\xFC\\..\\x",
                              "name:stream",
                              "*?\x01\x1F"})
        EXPECT_TRUE(HarmlessName(FileName(title))) << title;
}

TEST(MakeTextFileName, DeviceNamesGetAnUnderscore) {
    EXPECT_EQ("CON_.txt", FileName("CON"));
    EXPECT_EQ("con _.txt", FileName("con "));
    EXPECT_EQ("Lpt1_.txt", FileName("Lpt1"));
    EXPECT_EQ("COM9_.txt", FileName("COM9"));
    EXPECT_EQ("NUL_.txt", FileName("<i>NUL</i>"));
    EXPECT_EQ("CONSOLE.txt", FileName("CONSOLE"));
    EXPECT_EQ("CON\x81\x44txt.txt", FileName("CON.txt"));
    for (const char* title : {"PRN", "aux", "nul", "COM1", "lpt9", "CON  "})
        EXPECT_TRUE(HarmlessName(FileName(title))) << title;
    EXPECT_EQ("CO_.txt", FileName("CON", 8));  // no room for four letters and the underscore
}

TEST(MakeTextFileName, LongTitlesAreCutOnACharacterBoundary) {
    EXPECT_EQ(std::string(160, 'a') + ".txt", FileName(std::string(300, 'a')));
    std::string kana;
    for (int i = 0; i < 150; ++i) kana += "\x82\xA0";
    // 80 characters of two bytes fit in the 160 bytes of a title.
    EXPECT_EQ(kana.substr(0, 160) + ".txt", FileName(kana));
    EXPECT_EQ("a" + kana.substr(0, 158) + ".txt", FileName("a" + kana));
    EXPECT_EQ("ab" + kana.substr(0, 158) + ".txt", FileName("ab" + kana));
    // Replacements double a character: 100 dots become 100 full-width dots.
    std::string dots = FileName(std::string(200, '.'));
    EXPECT_EQ(164u, dots.size());
    EXPECT_TRUE(HarmlessName(dots));
    // Half a character at the end of a title that was cut before it arrived.
    EXPECT_EQ("abc.txt", FileName("abc\x82"));
    EXPECT_EQ(std::string("ab.txt"), FileName("ab\x82\xA0", 8));
    EXPECT_EQ("", FileName("abc", 4));
}

TEST(MakeTextFilePath, TheRuleAppliesToTheTitleOnly) {
    char path[TextPathCapacity];
    ASSERT_EQ(1, MakeTextFilePath(path, sizeof path, "C:\\Data\\ScrapBook\\My.Folder", "../a.b"));
    EXPECT_STREQ(
        "C:\\Data\\ScrapBook\\My.Folder\\\x81\x44\x81\x44\x81\x5E"
        "a\x81\x44"
        "b.txt",
        path);
    ASSERT_EQ(1, MakeTextFilePath(path, sizeof path, "", "Temp"));
    EXPECT_STREQ("Temp.txt", path);
}

TEST(MakeTextFilePath, TheWholePathFitsInItsBuffer) {
    std::string folder = "C:\\" + std::string(200, 'f');
    Page page("", TextPathCapacity);
    ASSERT_EQ(1,
              MakeTextFilePath(page.get(), TextPathCapacity, folder.c_str(), std::string(300, 'x').c_str()));
    EXPECT_TRUE(page.GuardIntact());
    std::string path = page.str();
    EXPECT_EQ(TextPathCapacity - 1, path.size());
    EXPECT_TRUE(HarmlessName(path.substr(folder.size() + 1)));

    std::string full = "C:\\" + std::string(252, 'f');
    EXPECT_EQ(0, MakeTextFilePath(page.get(), TextPathCapacity, full.c_str(), "x"));
    EXPECT_EQ("", page.str());
    EXPECT_TRUE(page.GuardIntact());
}

// Random titles built from the bytes that matter: whatever they hold, the name is harmless and
// the buffer is never overrun.
TEST(MakeTextFileName, RandomHostileTitlesGiveHarmlessNames) {
    const std::string alphabet =
        std::string("\\/:*?\"<>|.+!#$%&;, aCNOULPT19\t\r\n\x7F") + "\x81\x82\x9F\xE0\xFC\xFD\xA0\x5C\x40\xA6";
    std::mt19937 random(17);
    for (int round = 0; round < 3000; ++round) {
        std::string title;
        std::size_t length = random() % 320;
        for (std::size_t i = 0; i < length; ++i) title += alphabet[random() % alphabet.size()];
        std::size_t capacity = 5 + random() % 300;
        std::string name = FileName(title, capacity);
        ASSERT_TRUE(HarmlessName(name)) << "title of " << title.size() << " bytes";
        ASSERT_LT(name.size(), capacity);
    }
}

TEST(TextFileTitle, DropsTheExtensionOfTextFilesOnly) {
    char title[16];
    ASSERT_EQ(1, TextFileTitle("news.txt", title, sizeof title));
    EXPECT_STREQ("news", title);
    ASSERT_EQ(1, TextFileTitle("NEWS.TXT", title, sizeof title));
    EXPECT_STREQ("NEWS", title);
    ASSERT_EQ(1, TextFileTitle(".txt", title, sizeof title));
    EXPECT_STREQ("", title);
    EXPECT_EQ(0, TextFileTitle("news.log", title, sizeof title));
    EXPECT_EQ(0, TextFileTitle("txt", title, sizeof title));
    EXPECT_EQ(0, TextFileTitle("abcd.txt", title, 4));  // no room: nothing half copied
}

TEST(IsFolderNameUsable, RefusesNamesThatLeaveTheRootOrCannotBeCreated) {
    for (const char* name :
         {"ScrapBook", "\x83\x6A\x83\x85\x81\x5B\x83\x58", "my.folder", "a b", "CONSOLE", "\x95\x5C", "COMA"})
        EXPECT_TRUE(IsFolderNameUsable(name)) << name;
    for (const char* name :
         {"",    ".",    "..", "...", "..\\x", "a\\b",  "a/b", "C:",      "a*",   "a?",   "a\"b",       "<a>",
          "a|b", "a\tb", "x.", "x ",  "\x81",  "\x81/", "CON", "con.txt", "Nul ", "LPT9", "com1.folder"})
        EXPECT_FALSE(IsFolderNameUsable(name)) << name;
    EXPECT_TRUE(IsFolderNameUsable(std::string(259, 'a').c_str()));
    EXPECT_FALSE(IsFolderNameUsable(std::string(260, 'a').c_str()));
}

}  // namespace
