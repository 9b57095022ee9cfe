// Drives the rules that turn hostile titles into file names and paths: the text-file name of
// a headline, the path in a folder, the folder-name check, the path chosen in the save dialog
// taken apart, the recording's paths and the name a fetched stream is kept under. Whatever a
// title holds, the name made from it names one plain file: no separator, no device, no
// character the file system refuses, no broken double-byte character, within its buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/article/savepath.h"
#include "library/textfilename.h"
#include "recording/player.h"
#include "recording/recordpaths.h"
#include "retrieval/sjis.h"

namespace {

// Names the broken rule before the fuzzer reports the input.
#define Check(ok) \
    ((ok) ? (void)0 : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #ok), std::abort()))

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool IsDevice(std::string base) {
    while (!base.empty() && base.back() == ' ') base.pop_back();
    for (char& c : base) c = Upper(c);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
    return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
           base[3] >= '0' && base[3] <= '9';
}

// Every character whole, nothing the file system refuses or reads as a separator.
bool PlainCharacters(const std::string& s, bool dotsAllowed) {
    for (std::size_t i = 0; i < s.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (SjisIsLead(c)) {
            if (i + 1 >= s.size()) return false;
            const unsigned char t = static_cast<unsigned char>(s[i + 1]);
            if (t < 0x40 || t > 0xFC || t == 0x7F) return false;
            ++i;
            continue;
        }
        if (c < 0x20 || std::strchr("\\/:*?\"<>|", c)) return false;
        if (!dotsAllowed && c == '.') return false;
    }
    return true;
}

// A file name the rule made: the cleaned title, ".txt", nothing else.
void CheckFileName(const std::string& name) {
    Check(name.size() >= 4 && name.size() <= TextTitleLimit + 4);
    Check(name.compare(name.size() - 4, 4, ".txt") == 0);
    const std::string stem = name.substr(0, name.size() - 4);
    Check(PlainCharacters(stem, false));
    Check(!IsDevice(stem));
}

// A buffer of exactly n bytes, never a null pointer: a touch of a 0-byte one is reported.
struct Buffer {
    std::unique_ptr<char[]> bytes;
    std::size_t size;
    explicit Buffer(std::size_t n) : bytes(new char[n]()), size(n) {}
    char* data() { return bytes.get(); }
    char& operator[](std::size_t i) { return bytes[i]; }
};

std::string Text(FuzzedDataProvider& in, std::size_t most) {
    std::string s = in.ConsumeRandomLengthString(most);
    return std::string(s.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t nameCapacity = in.ConsumeIntegralInRange<std::size_t>(0, 200);
    const std::size_t pathCapacity = in.ConsumeIntegralInRange<std::size_t>(0, TextPathCapacity);
    const std::size_t folderCapacity = in.ConsumeIntegralInRange<std::size_t>(0, 80);
    const std::size_t titleCapacity = in.ConsumeIntegralInRange<std::size_t>(0, 80);
    const std::string folder = Text(in, 120);
    const std::string title = in.ConsumeRemainingBytesAsString();

    // In place, in a buffer of exactly nameCapacity bytes that the title may fill unterminated.
    Buffer name(nameCapacity);
    std::memcpy(name.data(), title.data(), std::min(title.size(), nameCapacity));
    const std::size_t length = MakeTextFileName(name.data(), name.size);
    if (nameCapacity > 0) {
        Check(length < nameCapacity && name[length] == '\0');
        if (length > 0) CheckFileName(std::string(name.data()));
    }

    Buffer path(pathCapacity);
    if (MakeTextFilePath(path.data(), path.size, folder.c_str(), title.c_str())) {
        Check(std::memchr(path.data(), '\0', path.size) != nullptr);
        const std::string made(path.data());
        std::string expected = folder;
        if (!folder.empty()) expected += '\\';
        Check(made.compare(0, expected.size(), expected) == 0);
        CheckFileName(made.substr(expected.size()));
    } else if (pathCapacity > 0) {
        Check(path[0] == '\0');
    }

    if (IsFolderNameUsable(title.c_str())) {
        const std::string usable(title.c_str());
        Check(PlainCharacters(usable, true) && usable.size() < TextPathCapacity);
        Check(usable.back() != '.' && usable.back() != ' ');
        Check(!IsDevice(usable.substr(0, usable.find('.'))));
    }

    // The save dialog's path: folder and title, each within its buffer.
    Buffer savedFolder(folderCapacity), savedTitle(titleCapacity);
    const std::string chosen = folder + "\\" + title.c_str();
    if (SplitSavePath(chosen.c_str(), savedFolder.data(), savedFolder.size, savedTitle.data(),
                      savedTitle.size)) {
        Check(titleCapacity > 0 && savedTitle[0] != '\0');
        // The folder whole up to a separator, never cut.
        const std::size_t kept = std::strlen(savedFolder.data());
        Check(kept > 0 && chosen.compare(0, kept, savedFolder.data()) == 0 && chosen[kept] == '\\');
        Check(std::memchr(savedTitle.data(), '\0', savedTitle.size) != nullptr);
    }
    if (folderCapacity > 0) {
        Check(std::memchr(savedFolder.data(), '\0', savedFolder.size) != nullptr);
        Check(chosen.compare(0, std::strlen(savedFolder.data()), savedFolder.data()) == 0);
    }

    // The recording's paths are whole or empty, never cut.
    char out[RecordPathCapacity];
    const std::size_t capacity = 1 + pathCapacity % RecordPathCapacity;
    if (ReservationFilePath(folder.c_str(), title.c_str(), out, capacity))
        Check(std::strlen(out) == folder.size() + std::strlen(title.c_str()) + 14);
    else
        Check(out[0] == '\0');
    if (RecordingWavePath(folder.c_str(), title.c_str(), out, capacity)) {
        char mp3[RecordPathCapacity];
        if (RecordingMp3Path(out, mp3, sizeof mp3)) Check(std::strlen(mp3) == std::strlen(out));
    }
    char command[ConverterCommandCapacity];
    if (!ConverterCommandLine(folder.c_str(), title.c_str(), folder.c_str(), command, capacity))
        Check(command[0] == '\0');

    // The stream's file name: "player." and a plain extension only.
    char stream[16];
    PlayerDownloadName(title.c_str(), stream, sizeof stream);
    const std::string kept(stream);
    Check(kept.compare(0, 7, "player.") == 0 && kept.size() <= 12);
    for (std::size_t i = 7; i < kept.size(); ++i)
        Check((kept[i] >= '0' && kept[i] <= '9') || (kept[i] >= 'a' && kept[i] <= 'z') ||
              (kept[i] >= 'A' && kept[i] <= 'Z'));
    return 0;
}
