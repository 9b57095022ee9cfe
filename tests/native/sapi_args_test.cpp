// The speech library's format codes and the conversions of its exports' arguments.
#include <gtest/gtest.h>

#include <cwchar>

#include "tbspeech/sapi_args.h"

namespace {

TEST(RecordingFormatTest, EveryCodeGivesConsistentPcm) {
    const unsigned long rates[] = {8000, 11025, 16000, 22050, 32000, 44100};
    const int firstSapiFormats[] = {4, 8, 16, 20, 32, 36};
    for (int code = 1; code <= 24; code++) {
        SCOPED_TRACE(code);
        RecordingFormat f = {};
        ASSERT_TRUE(RecordingFormatForCode(code, &f));
        int group = (code - 1) / 4, variant = (code - 1) % 4;
        EXPECT_EQ(rates[group], f.samplesPerSecond);
        EXPECT_EQ(firstSapiFormats[group] + variant, f.sapiFormat);
        EXPECT_EQ(variant % 2 == 0 ? 1 : 2, f.channels);
        EXPECT_EQ(variant < 2 ? 8 : 16, f.bitsPerSample);
        EXPECT_EQ(f.channels * f.bitsPerSample / 8, f.blockAlign);
        EXPECT_EQ(f.samplesPerSecond * f.blockAlign, f.averageBytesPerSecond);
    }
}

TEST(RecordingFormatTest, TheTwoCodesTheProgramUses) {
    RecordingFormat f = {};
    ASSERT_TRUE(RecordingFormatForCode(11, &f));  // 16 kHz 16-bit mono
    EXPECT_EQ(18, f.sapiFormat);
    EXPECT_EQ(32000u, f.averageBytesPerSecond);
    ASSERT_TRUE(RecordingFormatForCode(24, &f));  // 44.1 kHz 16-bit stereo
    EXPECT_EQ(39, f.sapiFormat);
    EXPECT_EQ(4, f.blockAlign);
    EXPECT_EQ(176400u, f.averageBytesPerSecond);
}

TEST(RecordingFormatTest, UnknownCodesKeepThePreviousFormat) {
    RecordingFormat f = {};
    ASSERT_TRUE(RecordingFormatForCode(11, &f));
    for (int code : {0, -1, 25, 12345, -2147483647 - 1, 2147483647}) {
        EXPECT_FALSE(RecordingFormatForCode(code, &f)) << code;
        EXPECT_EQ(16000u, f.samplesPerSecond);
        EXPECT_EQ(18, f.sapiFormat);
    }
}

TEST(SpeakFlagsTest, PlayFlagsForTextsAndFiles) {
    // (isFileName, synchronous, isXml) -> SAPI flags; a text that is not markup says so (16).
    EXPECT_EQ(17u, PlaySpeakFlags(0, 0, 0));
    EXPECT_EQ(16u, PlaySpeakFlags(0, 1, 0));
    EXPECT_EQ(9u, PlaySpeakFlags(0, 0, 1));
    EXPECT_EQ(8u, PlaySpeakFlags(0, 1, 1));
    EXPECT_EQ(20u, PlaySpeakFlags(1, 0, 0));
    EXPECT_EQ(20u, PlaySpeakFlags(1, 1, 0));
    EXPECT_EQ(12u, PlaySpeakFlags(1, 0, 1));
    // Only exactly 1 counts for the synchronous and XML flags, any non-zero for the file name.
    EXPECT_EQ(17u, PlaySpeakFlags(0, 2, 2));
    EXPECT_EQ(20u, PlaySpeakFlags(-1, 0, 0));
}

TEST(SpeakFlagsTest, RecordFlagsAreNeverAsynchronousAndNeverGuessMarkup) {
    EXPECT_EQ(16u, RecordSpeakFlags(0, 0));
    EXPECT_EQ(8u, RecordSpeakFlags(0, 1));
    EXPECT_EQ(20u, RecordSpeakFlags(1, 0));
    EXPECT_EQ(12u, RecordSpeakFlags(7, 1));
    EXPECT_EQ(16u, RecordSpeakFlags(0, 2));
    EXPECT_EQ(40u, PitchSpeakFlags);
}

TEST(PitchMarkupTest, WritesTheMiddlePitchAndStaysInItsBuffer) {
    wchar_t buffer[64];
    PitchMarkup(5, buffer, 64);
    EXPECT_STREQ(L"<pitch middle=\"5\"/>", buffer);
    PitchMarkup(-10, buffer, 64);
    EXPECT_STREQ(L"<pitch middle=\"-10\"/>", buffer);
    wchar_t small[8] = L"xxxxxxx";
    PitchMarkup(3, small, 8);
    EXPECT_LT(wcslen(small), 8u);
}

TEST(VoiceTokenTest, LanguageValueNames) {
    wchar_t name[16];
    LanguageValueName(0x411, name, 16);
    EXPECT_STREQ(L"411", name);
    LanguageValueName(0x409, name, 16);
    EXPECT_STREQ(L"409", name);
    LanguageValueName(0, name, 16);
    EXPECT_STREQ(L"0", name);
}

TEST(VoiceTokenTest, SplitsIdentifiersAtTheirRoot) {
    const wchar_t* path = nullptr;
    EXPECT_EQ(TokenRoot::LocalMachine,
              SplitTokenId(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\A", &path));
    EXPECT_STREQ(L"SOFTWARE\\Microsoft\\Speech\\Voices\\Tokens\\A", path);
    EXPECT_EQ(TokenRoot::CurrentUser, SplitTokenId(L"HKEY_CURRENT_USER\\Software\\V", &path));
    EXPECT_STREQ(L"Software\\V", path);
    path = nullptr;
    EXPECT_EQ(TokenRoot::None, SplitTokenId(L"HKEY_CLASSES_ROOT\\X", &path));
    EXPECT_EQ(TokenRoot::None, SplitTokenId(L"HKEY_LOCAL_MACHINE", &path));
    EXPECT_EQ(TokenRoot::None, SplitTokenId(L"Wine Default Voice", &path));
    EXPECT_EQ(TokenRoot::None, SplitTokenId(nullptr, &path));
    EXPECT_EQ(nullptr, path);
}

TEST(VoiceTokenTest, LastPartNamesAVoiceWithoutDescription) {
    EXPECT_STREQ(L"Haruka", TokenIdLastPart(L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Voices\\Tokens\\Haruka"));
    EXPECT_STREQ(L"Wine Default Voice", TokenIdLastPart(L"Wine Default Voice"));
    EXPECT_STREQ(L"", TokenIdLastPart(L"Tokens\\"));
    EXPECT_STREQ(L"", TokenIdLastPart(nullptr));
}

}  // namespace
