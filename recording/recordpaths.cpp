#include "recording/recordpaths.h"

#include <cstdio>
#include <cstring>

#include "retrieval/sjis.h"

namespace {

bool Fill(char* out, std::size_t capacity, int written) {
    if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
        if (capacity > 0) out[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

bool ReservationBasePath(const char* dataFolder, const char* title, char* out, std::size_t capacity) {
    return Fill(out, capacity, std::snprintf(out, capacity, "%s\\NewsText\\%s", dataFolder, title));
}

bool ReservationFilePath(const char* dataFolder, const char* name, char* out, std::size_t capacity) {
    return Fill(out, capacity, std::snprintf(out, capacity, "%s\\NewsText\\%s.txt", dataFolder, name));
}

bool RecordingWavePath(const char* dataFolder, const char* name, char* out, std::size_t capacity) {
    return Fill(out, capacity, std::snprintf(out, capacity, "%s\\mp3\\%s.wav", dataFolder, name));
}

bool RecordingMp3Path(const char* wavePath, char* out, std::size_t capacity) {
    std::size_t length = std::strlen(wavePath);
    if (length < 4) return Fill(out, capacity, -1);
    return Fill(
        out, capacity, std::snprintf(out, capacity, "%.*s.mp3", static_cast<int>(length - 4), wavePath));
}

bool ConverterPath(const char* programFolder, char* out, std::size_t capacity) {
    return Fill(out, capacity, std::snprintf(out, capacity, "%s\\TBAudio\\TBAudio.exe", programFolder));
}

bool ConverterCommandLine(const char* converter, const char* wave, const char* mp3, char* out,
                          std::size_t capacity) {
    return Fill(out, capacity, std::snprintf(out, capacity, "\"%s\" \"%s\" \"%s\"", converter, wave, mp3));
}

bool IsStorableFileTitle(const char* title) {
    if (!title || !*title) return false;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(title); *p; p++) {
        if (SjisIsLead(*p)) {
            if (!p[1]) return false;  // a lead byte without its trail byte
            p++;
            continue;
        }
        if (*p < 0x20 || *p == '\\' || *p == ':' || *p == '"' || *p == '|') return false;
    }
    return true;
}
