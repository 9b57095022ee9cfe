// The body commands against a real Rich Edit control: the control counts characters while the
// search runs over Shift-JIS bytes, so a match must land the caret on the matched characters,
// also after line breaks and beyond character 65,535. And the clipboard copy with its failure.
#include <windows.h>

#include <richedit.h>

#include <gtest/gtest.h>

#include <string>

#include "app/article/articleview.h"
#include "app/article/bodyview.h"
#include "app/article/clipboard.h"
#include "app/article/search.h"
#include "app/state/shell.h"
#include "speech/reading_lines.h"
#include "test_windows.h"
#include "win/plaintext.h"

namespace {

const std::string Mark = "目印";

class BodyViewTest : public ::testing::Test {
  protected:
    void SetUp() override {
        LoadLibraryA("riched32.dll");
        savedBody_ = BodyView;
        view_ = MakeTestWindow("RICHEDIT", WS_POPUP | ES_MULTILINE | ES_READONLY);
        ASSERT_NE(nullptr, view_);
        SendMessageA(view_, EM_EXLIMITTEXT, 0, BodyTextLimit);
        BodyView = view_;
        FindTarget = 2;
    }
    void TearDown() override {
        DestroyWindow(view_);
        BodyView = savedBody_;
        FindText[0] = '\0';
        FindTarget = 0;
    }

    // The characters of the control at [position, position + count), cut from its whole text.
    std::string TextAt(long position, long count) {
        std::string text = BodyText();
        size_t begin = SjisCharsToBytes(text.data(), text.size(), position);
        size_t end = SjisCharsToBytes(text.data(), text.size(), position + count);
        return text.substr(begin, end - begin);
    }

    HWND view_ = nullptr;
    HWND savedBody_ = nullptr;
};

TEST_F(BodyViewTest, MatchesLandTheCaretOnTheMatchedCharacters) {
    std::string text = "見出し\r\nアAあ目印です\r\n\r\nabc目印\r\n";
    SetWindowTextA(view_, text.c_str());
    ASSERT_EQ(text, BodyText());
    strcpy(FindText, Mark.c_str());
    SetBodyCaret(0);
    FindNext();
    long first = BodyCaret();
    EXPECT_EQ(Mark, TextAt(first, 2));
    FindNext();
    long second = BodyCaret();
    EXPECT_GT(second, first);
    EXPECT_EQ(Mark, TextAt(second, 2));
    // Nothing after the last match: the caret stays.
    FindNext();
    EXPECT_EQ(second, BodyCaret());
    FindPrevious();
    EXPECT_EQ(first, BodyCaret());
    // "A" is found as the letter, not as the second byte of "ア".
    strcpy(FindText, "A");
    SetBodyCaret(0);
    FindNext();
    EXPECT_EQ("A", TextAt(BodyCaret(), 1));
}

TEST_F(BodyViewTest, SearchesBeyondCharacter65535StartAtTheCaret) {
    std::string text = Mark + "\r\n";
    for (int i = 0; i < 70000; ++i) text += (i % 50 == 49) ? "\r\n" : "あ";
    text += Mark + "x";
    SetWindowTextA(view_, text.c_str());
    strcpy(FindText, Mark.c_str());
    SetBodyCaret(66000);
    ASSERT_EQ(66000, BodyCaret());
    FindNext();
    long found = BodyCaret();
    EXPECT_GT(found, 70000);
    EXPECT_EQ(Mark + "x", TextAt(found, 3));
    FindPrevious();
    EXPECT_EQ(0, BodyCaret());
}

// A page whose text is a rich-text document: hidden text, a picture for the image decoders.
const std::string RtfPage =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 x;}}見える\\v 隠し\\v0{\\pict\\pngblip 89504e470d0a1a0a}}\r\n"
    "二行目 {\\rtf1 b}";

TEST_F(BodyViewTest, PageTextThatIsRichTextIsShownAsItsCharacters) {
    ShowPageText(1, RtfPage.c_str());
    EXPECT_EQ(RtfPage, BodyText());
    EXPECT_EQ(0, BodyCaret());
    EXPECT_FALSE(SendMessageA(view_, EM_CANUNDO, 0, 0));
    EXPECT_FALSE(SendMessageA(view_, EM_GETMODIFY, 0, 0));
    // Plain text with line breaks fills the control exactly as set-text does.
    std::string plain = "見出し\r\nアAあ目印です\r\n\r\nabc";
    ShowPageText(1, plain.c_str());
    EXPECT_EQ(plain, BodyText());
}

TEST(PlainRichText, BothClassesTakeRichTextLiterallyWholeAndUndoably) {
    LoadLibraryA("riched32.dll");
    LoadLibraryA("riched20.dll");
    for (const char* cls : {"RICHEDIT", "RichEdit20A"}) {
        HWND rich = MakeTestWindow(cls, WS_POPUP | ES_MULTILINE);
        ASSERT_NE(nullptr, rich) << cls;
        // A limit below the text's length does not cut it, as it does not cut set-text.
        SendMessageA(rich, EM_EXLIMITTEXT, 0, 8);
        win::SetRichEditPlainText(rich, RtfPage.c_str());
        char text[512] = {};
        GetWindowTextA(rich, text, sizeof text);
        EXPECT_EQ(RtfPage, text) << cls;

        // A title line put before the text stays literal too, and one undo takes it away.
        win::SetRichEditPlainText(rich, "本文");
        SendMessageA(rich, EM_SETSEL, 0, 0);
        win::ReplaceRichEditSelectionPlain(rich, "{\\rtf1 題}\r\n");
        GetWindowTextA(rich, text, sizeof text);
        EXPECT_EQ(std::string("{\\rtf1 題}\r\n本文"), text) << cls;
        SendMessageA(rich, EM_UNDO, 0, 0);
        GetWindowTextA(rich, text, sizeof text);
        EXPECT_EQ(std::string("本文"), text) << cls;
        DestroyWindow(rich);
    }
}

TEST(Clipboard, CopiesTheTextAndReportsAClipboardItCannotOpen) {
    HWND owner = MakeTestWindow("STATIC", WS_POPUP);
    HWND other = MakeTestWindow("STATIC", WS_POPUP);
    std::string text = "記事タイトル\nhttps://localhost/a.html";
    ASSERT_EQ(1, CopyToClipboard(owner, text.c_str()));
    ASSERT_TRUE(OpenClipboard(other));
    HANDLE data = GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(text, static_cast<const char*>(GlobalLock(data)));
    GlobalUnlock(data);
    // While another window holds the clipboard open, the copy fails and says so.
    EXPECT_EQ(0, CopyToClipboard(owner, "x"));
    CloseClipboard();
    DestroyWindow(owner);
    DestroyWindow(other);
}

}  // namespace
