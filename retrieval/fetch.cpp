// Downloading one document over WinHTTP, or through URL monikers as the fallback.
#include "retrieval/fetch.h"

#include <windows.h>
#include <winhttp.h>
#include <urlmon.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "win/handles.h"
#include "win/thread.h"

namespace {

const wchar_t kUserAgent[] = L"Tavlo 10.0";
const DWORD kHostCapacity = 256;   // host name: at most 255 characters
const DWORD kPathCapacity = 2048;  // path with its query string: at most 2,047 characters
const int kMostRedirections = 10;
const DWORD kChunk = 64 * 1024;  // read at most this much at a time
const unsigned kDeadline = 60000;

// Each wait of WinHTTP is bounded on its own as well (a server that never answers would hold
// the thread forever on some implementations); none lasts beyond what is left of the deadline.
const DWORD kConnectTimeout = 60000;
const DWORD kSendTimeout = 30000;
const DWORD kReceiveTimeout = 30000;

using InternetHandle = win::ScopedHandle<HINTERNET, WinHttpCloseHandle>;

// The time a download has left, and whether it is still wanted.
class Deadline {
  public:
    explicit Deadline(const FetchLimits& limits)
        : end_(GetTickCount64() + (limits.deadlineMs ? limits.deadlineMs : DefaultFetchDeadline())),
          limits_(limits) {}
    DWORD Left() const {
        ULONGLONG now = GetTickCount64();
        return now < end_ ? static_cast<DWORD>(end_ - now) : 0;
    }
    bool Wanted() const { return Left() > 0 && (!limits_.keepGoing || limits_.keepGoing(limits_.context)); }

  private:
    ULONGLONG end_;
    const FetchLimits& limits_;
};

// Where the body goes as it arrives; false stops the download as failed.
struct BodySink {
    bool (*take)(void* context, const char* data, DWORD size);
    void* context;
};

bool Widen(const char* text, std::wstring& wide) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return false;
    wide.assign(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length) != length) return false;
    wide.resize(static_cast<size_t>(length) - 1);
    return true;
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix) {
    size_t length = std::wcslen(prefix);
    return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

// Bounds every wait of the request by what is left of the deadline.
void BoundWaits(HINTERNET request, DWORD left) {
    WinHttpSetTimeouts(request,
                       static_cast<int>(left),
                       static_cast<int>(std::min(kConnectTimeout, left)),
                       static_cast<int>(std::min(kSendTimeout, left)),
                       static_cast<int>(std::min(kReceiveTimeout, left)));
    // All the response headers together, not each read of them.
    WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &left, sizeof left);
}

// TLS 1.2 and 1.3 whatever the system's default (Windows 7 and 8.1 stop at older ones); a
// system that knows no TLS 1.3 gets TLS 1.2 alone.
void EnableModernTls(HINTERNET session) {
    DWORD protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2 | WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_3;
    if (WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols)) return;
    protocols = WINHTTP_FLAG_SECURE_PROTOCOL_TLS1_2;
    WinHttpSetOption(session, WINHTTP_OPTION_SECURE_PROTOCOLS, &protocols, sizeof protocols);
}

// The announced body length, or -1 when the server announced none.
long long ContentLength(HINTERNET request) {
    wchar_t text[32];
    DWORD size = sizeof(text);
    if (!WinHttpQueryHeaders(request,
                             WINHTTP_QUERY_CONTENT_LENGTH,
                             WINHTTP_HEADER_NAME_BY_INDEX,
                             text,
                             &size,
                             WINHTTP_NO_HEADER_INDEX))
        return -1;
    wchar_t* end = nullptr;
    long long length = wcstoll(text, &end, 10);
    return end != text && length >= 0 ? length : -1;
}

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof status;
    if (!WinHttpQueryHeaders(request,
                             WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                             WINHTTP_HEADER_NAME_BY_INDEX,
                             &status,
                             &size,
                             WINHTTP_NO_HEADER_INDEX))
        return 0;
    return status;
}

bool IsRedirection(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The https address a redirection from host and path leads to, or false when it leads
// anywhere else (another scheme, or nothing).
bool RedirectionTarget(HINTERNET request, const std::wstring& host, const std::wstring& path,
                       std::wstring& target) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0 || size > 2 * (kHostCapacity + kPathCapacity + 16))
        return false;
    std::wstring location(size / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, WINHTTP_QUERY_LOCATION, WINHTTP_HEADER_NAME_BY_INDEX, &location[0], &size,
                             WINHTTP_NO_HEADER_INDEX))
        return false;
    location.resize(size / sizeof(wchar_t));
    if (location.empty()) return false;
    if (StartsWith(location, L"https://")) {
        target = location;
    } else if (StartsWith(location, L"//")) {
        target = L"https:" + location;
    } else if (location[0] == L'/') {
        target = L"https://" + host + location;
    } else {
        // A scheme of any other kind ("http:", "file:", ...) is refused; the rest is relative.
        size_t colon = location.find(L':');
        if (colon != std::wstring::npos && colon < location.find_first_of(L"/?#")) return false;
        std::wstring folder = path.substr(0, path.find(L'?'));
        folder.erase(folder.rfind(L'/') + 1);
        target = L"https://" + host + (folder.empty() ? L"/" : folder) + location;
    }
    return true;
}

