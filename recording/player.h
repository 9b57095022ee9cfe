// The audio player's rules apart from any window or media framework: the states and
// commands the dialog hands to the player thread, the volume steps, the seek steps,
// the spoken times, and one tick of the thread's loop against the playback it drives.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// PlayState: 0 the dialog has closed (the thread ends), 1 playing, 2 stopped.
constexpr int32_t PlayClosed = 0;
constexpr int32_t PlayPlaying = 1;
constexpr int32_t PlayStopped = 2;

// PlayerCommand: the pending command for the thread, taken once; 0 is none.
constexpr int32_t PlayerNoCommand = 0;
constexpr int32_t PlayerRewind = 1;       // Backspace: back to the beginning
constexpr int32_t PlayerBack10 = 2;       // Left
constexpr int32_t PlayerForward10 = 3;    // Right
constexpr int32_t PlayerBack60 = 4;       // Ctrl+Left
constexpr int32_t PlayerForward60 = 5;    // Ctrl+Right
constexpr int32_t PlayerSayPosition = 6;  // 4

extern std::atomic<int32_t> PlayState;
extern std::atomic<int32_t> PlayerCommand;
// The length in seconds as the player thread read it (0 until then, or when unknown).
extern std::atomic<double> PlayerDuration;
// Counts the openings of the player: a thread whose opening is no longer the latest one ends
// without playing (its dialog closed while it was still fetching).
extern std::atomic<uint32_t> PlayerSession;

// The seek command for Left (forward false) or Right, with or without Ctrl.
int32_t SeekCommand(bool forward, bool ctrl);

// The position a seek command leads to: back never before 0, forward only when the
// duration lies beyond the new position (otherwise the position stays). Rewind gives 0;
// any other command leaves the position as it is.
double SeekTarget(int32_t command, double position, double duration);

// Volume levels 0 to 20, both channels at 3276 times the level. Each opening starts at 10.
constexpr int PlayerVolumeStep = 3276;
constexpr int PlayerVolumeTop = 20;
constexpr int PlayerVolumeStart = 10;
// The wave-out volume word of a level: right channel in the high word, left in the low.
uint32_t PlayerVolumeWord(int level);
// The level of a volume word: its right channel divided by the step.
int PlayerVolumeLevel(uint32_t word);
// One step up or down, held at 20 and 0.
int RaisePlayerVolume(int level);
int LowerPlayerVolume(int level);

// A time in seconds truncated to whole seconds, formatted with its minutes and seconds by
// format (two %d, e.g. "長さ %d分%d秒"), cut to capacity. Negative and unknown times are 0.
void FormatPlayerTime(char* out, std::size_t capacity, const char* format, double seconds);

// Whether a radio list's address may be handed to the media graph: a web address (http or
// https, see IsWebAddress) with no backslash outside a Shift-JIS character. Paths, shares
// ("\\host\x.mp3"), "file:" and WebDAV forms would make the system open local files or log
// on to other hosts with the user's credentials.
bool IsPlayableAddress(const char* address);

// The file name a fetched stream is kept under in the data folder: "player" with the
// extension of the address's last path segment (letters and digits, at most 5), so that
// the media framework knows its kind; "player.dat" when it has none.
void PlayerDownloadName(const char* address, char* name, std::size_t capacity);

// What the player thread's loop needs of the playback objects.
class PlayerMedia {
  public:
    virtual ~PlayerMedia() = default;
    virtual void Run() = 0;
    virtual void Stop() = 0;
    virtual double Position() = 0;
    virtual void SetPosition(double seconds) = 0;
};

// Receives each announcement of the loop (Shift-JIS).
using PlayerSpeaker = void (*)(const char* text, void* context);

// One tick of the player thread, after its 10 ms sleep: returns false when the dialog has
// closed (the playback is then stopped and the caller releases it). Otherwise it follows
// the state (run while playing, stop while stopped), carries out and clears the pending
// command, and at the end of the file stops, goes back to 0, says "再生完了" and stops
// the state. A duration of 0 (unknown) never ends.
bool PlayerTick(PlayerMedia& media, double duration, PlayerSpeaker speak, void* context);
