// Receiving a category's headline list on a worker thread: the category's parameters, the
// list page, its code page, the cutting (headline_rules) and the list box.
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <utility>

#include "app/shell.h"
#include "library/optionvalues.h"
#include "library/settings.h"
#include "retrieval/fetch.h"
#include "retrieval/headline_rules.h"
#include "retrieval/headlines.h"
#include "retrieval/pagecode.h"
#include "retrieval/sources.h"
#include "retrieval/textcut.h"
#include "speech/speak.h"

namespace {

constexpr size_t ListPageCapacity = 2048000;
constexpr size_t SecondPageCapacity = 1024000;
constexpr int EnginePcTalker = 1;
constexpr int EngineNvda = 2;

// Which category to receive: the file and section, taken on the window thread when the
// reception starts, and the reception's place in the order of receptions.
struct Request {
    char file[MAX_PATH * 2];
    int number;
    unsigned ticket;
};

// The ticket of the reception started last. A reception whose ticket is no longer the latest
// has been superseded and leaves everything alone.
std::atomic<unsigned> LatestTicket{0};

// Held while a reception changes the store, the category parameters or the list. Only
// reception threads take it, never the window thread, so the messages sent to the list while
// it is held are always answered.
SRWLOCK StoreLock = SRWLOCK_INIT;

// The category received last, for the reload command.
Request LastRequest;
bool HaveLastRequest = false;

bool Current(unsigned ticket) { return LatestTicket.load() == ticket; }

class StoreGuard {
  public:
    StoreGuard() { AcquireSRWLockExclusive(&StoreLock); }
    ~StoreGuard() { ReleaseSRWLockExclusive(&StoreLock); }
    StoreGuard(const StoreGuard&) = delete;
    StoreGuard& operator=(const StoreGuard&) = delete;
};

// A page buffer from the process heap, released on every path.
class PageBuffer {
  public:
    explicit PageBuffer(size_t capacity)
        : capacity_(capacity), data_(static_cast<char*>(HeapAlloc(GetProcessHeap(), 0, capacity))) {}
    ~PageBuffer() { Release(); }
    PageBuffer(const PageBuffer&) = delete;
    PageBuffer& operator=(const PageBuffer&) = delete;
    char* get() const { return data_; }
    size_t capacity() const { return capacity_; }

