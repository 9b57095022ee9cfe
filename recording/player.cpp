#include "recording/player.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "library/webaddress.h"
#include "retrieval/sjis.h"

std::atomic<int32_t> PlayState{PlayClosed};
std::atomic<int32_t> PlayerCommand{PlayerNoCommand};
std::atomic<double> PlayerDuration{0};
std::atomic<uint32_t> PlayerSession{0};

namespace {

constexpr std::size_t AnnouncementCapacity = 64;

void Say(PlayerSpeaker speak, void* context, const char* format, double seconds) {
    char text[AnnouncementCapacity];
    FormatPlayerTime(text, sizeof text, format, seconds);
    speak(text, context);
}

}  // namespace

int32_t SeekCommand(bool forward, bool ctrl) {
    if (forward) return ctrl ? PlayerForward60 : PlayerForward10;
    return ctrl ? PlayerBack60 : PlayerBack10;
}

double SeekTarget(int32_t command, double position, double duration) {
    double step = 0;
    switch (command) {
        case PlayerRewind:
            return 0;
        case PlayerBack10:
            step = -10;
            break;
        case PlayerForward10:
            step = 10;
            break;
        case PlayerBack60:
            step = -60;
            break;
        case PlayerForward60:
            step = 60;
            break;
        default:
            return position;
    }
    if (step < 0) return position < -step ? 0 : position + step;
    return duration > position + step ? position + step : position;
}

uint32_t PlayerVolumeWord(int level) {
    if (level < 0) level = 0;
    if (level > PlayerVolumeTop) level = PlayerVolumeTop;
    const uint32_t channel = static_cast<uint32_t>(level * PlayerVolumeStep);
    return (channel << 16) | channel;
}

int PlayerVolumeLevel(uint32_t word) { return static_cast<int>((word >> 16) / PlayerVolumeStep); }

int RaisePlayerVolume(int level) { return level < PlayerVolumeTop ? level + 1 : PlayerVolumeTop; }

int LowerPlayerVolume(int level) { return level > 0 ? level - 1 : 0; }

void FormatPlayerTime(char* out, std::size_t capacity, const char* format, double seconds) {
    if (capacity == 0) return;
    // Also catches NaN: an unknown time is 0.
    const long whole = seconds >= 1 && seconds < 1e9 ? static_cast<long>(seconds) : 0;
    std::snprintf(out, capacity, format, static_cast<int>(whole / 60), static_cast<int>(whole % 60));
}

bool IsPlayableAddress(const char* address) {
    if (!IsWebAddress(address)) return false;
    for (const char* p = address; *p; ++p) {
        if (SjisIsLead(static_cast<unsigned char>(*p)) && p[1])
            ++p;
        else if (*p == '\\')
            return false;
    }
    return true;
}

void PlayerDownloadName(const char* address, char* name, std::size_t capacity) {
    if (capacity == 0) return;
    // The last path segment: after the last '/', before any query or fragment.
    std::size_t end = std::strcspn(address, "?#");
    std::size_t start = end;
    while (start > 0 && address[start - 1] != '/') --start;
    const char* dot = nullptr;
    for (std::size_t i = start; i < end; ++i)
        if (address[i] == '.') dot = address + i;
    char extension[8] = "dat";
    if (dot) {
        std::size_t n = static_cast<std::size_t>(address + end - dot - 1);
        bool plain = n > 0 && n <= 5;
        for (std::size_t i = 0; plain && i < n; ++i)
            plain = std::isalnum(static_cast<unsigned char>(dot[1 + i]));
        if (plain) {
            std::memcpy(extension, dot + 1, n);
            extension[n] = '\0';
        }
    }
    std::snprintf(name, capacity, "player.%s", extension);
}

bool PlayerTick(PlayerMedia& media, double duration, PlayerSpeaker speak, void* context) {
    const int32_t state = PlayState.load();
    if (state == PlayClosed) {
        media.Stop();
        return false;
    }
    if (state == PlayPlaying) media.Run();
    if (state == PlayStopped) media.Stop();

    const int32_t command = PlayerCommand.exchange(PlayerNoCommand);
    if (command >= PlayerRewind && command <= PlayerForward60) {
        media.Stop();
        const double target = SeekTarget(command, command == PlayerRewind ? 0 : media.Position(), duration);
        media.SetPosition(target);
        media.Run();
        if (PlayState.load() == PlayStopped) Say(speak, context, "%d分%d秒", target);
    } else if (command == PlayerSayPosition) {
        Say(speak, context, "再生位置 %d分%d秒", media.Position());
    }

    // A stream of unknown length (duration 0) has no end to reach.
    if (duration > 0 && media.Position() >= duration) {
        media.Stop();
        media.SetPosition(0);
        speak("再生完了", context);
        PlayState.store(PlayStopped);
    }
    return true;
}