// Reads the response body as it becomes available into sink, at most limit bytes. False when
// the transfer broke off (also when the connection closed before the announced length), the
// deadline passed or the download was no longer wanted.
bool ReadBody(HINTERNET request, size_t limit, const Deadline& deadline, BodySink sink) {
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[kChunk]);
    if (!chunk) return false;
    size_t total = 0;
    for (;;) {
        if (!deadline.Wanted()) return false;
        DWORD left = std::min(kReceiveTimeout, deadline.Left());
        WinHttpSetOption(request, WINHTTP_OPTION_RECEIVE_TIMEOUT, &left, sizeof left);
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) return false;
        if (available == 0 || total >= limit) break;
        size_t room = limit - total;
        DWORD wanted = std::min<DWORD>(std::min<DWORD>(available, kChunk), room < kChunk ? static_cast<DWORD>(room) : kChunk);
        DWORD received = 0;
        if (!WinHttpReadData(request, chunk.get(), wanted, &received)) return false;
        if (received == 0) break;
        if (!sink.take(sink.context, chunk.get(), received)) return false;
        total += received;
    }
    if (!deadline.Wanted()) return false;
    if (total >= limit) return true;  // cut at the caller's capacity
    long long announced = ContentLength(request);
    return announced < 0 || static_cast<unsigned long long>(announced) <= total;
}

enum class Outcome { Failed, Received, Redirected };