  private:
    void Release() {
        if (data_) HeapFree(GetProcessHeap(), 0, data_);
        data_ = nullptr;
    }
    size_t capacity_;
    char* data_;
};

// Re-encodes a UTF-8 page in Shift-JIS, its character references decoded (see pagecode.h).
void ConvertFromUtf8(PageBuffer& page) { ConvertReceivedPage(page.get(), page.capacity(), true); }

bool Fetch(const char* address, PageBuffer& page, bool withFallback) {
    if (!page.get()) return false;
    if (FetchPage(address, page.get(), page.capacity())) return true;
    return withFallback && FetchPageViaMoniker(address, page.get(), page.capacity());
}

void ReadParameters(const Request& request, CategoryParameterSet& parameters) {
    char section[32];
    std::snprintf(section, sizeof section, "Category%d", request.number);
    char key[32];
    for (int n = 1; n <= ParameterCount; ++n) {
        std::snprintf(key, sizeof key, "Parameter%d", n);
        GetPrivateProfileStringA(section, key, "", parameters[n - 1], ParameterCapacity, request.file);
    }
}

void ClearForReception() {
    ScrapbookMode = 0;
    std::memset(HeadlineStore.titles[0], 0, sizeof HeadlineStore.titles[0]);
    for (int32_t& count : HeadlineStore.counts) count = 0;
    SendMessageA(HeadlineList, LB_RESETCONTENT, 0, 0);
    SendMessageA(BodyView, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

struct Insertion {
    unsigned ticket;
    bool numbered;
};

bool InsertHeadline(int slot, void* context) {
    const Insertion& insertion = *static_cast<Insertion*>(context);
    char entry[ListEntryCapacity];
    FormatListEntry(entry, sizeof entry, slot + 1, HeadlineStore.titles[0][slot], insertion.numbered ? 1 : 0);
    SendMessageA(HeadlineList, LB_INSERTSTRING, static_cast<WPARAM>(slot), reinterpret_cast<LPARAM>(entry));
    HeadlineStore.counts[0] = slot + 1;
    return Current(insertion.ticket);
}

int MoreHeadlines(const char* address, int firstIndex, unsigned ticket,
                  const CategoryParameterSet& parameters) {
    PageBuffer page(SecondPageCapacity);
    if (!Fetch(address, page, false)) return 0;
    if (std::strcmp(CategoryParameter(parameters, 12), "2") != 0) ConvertFromUtf8(page);
    CutBetween(page.get(), CategoryParameter(parameters, 4), CategoryParameter(parameters, 5));
    StoreGuard guard;
    if (!Current(ticket)) return 1;
    Insertion insertion{ticket, Settings.NumberEntries == 1};
    CutHeadlines(page.get(),
                 parameters,
                 ListPage::Second,
                 firstIndex,
                 SecondPageLimit,
                 HeadlineStore.titles[0],
                 HeadlineStore.addresses[0],
                 InsertHeadline,
                 &insertion);
    return 1;
}

void AnnounceCount(int count, bool radio, const char* firstTitle) {
    char text[64];
    std::snprintf(text, sizeof text, "受信した見出しは%d件です", count);
    if (Settings.SpeechEngine == EngineNvda) {
        SpeakMessage(text, radio ? 0 : 10);
    } else if (Settings.SpeechEngine == EnginePcTalker) {
        SpeakMessage(text, 500);
        if (!radio && count > 0) SpeakMessage(firstTitle, 500);
    }
}

// The whole reception of one category. Every step that changes what the user sees first
// checks that no later reception has started.
void Receive(const Request& request) {
    const unsigned ticket = request.ticket;
    CategoryParameterSet parameters;
    ReadParameters(request, parameters);
    {
        StoreGuard guard;
        if (!Current(ticket)) return;
        ClearForReception();
        std::memcpy(CategoryParameters, parameters, sizeof parameters);
    }

    char receiving[ParameterCapacity + 16];
    std::snprintf(receiving, sizeof receiving, "%sを受信", CategoryParameter(parameters, 1));
    if (!Current(ticket)) return;
    SpeakMessage(receiving, 100);
    if (Settings.SpeechEngine == EngineNvda) WaitWhileNvdaSpeaks();

    PageBuffer page(ListPageCapacity);
    if (!Fetch(CategoryParameter(parameters, 3), page, true)) {
        if (Current(ticket)) SpeakMessage("記事リストの受信ができませんでした", 0);
        return;
    }
    if (!Current(ticket)) return;
    if (std::strcmp(CategoryParameter(parameters, 12), "1") == 0) ConvertFromUtf8(page);
    CutBetween(page.get(), CategoryParameter(parameters, 4), CategoryParameter(parameters, 5));

    const bool radio = std::strcmp(CategoryParameter(parameters, 2), "radio") == 0;
    Insertion insertion{ticket, Settings.NumberEntries == 1};
    unsigned radioTicket = ticket;
    {
        StoreGuard guard;
        if (!Current(ticket)) return;
        if (radio) {
            CutRadioList(
                page.get(),
                parameters,
                RadioLimit,
                HeadlineStore.titles[0],
                HeadlineStore.addresses[0],
                [](int slot, void* context) {
                    SendMessageA(HeadlineList,
                                 LB_INSERTSTRING,
                                 static_cast<WPARAM>(slot),
                                 reinterpret_cast<LPARAM>(HeadlineStore.titles[0][slot]));
                    HeadlineStore.counts[0] = slot + 1;
                    return Current(*static_cast<unsigned*>(context));
                },
                &radioTicket);
        } else {
            SendMessageA(HeadlineList, WM_SETREDRAW, FALSE, 0);
            CutHeadlines(page.get(),
                         parameters,
                         ListPage::First,
                         0,
                         FirstPageLimit,
                         HeadlineStore.titles[0],
                         HeadlineStore.addresses[0],
                         InsertHeadline,
                         &insertion);
        }
    }
    if (!radio && CategoryParameter(parameters, 15)[0] != '\0' && Current(ticket)) {
        Sleep(50);
        MoreHeadlines(CategoryParameter(parameters, 15), HeadlineStore.counts[0], ticket, parameters);
    }

    int count;
    char firstTitle[TitleCapacity];
    {
        StoreGuard guard;
        if (!Current(ticket)) return;
        SendMessageA(HeadlineList, LB_SETCURSEL, 0, 0);
        SendMessageA(HeadlineList, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(HeadlineList, nullptr, TRUE);
        PageDepth = 0;
        count = HeadlineStore.counts[0];
        std::memcpy(firstTitle, HeadlineStore.titles[0][0], sizeof firstTitle);
    }
    AnnounceCount(count, radio, firstTitle);
}

DWORD WINAPI ReceiveHeadlines(void* argument) {
    Request* request = static_cast<Request*>(argument);
    Receive(*request);
    delete request;
    return 0;
}

void Start(const Request& snapshot) {
    Request* request = new Request(snapshot);
    request->ticket = ++LatestTicket;
    LastRequest = *request;
    HaveLastRequest = true;
    HANDLE thread = CreateThread(nullptr, 0, ReceiveHeadlines, request, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    else
        delete request;
}

}  // namespace

void StartHeadlineReception() {
    int level = MenuStack.MenuLevel;
    if (level < 0 || level >= MenuLevelCount) return;
    int p = MenuStack.MenuSelection[level];
    if (p < 0 || p >= MenuEntryCount) return;
    Request request{};
    std::snprintf(
        request.file, sizeof request.file, "%s\\News\\%s", ProgramFolder, MenuStack.MenuName[level][p]);
    request.number = MenuStack.Number[level][p];
    Start(request);
}

bool ReloadHeadlines() {
    if (!HaveLastRequest) return false;
    Start(LastRequest);
    return true;
}

int ReceiveMoreHeadlines(const char* address, int firstIndex) {
    CategoryParameterSet parameters;
    std::memcpy(parameters, CategoryParameters, sizeof parameters);
    return MoreHeadlines(address, firstIndex, LatestTicket.load(), parameters);
}

void LoadSourceAddresses(const char* menuFile) {
    char value[ParameterCapacity];
    for (int id = 0; id < SourceCount; ++id) {
        SourceId source = static_cast<SourceId>(id);
        GetPrivateProfileStringA("Sources", SourceKey(source), "", value, sizeof value, menuFile);
        SetSourceAddress(source, value);
    }
}
