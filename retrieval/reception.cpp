// Receiving a category's headline list on a worker thread: the category's parameters, the
// list page, its code page and the cutting (headline_rules), into a store of the reception's
// own that the window thread takes over (see reception.h).
#include "retrieval/reception.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>

#include "retrieval/feedpage.h"
#include "retrieval/fetch.h"
#include "retrieval/pagecode.h"
#include "retrieval/sources.h"
#include "retrieval/textcut.h"
#include "win/handles.h"
#include "win/thread.h"

namespace {

constexpr size_t ListPageCapacity = 2048000;
constexpr size_t SecondPageCapacity = 1024000;
// Receptions superseded while their server is slow still take a moment to notice it; beyond
// this many threads a new reception waits for one of them instead of starting another.
constexpr int MostReceptionThreads = 3;

// Which category to receive and whom to tell: taken on the window thread when the reception
// starts, with the reception's place in the order of receptions.
struct Request {
    HWND notify;
    char file[MAX_PATH * 2];
    int number;
    unsigned ticket;
};

// The ticket of the reception started last. A reception whose ticket is no longer the latest
// has been superseded: it stops, and the window thread drops what it reported.
std::atomic<unsigned> LatestTicket{0};

// The category received last, for the reload command (window thread only).
Request LastRequest;
bool HaveLastRequest = false;

// The reception threads running, and the reception waiting for one of them to be free (only
// the latest one waits: an earlier one is superseded anyway).
std::mutex ThreadsLock;
int RunningThreads = 0;
std::unique_ptr<Request> WaitingRequest;

bool Current(unsigned ticket) { return LatestTicket.load() == ticket; }

// A download is wanted only while its reception is the latest.
bool StillCurrent(void* ticket) { return Current(*static_cast<const unsigned*>(ticket)); }

bool Fetch(const char* address, win::HeapBuffer& page, bool withFallback, unsigned ticket) {
    if (!page.get()) return false;
    FetchLimits limits;
    limits.keepGoing = StillCurrent;
    limits.context = &ticket;
    if (FetchPage(address, page.get(), page.capacity(), limits)) return true;
    return withFallback && Current(ticket) && FetchPageViaMoniker(address, page.get(), page.capacity(), limits);
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

// Hands a report to the window thread; it is dropped when the window is gone.
void Post(const Request& request, std::unique_ptr<ReceptionReport> report) {
    if (PostMessageA(
            request.notify, ReceptionMessage, request.ticket, reinterpret_cast<LPARAM>(report.get())))
        report.release();
}

std::unique_ptr<ReceptionReport> NewReport(const Request& request, ReceptionStage stage,
                                           const CategoryParameterSet& parameters) {
    auto report = std::make_unique<ReceptionReport>();
    report->ticket = request.ticket;
    report->stage = stage;
    std::memcpy(report->parameters, parameters, sizeof report->parameters);
    return report;
}

// Stops the cutting as soon as a later reception has started.
bool KeepCutting(int, void* ticket) { return Current(*static_cast<unsigned*>(ticket)); }

// The second list page (Parameter15): its items are added from slot firstIndex on (while
// below 250). False when the page was not received.
bool ReceiveSecondPage(const char* address, ReceptionReport& report) {
    win::HeapBuffer page(SecondPageCapacity);
    if (!Fetch(address, page, false, report.ticket)) return false;
    const CategoryParameterSet& parameters = report.parameters;
    if (std::strcmp(CategoryParameter(parameters, 12), "2") != 0)
        ConvertReceivedPage(page.get(), page.capacity(), true);
    CutBetween(page.get(), CategoryParameter(parameters, 4), CategoryParameter(parameters, 5));
    if (!Current(report.ticket)) return true;
    report.count = CutHeadlines(page.get(),
                                parameters,
                                ListPage::Second,
                                report.count,
                                SecondPageLimit,
                                report.titles,
                                report.addresses,
                                KeepCutting,
                                &report.ticket);
    return true;
}

// The whole reception of one category. Every step first checks that no later reception has
// started.
void Receive(Request& request) {
    const unsigned ticket = request.ticket;
    auto report = std::make_unique<ReceptionReport>();
    report->ticket = ticket;
    report->stage = ReceptionStage::Received;
    CategoryParameterSet& parameters = report->parameters;
    ReadParameters(request, parameters);
    if (!Current(ticket)) return;
    Post(request, NewReport(request, ReceptionStage::Started, parameters));

    win::HeapBuffer page(ListPageCapacity);
    if (!Fetch(CategoryParameter(parameters, 3), page, true, ticket)) {
        if (Current(ticket)) Post(request, NewReport(request, ReceptionStage::Failed, parameters));
        return;
    }
    if (!Current(ticket)) return;
    if (std::strcmp(CategoryParameter(parameters, 2), "feed") == 0) {
        // One of the user's own feeds: read as a feed, whatever its markup and code page.
        FeedPageReading reading = ReadFeedPage(page.get(), page.capacity(), CategoryParameter(parameters, 3));
        report->count = StoreFeedItems(reading.feed, report->titles, report->addresses, FirstPageLimit);
        if (Current(ticket)) Post(request, std::move(report));
        return;
    }
    if (std::strcmp(CategoryParameter(parameters, 12), "1") == 0)
        ConvertReceivedPage(page.get(), page.capacity(), true);
    CutBetween(page.get(), CategoryParameter(parameters, 4), CategoryParameter(parameters, 5));

    report->radio = std::strcmp(CategoryParameter(parameters, 2), "radio") == 0;
    unsigned cutTicket = ticket;
    if (report->radio)
        report->count = CutRadioList(
            page.get(), parameters, RadioLimit, report->titles, report->addresses, KeepCutting, &cutTicket);
    else
        report->count = CutHeadlines(page.get(),
                                     parameters,
                                     ListPage::First,
                                     0,
                                     FirstPageLimit,
                                     report->titles,
                                     report->addresses,
                                     KeepCutting,
                                     &cutTicket);
    if (!report->radio && CategoryParameter(parameters, 15)[0] != '\0' && Current(ticket)) {
        Sleep(50);
        ReceiveSecondPage(CategoryParameter(parameters, 15), *report);
    }
    if (Current(ticket)) Post(request, std::move(report));
}

// A reception that ran out of memory is reported as not received, when even that can be.
void ReceiveOrFail(Request& request) {
    try {
        Receive(request);
    } catch (const std::bad_alloc&) {
        try {
            CategoryParameterSet none = {};
            if (Current(request.ticket)) Post(request, NewReport(request, ReceptionStage::Failed, none));
        } catch (const std::bad_alloc&) {
        }
    }
}

// A reception thread: its first reception, then any that waited for it.
void ReceptionThread(Request& first) {
    ReceiveOrFail(first);
    for (;;) {
        std::unique_ptr<Request> next;
        {
            std::lock_guard<std::mutex> lock(ThreadsLock);
            if (!WaitingRequest) {
                --RunningThreads;
                return;
            }
            next = std::move(WaitingRequest);
        }
        ReceiveOrFail(*next);
    }
}

void Start(const Request& snapshot) {
    auto request = std::make_unique<Request>(snapshot);
    request->ticket = ++LatestTicket;
    LastRequest = *request;
    HaveLastRequest = true;
    {
        std::lock_guard<std::mutex> lock(ThreadsLock);
        if (RunningThreads >= MostReceptionThreads) {
            WaitingRequest = std::move(request);
            return;
        }
        ++RunningThreads;
    }
    if (!win::StartWorker(ReceptionThread, std::move(request))) {
        std::lock_guard<std::mutex> lock(ThreadsLock);
        --RunningThreads;
    }
}

}  // namespace

void StartHeadlineReception(HWND notify, const char* categoryFile, int number) {
    Request request{};
    request.notify = notify;
    std::snprintf(request.file, sizeof request.file, "%s", categoryFile);
    request.number = number;
    Start(request);
}

bool ReloadHeadlines() {
    if (!HaveLastRequest) return false;
    Start(LastRequest);
    return true;
}

bool IsLatestReception(unsigned ticket) { return Current(ticket); }

void LoadSourceAddresses(const char* menuFile) {
    char value[ParameterCapacity];
    for (int id = 0; id < SourceCount; ++id) {
        SourceId source = static_cast<SourceId>(id);
        GetPrivateProfileStringA("Sources", SourceKey(source), "", value, sizeof value, menuFile);
        SetSourceAddress(source, value);
    }
}