// One request of url. Redirected with target set when the answer is a redirection to https.
Outcome Request(HINTERNET session, const std::wstring& url, size_t limit, const Deadline& deadline, BodySink sink,
                std::wstring& target) {
    // Let the cracker point into url; the lengths are checked against our limits afterwards.
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return Outcome::Failed;
    if (!parts.lpszHostName || parts.dwHostNameLength == 0 || parts.dwHostNameLength >= kHostCapacity ||
        parts.dwUrlPathLength + parts.dwExtraInfoLength >= kPathCapacity)
        return Outcome::Failed;
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path;
    if (parts.lpszUrlPath) path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);

    // Port 0 with the secure flag below means 443, whatever scheme or port the address has.
    InternetHandle connection(WinHttpConnect(session, host.c_str(), INTERNET_DEFAULT_PORT, 0));
    if (!connection) return Outcome::Failed;
    InternetHandle request(WinHttpOpenRequest(connection.get(),
                                              L"GET",
                                              path.c_str(),
                                              nullptr,
                                              WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES,
                                              WINHTTP_FLAG_SECURE));
    if (!request || !deadline.Wanted()) return Outcome::Failed;
    BoundWaits(request.get(), deadline.Left());
    // A certificate that does not verify fails here: the request is never sent.
    if (!WinHttpSendRequest(
            request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return Outcome::Failed;
    if (!deadline.Wanted()) return Outcome::Failed;
    BoundWaits(request.get(), deadline.Left());
    // Any status is fine (an error page is a page), but no answer at all is a failure.
    if (!WinHttpReceiveResponse(request.get(), nullptr)) return Outcome::Failed;
    if (IsRedirection(StatusCode(request.get())))
        return RedirectionTarget(request.get(), host, path, target) ? Outcome::Redirected : Outcome::Failed;
    return ReadBody(request.get(), limit, deadline, sink) ? Outcome::Received : Outcome::Failed;
}

// The body of the document at address, at most limit bytes, into sink. False when the
// address, the connection, the certificate, the request or the transfer failed, a redirection
// led elsewhere than to https, the deadline passed or the download was no longer wanted.
bool Download(const char* address, size_t limit, const FetchLimits& limits, BodySink sink) {
    const Deadline deadline(limits);
    std::wstring url;
    if (!Widen(address, url)) return false;

    InternetHandle session(WinHttpOpen(
        kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return false;
    EnableModernTls(session.get());
    // Redirections are followed here, where their target can be checked.
    DWORD never = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(session.get(), WINHTTP_OPTION_REDIRECT_POLICY, &never, sizeof never);
    DWORD noRedirects = WINHTTP_DISABLE_REDIRECTS;
    WinHttpSetOption(session.get(), WINHTTP_OPTION_DISABLE_FEATURE, &noRedirects, sizeof noRedirects);

    for (int hop = 0; hop <= kMostRedirections; ++hop) {
        std::wstring target;
        switch (Request(session.get(), url, limit, deadline, sink, target)) {
            case Outcome::Failed: return false;
            case Outcome::Received: return true;
            case Outcome::Redirected: url = target; break;
        }
    }
    return false;
}

// A body collected in memory, for FetchPage.
bool TakeIntoMemory(void* context, const char* data, DWORD size) {
    auto& body = *static_cast<std::vector<char>*>(context);
    try {
        body.insert(body.end(), data, data + size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool TakeIntoFile(void* context, const char* data, DWORD size) {
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(context), data, size, &written, nullptr) && written == size;
}

// Copies the body and its terminating NUL; the caller has made sure it fits.
void StoreBody(const std::vector<char>& body, char* destination) {
    if (!body.empty()) std::memcpy(destination, body.data(), body.size());
    destination[body.size()] = '\0';
}

// One moniker download, shared by the caller, who stops waiting for it at its deadline, and
// the thread that runs it, which may take longer: whichever lets go last frees it. The caller
// waits for the thread itself to end, so that a download that was waited for leaves nothing
// of its own behind when the call returns.
struct MonikerJob {
    std::wstring url;
    size_t limit = 0;
    std::vector<char> body;
    bool received = false;
    std::atomic<bool> abandoned{false};
    win::KernelHandle thread;
};

struct MonikerWork {
    std::shared_ptr<MonikerJob> job;
};

bool ReadMoniker(MonikerJob& job) {
    win::ComApartment com;
    win::ComPtr<IMoniker> moniker;
    if (FAILED(CreateURLMonikerEx(nullptr, job.url.c_str(), moniker.out(), URL_MK_UNIFORM))) return false;
    win::ComPtr<IBindCtx> context;
    if (FAILED(CreateBindCtx(0, context.out()))) return false;
    win::ComPtr<IStream> stream;
    if (FAILED(moniker->BindToStorage(context.get(), nullptr, IID_IStream, stream.out_void())) || !stream.get())
        return false;
    STATSTG stat = {};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return false;

    size_t size = stat.cbSize.LowPart;
    if (size > job.limit) size = job.limit;
    try {
        job.body.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_t filled = 0;
    while (filled < size && !job.abandoned.load()) {
        ULONG received = 0;
        HRESULT hr = stream->Read(job.body.data() + filled, static_cast<ULONG>(size - filled), &received);
        if (FAILED(hr)) return false;
        if (received == 0) break;
        filled += received;
    }
    job.body.resize(filled);
    return !job.abandoned.load();
}

void RunMoniker(MonikerWork& work) {
    work.job->received = ReadMoniker(*work.job);
}

void KeepMonikerThread(MonikerWork& work, HANDLE thread) {
    work.job->thread.Reset(thread);
}

}  // namespace

unsigned DefaultFetchDeadline() {
    static const unsigned deadline = [] {
        char text[16] = {};
        DWORD length = GetEnvironmentVariableA("TAVLO_FETCH_DEADLINE_MS", text, sizeof text);
        unsigned long value = length > 0 && length < sizeof text ? std::strtoul(text, nullptr, 10) : 0;
        return value > 0 && value <= kDeadline ? static_cast<unsigned>(value) : kDeadline;
    }();
    return deadline;
}

int FetchPage(const char* address, char* destination, size_t capacity) {
    return FetchPage(address, destination, capacity, FetchLimits());
}

int FetchPage(const char* address, char* destination, size_t capacity, const FetchLimits& limits) {
    if (!address || !destination || capacity == 0) return 0;
    std::vector<char> body;
    if (!Download(address, capacity - 1, limits, BodySink{TakeIntoMemory, &body})) return 0;
    StoreBody(body, destination);
    return 1;
}

int FetchToFile(const char* address, const char* path, size_t limit, const FetchLimits& limits) {
    if (!address || !path) return 0;
    HANDLE opened = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) return 0;
    win::KernelHandle file(opened);
    const bool whole = Download(address, limit, limits, BodySink{TakeIntoFile, file.get()});
    file.Reset();
    if (!whole) DeleteFileA(path);
    return whole ? 1 : 0;
}

int FetchPageViaMoniker(const char* address, char* destination, size_t capacity) {
    return FetchPageViaMoniker(address, destination, capacity, FetchLimits());
}

int FetchPageViaMoniker(const char* address, char* destination, size_t capacity, const FetchLimits& limits) {
    if (!address || !destination || capacity == 0) return 0;
    const Deadline deadline(limits);
    auto job = std::make_shared<MonikerJob>();
    if (!Widen(address, job->url) || !StartsWith(job->url, L"https://")) return 0;
    job->limit = capacity - 1;
    auto work = std::make_unique<MonikerWork>();
    work->job = job;
    if (!win::StartWorker(RunMoniker, std::move(work), KeepMonikerThread)) return 0;
    // The caller's thread waits at most until its deadline; the download left behind then ends
    // on its own and nothing of it reaches the destination.
    while (WaitForSingleObject(job->thread.get(), std::min<DWORD>(50, deadline.Left())) != WAIT_OBJECT_0) {
        if (!deadline.Wanted()) {
            job->abandoned.store(true);
            return 0;
        }
    }
    if (!job->received) return 0;
    StoreBody(job->body, destination);
    return 1;
}
