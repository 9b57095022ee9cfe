#include "recording/playerthread.h"

#include <cstring>
#include <mutex>
#include <string>

#include "recording/playergraph.h"
#include "retrieval/fetch.h"
#include "win/codepage.h"
#include "win/handles.h"
#include "win/thread.h"

const char* const PlayerOpenFailedText = "音声ファイルをオープンできませんでした";

namespace {

constexpr std::size_t StreamLimit = 200u * 1024 * 1024;  // the largest stream fetched to a file
constexpr DWORD TickMs = 10;
// A stream fetched at last may take longer than a page; closing the dialog stops it sooner.
constexpr unsigned StreamDeadlineMs = 10 * 60 * 1000;

std::wstring Wide(const char* text) {
    const int length = MultiByteToWideChar(win::ShiftJisCodePage, 0, text, -1, nullptr, 0);
    if (length <= 1) return std::wstring();
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(win::ShiftJisCodePage, 0, text, -1, &wide[0], length);
    wide.resize(static_cast<std::size_t>(length) - 1);
    return wide;
}

bool IsLatestOpening(const PlayerRequest& request) { return PlayerSession.load() == request.session; }

// A stream is fetched only while its dialog is open and no later opening has replaced it.
bool OpeningStillOpen(void* request) {
    return IsLatestOpening(*static_cast<const PlayerRequest*>(request)) && PlayState.load() != PlayClosed;
}

// The fetched copy of a stream, deleted when the playback ends.
class FetchedStream {
  public:
    ~FetchedStream() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
    }
    // Fetches address into the data folder; the path to open, or "" when that failed.
    const std::string& Fetch(const PlayerRequest& request) {
        char name[32];
        PlayerDownloadName(request.address, name, sizeof name);
        std::string path = std::string(request.dataFolder) + "\\" + name;
        FetchLimits limits;
        limits.deadlineMs = StreamDeadlineMs;
        limits.keepGoing = OpeningStillOpen;
        limits.context = const_cast<PlayerRequest*>(&request);
        if (request.dataFolder[0] && FetchToFile(request.address, path.c_str(), StreamLimit, limits)) path_ = path;
        return path_;
    }

  private:
    std::string path_;
};

// The web address last found that the graph could not open while its fetched copy played:
// opened again, it is fetched at once. Wine's graph opens no web address, and each attempt
// costs it a thread that never ends; Windows' opens most, so only that one address is skipped.
std::mutex FetchedOnlyLock;
std::string FetchedOnly;

bool IsWebAddress(const char* address) { return std::strstr(address, "://") != nullptr; }

bool GraphMayOpen(const char* address) {
    if (!IsWebAddress(address)) return true;
    std::lock_guard<std::mutex> lock(FetchedOnlyLock);
    return FetchedOnly != address;
}

void PlayFetchedFromNowOn(const char* address) {
    std::lock_guard<std::mutex> lock(FetchedOnlyLock);
    FetchedOnly = address;
}

// Sets PlayState to playing unless the dialog has closed meanwhile.
void StartPlaying() {
    int32_t state = PlayState.load();
    while (state != PlayClosed && !PlayState.compare_exchange_weak(state, PlayPlaying)) {
    }
}

void Play(const PlayerRequest& request) {
    if (!IsPlayableAddress(request.address)) {
        if (IsLatestOpening(request) && PlayState.load() != PlayClosed)
            request.speak(PlayerOpenFailedText, request.context);
        return;
    }
    FetchedStream fetched;  // outlives the graph that plays it
    auto graph = std::make_unique<PlayerGraph>();
    const bool tried = GraphMayOpen(request.address);
    bool opened = tried && graph->Open(Wide(request.address).c_str());
    if (!opened && IsLatestOpening(request)) {
        const std::string& path = fetched.Fetch(request);
        if (!path.empty()) {
            if (tried) graph = std::make_unique<PlayerGraph>();  // a graph clean of the failed attempt
            opened = graph->Open(Wide(path.c_str()).c_str());
            if (opened && tried && IsWebAddress(request.address)) PlayFetchedFromNowOn(request.address);
        }
    }
    // A dialog closed while the stream was fetched: another opening may own the player now.
    if (!IsLatestOpening(request) || PlayState.load() == PlayClosed) return;
    if (!opened) {
        request.speak(PlayerOpenFailedText, request.context);
        return;
    }
    const double duration = graph->Duration();
    PlayerDuration.store(duration);
    graph->Run();
    StartPlaying();
    for (;;) {
        Sleep(TickMs);
        if (!PlayerTick(*graph, duration, request.speak, request.context)) break;
    }
}

}  // namespace

void PlayerThread(PlayerRequest& request) {
    win::ComApartment com;
    Play(request);
}

bool StartPlayerThread(std::unique_ptr<PlayerRequest> request, HANDLE* thread) {
    *thread = nullptr;
    request->thread = thread;
    return win::StartWorker(PlayerThread, std::move(request), [](PlayerRequest& started, HANDLE handle) {
        *started.thread = handle;
    });
}
