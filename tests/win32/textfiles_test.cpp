// Text files on a real file system: exact bytes written, files read back whatever wrote them,
// listings, and hostile titles that must never put a file outside the folder.
#include "library/textfiles.h"

#include <windows.h>
#include <richedit.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "file_helpers.h"

namespace {

class TextFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadLibraryA("riched32.dll");
        LoadLibraryA("riched20.dll");
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "textfiles_" + std::to_string(GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name();
        folder_ = root_ + "\\inner\\folder";
        CreateDirectoryA(root_.c_str(), nullptr);
        CreateDirectoryA((root_ + "\\inner").c_str(), nullptr);
        CreateDirectoryA(folder_.c_str(), nullptr);
        edit_ = Control("EDIT");
        list_ = Control("LISTBOX");
    }
    void TearDown() override {
        for (HWND w : windows_) DestroyWindow(w);
        RemoveTree(root_);
    }
    HWND Control(const char* cls) {
        DWORD style = WS_POPUP | (strcmp(cls, "LISTBOX") ? ES_MULTILINE | ES_AUTOVSCROLL : 0);
        HWND w = CreateWindowExA(
            0, cls, "", style, 0, 0, 300, 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        EXPECT_NE(nullptr, w) << cls;
        windows_.push_back(w);
        return w;
    }
    std::string Text(HWND control) {
        char text[4096] = {};
        GetWindowTextA(control, text, sizeof text);
        return text;
    }
    std::vector<std::string> Entries() {
        std::vector<std::string> out;
        int count = static_cast<int>(SendMessageA(list_, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[600] = {};
            SendMessageA(list_, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            out.push_back(text);
        }
        return out;
    }

    std::string root_, folder_;
    HWND edit_ = nullptr, list_ = nullptr;
    std::vector<HWND> windows_;
};

TEST_F(TextFiles, WritesTheTextAndOneZeroByteUnderTheCleanedTitle) {
    SetWindowTextA(edit_, "abc");
    char path[TextPathCapacity];
    ASSERT_EQ(1, WriteTextFile(edit_, folder_.c_str(), "Q&A 1+1=2", path, sizeof path));
    std::string expected = folder_ + "\\Q＆A 1＋1=2.txt";
    EXPECT_EQ(expected, path);
    EXPECT_EQ(std::string("abc\0", 4), Slurp(expected));

    // Japanese text over several lines, as the edit control gives it; replaced on the next write.
    SetWindowTextA(edit_, "見出し\r\n表示する本文");
    ASSERT_EQ(1, WriteTextFile(edit_, folder_.c_str(), "Q&A 1+1=2"));
    EXPECT_EQ(std::string("見出し\r\n表示する本文\0", sizeof "見出し\r\n表示する本文"), Slurp(expected));
}

TEST_F(TextFiles, RichEditTextKeepsEveryDoubleByteCharacter) {
    // Rich edit counts characters where the file needs bytes.
    for (const char* cls : {"RICHEDIT", "RichEdit20A"}) {
        HWND rich = Control(cls);
        std::string text(200, 'x');
        for (int i = 0; i < 150; ++i) text += "記事";
        SendMessageA(rich, EM_EXLIMITTEXT, 0, 102400);
        SetWindowTextA(rich, text.c_str());
        char path[TextPathCapacity];
        ASSERT_EQ(1, WriteTextFile(rich, folder_.c_str(), cls, path, sizeof path)) << cls;
        EXPECT_EQ(text + std::string(1, '\0'), Slurp(path)) << cls;
    }
}

TEST_F(TextFiles, HostileTitlesNeverWriteOutsideTheFolder) {
    SetWindowTextA(edit_, "x");
    std::string longKanji;
    for (int i = 0; i < 150; ++i) longKanji += "漢";
    const std::vector<std::string> titles = {"..",
                                             "..\\..\\evil",
                                             "..\\evil",
                                             "/etc/passwd",
                                             "C:\\evil",
                                             "C:evil",
                                             "\\\\server\\share\\evil",
                                             "CON",
                                             "nul",
                                             "COM1",
                                             "LPT1",
                                             "con.txt",
                                             "AUX ",
                                             "a:b|c\"d<e>f*g?h",
                                             "tab\there\r\nline",
                                             std::string(300, 'a'),
                                             longKanji,
                                             "a" + longKanji,
                                             "abc\x82",
                                             "\x81/evil",
                                             "表\\ソ|"};
    for (const std::string& title : titles)
        EXPECT_EQ(1, WriteTextFile(edit_, folder_.c_str(), title.c_str())) << title;
    std::set<std::string> files;
    Walk(root_, "", &files);
    for (const std::string& f : files) EXPECT_EQ(0u, f.rfind("inner\\folder\\", 0)) << f;
    std::set<std::string> inFolder;
    Walk(folder_, "", &inFolder);
    EXPECT_EQ(titles.size(), inFolder.size());  // one file per title: none fell on a device or another name
    for (const std::string& f : inFolder) EXPECT_EQ(std::string("x\0", 2), Slurp(folder_ + "\\" + f)) << f;
    EXPECT_TRUE(inFolder.count("表＼ソ｜.txt"));
    EXPECT_TRUE(inFolder.count("CON_.txt"));
}

TEST_F(TextFiles, AFolderWithADotReceivesFilesAndAMissingFolderFails) {
    std::string dotted = root_ + "\\my.folder";
    CreateDirectoryA(dotted.c_str(), nullptr);
    SetWindowTextA(edit_, "abc");
    EXPECT_EQ(1, WriteTextFile(edit_, dotted.c_str(), "a.b"));
    EXPECT_TRUE(Exists(dotted + "\\a．b.txt"));
    DeleteFileA((dotted + "\\a．b.txt").c_str());
    RemoveDirectoryA(dotted.c_str());

    EXPECT_EQ(0, WriteTextFile(edit_, (root_ + "\\missing").c_str(), "a"));
    EXPECT_FALSE(Exists(root_ + "\\missing"));
    EXPECT_EQ(0, WriteTextFile(edit_, std::string(300, 'f').c_str(), "a"));
}

TEST_F(TextFiles, ReadsTextUpToTheFirstZeroByteWithLineFeedsFolded) {
    Put(folder_ + "\\plain.txt", "一行目\r\n二行目");  // written by another program, no zero byte
    ASSERT_EQ(1, ReadTextFile(edit_, (folder_ + "\\plain.txt").c_str()));
    EXPECT_EQ("一行目\n二行目", Text(edit_));
    Put(folder_ + "\\ours.txt", std::string("abc\0junk", 8));
    ASSERT_EQ(1, ReadTextFile(edit_, (folder_ + "\\ours.txt").c_str()));
    EXPECT_EQ("abc", Text(edit_));
    Put(folder_ + "\\empty.txt", "");
    ASSERT_EQ(1, ReadTextFile(edit_, (folder_ + "\\empty.txt").c_str()));
    EXPECT_EQ("", Text(edit_));

    SetWindowTextA(edit_, "kept");
    EXPECT_EQ(0, ReadTextFile(edit_, (folder_ + "\\missing.txt").c_str()));
    EXPECT_EQ("kept", Text(edit_));
}

TEST_F(TextFiles, ListsTextFilesOnlyBareOrNumbered) {
    Put(folder_ + "\\first.txt", "");
    Put(folder_ + "\\second.TXT", "");
    Put(folder_ + "\\other.log", "");
    CreateDirectoryA((folder_ + "\\sub.txt").c_str(), nullptr);
    ASSERT_EQ(2, ListTextFiles(list_, 2, folder_.c_str()));
    std::multiset<std::string> names = {ArticleNames[2][0], ArticleNames[2][1]};
    EXPECT_EQ((std::multiset<std::string>{"first", "second"}), names);
    EXPECT_EQ((std::vector<std::string>{ArticleNames[2][0], ArticleNames[2][1]}), Entries());

    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    ASSERT_EQ(2, ListTextFilesNumbered(list_, folder_.c_str()));
    EXPECT_EQ((std::vector<std::string>{std::string("1 ") + ArticleNames[1][0],
                                        std::string("2 ") + ArticleNames[1][1]}),
              Entries());
    RemoveDirectoryA((folder_ + "\\sub.txt").c_str());

    SendMessageA(list_, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(0, ListTextFiles(list_, 1, (root_ + "\\missing").c_str()));
    EXPECT_EQ(0u, Entries().size());
}

TEST_F(TextFiles, ListingStopsAtFiveHundred) {
    for (int i = 0; i < 503; ++i) Put(folder_ + "\\" + std::to_string(i) + ".txt", "");
    EXPECT_EQ(500, ListTextFiles(list_, 1, folder_.c_str()));
    EXPECT_EQ(500u, Entries().size());
    EXPECT_EQ(1, DeleteAllTextFiles(folder_.c_str()));
    std::set<std::string> left;
    Walk(folder_, "", &left);
    EXPECT_TRUE(left.empty());
}

TEST_F(TextFiles, DeleteAllTextFilesKeepsOtherFiles) {
    Put(folder_ + "\\a.txt", "");
    Put(folder_ + "\\b.txt", "");
    Put(folder_ + "\\keep.log", "");
    EXPECT_EQ(1, DeleteAllTextFiles(folder_.c_str()));
    std::set<std::string> left;
    Walk(folder_, "", &left);
    EXPECT_EQ((std::set<std::string>{"keep.log"}), left);
}

TEST_F(TextFiles, CopyWithTitleLineWritesTitleLineAndTextWithoutZeroByte) {
    std::string source = folder_ + "\\source.txt", target = root_ + "\\target.txt";
    Put(source, std::string("本文です\r\n二行目\0rest", sizeof "本文です\r\n二行目\0rest" - 1));
    ASSERT_EQ(1, CopyWithTitleLine("記事の題", source.c_str(), target.c_str()));
    EXPECT_EQ("記事の題\n本文です\r\n二行目", Slurp(target));

    Put(source, std::string(150000, 'z'));  // at most 102,400 bytes of the source
    ASSERT_EQ(1, CopyWithTitleLine("t", source.c_str(), target.c_str()));
    EXPECT_EQ("t\n" + std::string(102400, 'z'), Slurp(target));

    DeleteFileA(target.c_str());
    EXPECT_EQ(0, CopyWithTitleLine("t", (folder_ + "\\missing.txt").c_str(), target.c_str()));
    EXPECT_FALSE(Exists(target));
    EXPECT_EQ(0, CopyWithTitleLine("t", source.c_str(), (root_ + "\\missing\\x.txt").c_str()));
}

}  // namespace
