// The recording's names, command line, voice arguments and closing message.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "recording/recordformat.h"
#include "recording/recordpaths.h"
#include "recording/recordsummary.h"

namespace {

const char* Data = "c:\\ProgramData\\Morvick\\Tavlo";

TEST(RecordingPaths, OneReservationNamesItsTextWaveMp3AndTheConverterRun) {
    char text[RecordPathCapacity], base[RecordPathCapacity], wave[RecordPathCapacity],
        mp3[RecordPathCapacity];
    char converter[RecordPathCapacity], command[ConverterCommandCapacity];
    const char* name = "A／B？ 3．5％";
    ASSERT_TRUE(ReservationFolder(Data, base, sizeof base));
    EXPECT_STREQ("c:\\ProgramData\\Morvick\\Tavlo\\NewsText", base);
    ASSERT_TRUE(ReservationFilePath(Data, name, text, sizeof text));
    EXPECT_STREQ("c:\\ProgramData\\Morvick\\Tavlo\\NewsText\\A／B？ 3．5％.txt", text);
    ASSERT_TRUE(RecordingWavePath(Data, name, wave, sizeof wave));
    EXPECT_STREQ("c:\\ProgramData\\Morvick\\Tavlo\\mp3\\A／B？ 3．5％.wav", wave);
    ASSERT_TRUE(RecordingMp3Path(wave, mp3, sizeof mp3));
    EXPECT_STREQ("c:\\ProgramData\\Morvick\\Tavlo\\mp3\\A／B？ 3．5％.mp3", mp3);
    ASSERT_TRUE(ConverterPath("C:\\Program Files\\Tavlo", converter, sizeof converter));
    EXPECT_STREQ("C:\\Program Files\\Tavlo\\TBAudio\\TBAudio.exe", converter);
    ASSERT_TRUE(ConverterCommandLine(converter, wave, mp3, command, sizeof command));
    EXPECT_EQ(std::string("\"C:\\Program Files\\Tavlo\\TBAudio\\TBAudio.exe\" "
                          "\"c:\\ProgramData\\Morvick\\Tavlo\\mp3\\A／B？ 3．5％.wav\" "
                          "\"c:\\ProgramData\\Morvick\\Tavlo\\mp3\\A／B？ 3．5％.mp3\""),
              command);
}

TEST(RecordingPaths, APathThatDoesNotFitIsRefusedNotCut) {
    char out[RecordPathCapacity];
    std::string folder = "c:\\d";  // "c:\d\mp3\" is 9 bytes, ".wav" 4, the NUL 1
    std::string fits(RecordPathCapacity - 14, 'x');
    EXPECT_TRUE(RecordingWavePath(folder.c_str(), fits.c_str(), out, sizeof out));
    EXPECT_EQ(RecordPathCapacity - 1, std::strlen(out));
    std::string tooLong = fits + "y";
    EXPECT_FALSE(RecordingWavePath(folder.c_str(), tooLong.c_str(), out, sizeof out));
    EXPECT_STREQ("", out);
    EXPECT_FALSE(RecordingMp3Path("wav", out, sizeof out));

    char command[ConverterCommandCapacity];
    std::string path(200, 'p');
    EXPECT_FALSE(ConverterCommandLine(path.c_str(), path.c_str(), path.c_str(), command, sizeof command));
    EXPECT_STREQ("", command);
}

TEST(RecordingFormat, SettingsBecomeTheSpeechLibraryArguments) {
    // The first-run defaults: 100 % volume, neutral speed and pitch, MP3.
    RecordingVoiceArgs args = RecordingArgs(0, 20, 10, 10, 0);
    EXPECT_EQ(0, args.voice);
    EXPECT_EQ(100, args.volume);
    EXPECT_EQ(0, args.rate);
    EXPECT_EQ(0, args.pitch);
    EXPECT_EQ(24, args.formatCode);
    args = RecordingArgs(3, 0, 20, 0, 1);
    EXPECT_EQ(3, args.voice);
    EXPECT_EQ(0, args.volume);
    EXPECT_EQ(10, args.rate);
    EXPECT_EQ(-10, args.pitch);
    EXPECT_EQ(11, args.formatCode);
    EXPECT_EQ(11, RecordingArgs(0, 0, 0, 0, 7).formatCode);
    // Values no dialog can store stay in the library's ranges.
    args = RecordingArgs(-2, 99, -5, 21, 0);
    EXPECT_EQ(0, args.voice);
    EXPECT_EQ(100, args.volume);
    EXPECT_EQ(-10, args.rate);
    EXPECT_EQ(10, args.pitch);
    EXPECT_STREQ("0%", RecordStepLabels[0]);
    EXPECT_STREQ("50%", RecordStepLabels[10]);
    EXPECT_STREQ("100%", RecordStepLabels[20]);
}

TEST(RecordingSummary, TheClosingMessageCountsEachKindOfFailure) {
    char text[ConversionSummaryCapacity];
    ConversionTally tally = {3, 0, 0};
    ConversionSummaryText(tally, text, sizeof text);
    EXPECT_STREQ("録音作業が終了しました。", text);
    EXPECT_FALSE(ConversionFailed(tally));

    tally = {3, 0, 2};
    ConversionSummaryText(tally, text, sizeof text);
    EXPECT_STREQ(
        "録音作業が終了しました。\n3件中2件の記事はMP3ファイルに変換できなかったため、Waveファイルのまま保存"
        "しました。",
        text);
    EXPECT_TRUE(ConversionFailed(tally));

    tally = {4, 1, 1};
    ConversionSummaryText(tally, text, sizeof text);
    EXPECT_NE(nullptr,
              std::strstr(text, "4件中1件の記事は録音できませんでした。予約はそのまま残っています。"));
    EXPECT_NE(nullptr, std::strstr(text, "4件中1件の記事はMP3ファイルに変換できなかった"));

    char small[20];
    ConversionSummaryText(tally, small, sizeof small);
    EXPECT_LT(std::strlen(small), sizeof small);
}

}  // namespace
