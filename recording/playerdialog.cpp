#include "recording/playerdialog.h"

#include <mmsystem.h>

#include <cstdio>
#include <memory>
#include <utility>

#include "recording/player.h"
#include "recording/playerthread.h"
#include "resources/resource.h"
#include "speech/speak.h"

namespace {

constexpr int AnnouncementDelay = 100;
constexpr DWORD ThreadEndWait = 2000;  // a thread still fetching ends by itself later

// What the open dialog works with.
struct PlayerWindow {
    char address[AddressCapacity] = {};  // copies: a reception may refill the store meanwhile
    char title[TitleCapacity] = {};
    char dataFolder[PlayerFolderCapacity] = {};
    int volume = PlayerVolumeStart;
    bool ctrlSeek = false;  // Ctrl was held when Left or Right went down
    HANDLE thread = nullptr;
};

PlayerWindow* WindowData(HWND dialog) {
    return reinterpret_cast<PlayerWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

void Speak(const char* text, void*) { SpeakMessage(text, AnnouncementDelay); }

void SetVolume(int level) { waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), PlayerVolumeWord(level)); }

void OnInit(HWND dialog, PlayerWindow* player) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(player));
    SetVolume(player->volume);
    PlayState = PlayStopped;  // until the thread has the stream playing
    PlayerCommand = PlayerNoCommand;
    PlayerDuration = 0;
    auto request = std::make_unique<PlayerRequest>();
    std::snprintf(request->address, sizeof request->address, "%s", player->address);
    std::snprintf(request->dataFolder, sizeof request->dataFolder, "%s", player->dataFolder);
    request->session = ++PlayerSession;
    request->speak = Speak;
    if (!StartPlayerThread(std::move(request), &player->thread)) Speak(PlayerOpenFailedText, nullptr);
}

// Tells the opening's thread to end, which then stops and releases the playback, and waits
// for it.
void EndPlayer(PlayerWindow* player) {
    PlayState = PlayClosed;
    if (player && player->thread) {
        WaitForSingleObject(player->thread, ThreadEndWait);
        CloseHandle(player->thread);
        player->thread = nullptr;
    }
}

bool PlayerEnded(const PlayerWindow* player) {
    return !player || !player->thread || WaitForSingleObject(player->thread, 0) == WAIT_OBJECT_0;
}

void Close(HWND dialog) {
    EndPlayer(WindowData(dialog));
    EndDialog(dialog, 2);
}

void SayTime(const char* format, double seconds) {
    char text[64];
    FormatPlayerTime(text, sizeof text, format, seconds);
    Speak(text, nullptr);
}

void OnKeyDown(HWND dialog, WPARAM key) {
    PlayerWindow* player = WindowData(dialog);
    // The seek acts when its key comes up, and Ctrl may be let go first: it counts as held
    // when it was held as the key went down.
    if (player && (key == VK_LEFT || key == VK_RIGHT)) player->ctrlSeek = GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case VK_BACK:
            PlayerCommand = PlayerRewind;
            break;
        case VK_SPACE:
            // A thread that has ended without the dialog closing could not open the stream:
            // nothing plays, and the state must not say otherwise.
            if (!PlayerEnded(player)) PlayState = PlayState.load() == PlayPlaying ? PlayStopped : PlayPlaying;
            break;
        case VK_ESCAPE:
            Close(dialog);
            break;
        default:
            break;
    }
}

void OnKeyUp(HWND dialog, WPARAM key) {
    PlayerWindow* player = WindowData(dialog);
    if (!player) return;
    const bool ctrl = player->ctrlSeek || GetKeyState(VK_CONTROL) < 0;
    switch (key) {
        case VK_LEFT:
            PlayerCommand = SeekCommand(false, ctrl);
            break;
        case VK_RIGHT:
            PlayerCommand = SeekCommand(true, ctrl);
            break;
        case VK_UP:
            if (player->volume < PlayerVolumeTop)
                SetVolume(player->volume = RaisePlayerVolume(player->volume));
            break;
        case VK_DOWN:
            if (player->volume > 0) SetVolume(player->volume = LowerPlayerVolume(player->volume));
            break;
        case '1':
            Speak(player->title, nullptr);
            break;
        case '2':
            Speak(PlayState.load() == PlayPlaying ? "再生中" : "停止中", nullptr);
            break;
        case '3':
            SayTime("長さ %d分%d秒", PlayerDuration.load());
            break;
        case '4':
            PlayerCommand = PlayerSayPosition;
            break;
        case '5': {
            char text[32];
            std::snprintf(
                text, sizeof text, "ボリューム %d", PlayerVolumeLevel(PlayerVolumeWord(player->volume)));
            Speak(text, nullptr);
            break;
        }
        default:
            break;
    }
}

INT_PTR CALLBACK PlayDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            OnInit(dialog, reinterpret_cast<PlayerWindow*>(lParam));
            return TRUE;
        case WM_GETDLGCODE:  // every key, Escape and the arrows included, comes to this dialog
            SetWindowLongPtrA(dialog, DWLP_MSGRESULT, DLGC_WANTALLKEYS);
            return TRUE;
        case WM_KEYDOWN:
            OnKeyDown(dialog, wParam);
            return TRUE;
        case WM_KEYUP:
            OnKeyUp(dialog, wParam);
            return TRUE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) Close(dialog);
            return TRUE;
        case WM_CLOSE:
            Close(dialog);
            return TRUE;
        case WM_DESTROY:  // also without a close: the program ending with the player open
            EndPlayer(WindowData(dialog));
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

void ShowPlayDialog(HWND owner, const char* address, const char* title, const char* dataFolder) {
    auto player = std::make_unique<PlayerWindow>();
    std::snprintf(player->address, sizeof player->address, "%s", address);
    std::snprintf(player->title, sizeof player->title, "%s", title);
    std::snprintf(player->dataFolder, sizeof player->dataFolder, "%s", dataFolder);
    DialogBoxParamA(
        GetModuleHandleA(nullptr), IDD_PLAY, owner, PlayDialogProc, reinterpret_cast<LPARAM>(player.get()));
    // A dialog that could not be shown started no thread; one that was shown has closed it.
}
