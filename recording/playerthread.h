// PlayerThread: the thread that owns the playback of one opening of the player. It builds the
// graph for the entry's address, fetching the stream into the data folder itself when the
// graph cannot open the address (Wine's DirectShow opens no http(s) address), then follows
// PlayState and PlayerCommand every 10 ms until the dialog closes.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "recording/player.h"
#include "retrieval/headlines.h"

constexpr std::size_t PlayerFolderCapacity = 260;

// What one opening plays. The dialog fills it (and bumps PlayerSession for it) and starts
// PlayerThread with it (win::StartWorker), which owns it from then on.
struct PlayerRequest {
    char address[AddressCapacity] = {};          // Shift-JIS, as the headline store holds it
    char dataFolder[PlayerFolderCapacity] = {};  // where a fetched stream is kept while it plays
    uint32_t session = 0;                        // the PlayerSession of this opening
    PlayerSpeaker speak = nullptr;               // announcements (Shift-JIS)
    void* context = nullptr;
    HANDLE* thread = nullptr;  // receives the thread's handle
};

// The announcement when the address can be neither opened nor fetched and opened.
extern const char* const PlayerOpenFailedText;

// The thread's work.
void PlayerThread(PlayerRequest& request);

// Starts PlayerThread for request; *thread receives its handle (the caller waits on it and
// closes it). False, with nothing started, when no thread could be made.
bool StartPlayerThread(std::unique_ptr<PlayerRequest> request, HANDLE* thread);
