#include "recording/recordpaths.h"

#include <cstdio>
#include <cstring>

namespace {

bool Fill(char* out, std::size_t capacity, int written) {
    if (written < 0 || static_cast<std::size_t>(written) >= capacity) {
        if (capacity > 0) out[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

bool ReservationFolder(const char* dataFolder, char* out, std::size_t capacity) {
    return Fill(out, capacity, std::snprintf(out, capacity, "%s\\NewsText", dataFolder));
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
