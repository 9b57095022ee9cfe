// Downloading one document over WinHTTP, or through URL monikers as the fallback.
#include "retrieval/fetch.h"

#include <windows.h>
#include <winhttp.h>
#include <urlmon.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "win/handles.h"

namespace {

const wchar_t kUserAgent[] = L"Tavlo 10.0";
const DWORD kHostCapacity = 256;   // host name: at most 255 characters
const DWORD kPathCapacity = 2048;  // path with its query string: at most 2,047 characters

// WinHTTP's documented defaults, set explicitly: some implementations wait for response
// headers forever, which would freeze the window thread on a server that never answers.
const int kConnectTimeout = 60000;
const int kSendTimeout = 30000;
const int kReceiveTimeout = 30000;
const DWORD kResponseTimeout = 90000;

using InternetHandle = win::ScopedHandle<HINTERNET, WinHttpCloseHandle>;

bool Widen(const char* text, std::wstring& wide) {
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) return false;
    wide.assign(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, text, -1, &wide[0], length) != length) return false;
    wide.resize(static_cast<size_t>(length) - 1);
    return true;
}

// Copies the body and its terminating NUL; the caller has made sure it fits.
void StoreBody(const std::vector<char>& body, char* destination) {
    if (!body.empty()) std::memcpy(destination, body.data(), body.size());
    destination[body.size()] = '\0';
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

// Reads the response body as it becomes available, keeping at most limit bytes. False when
// the transfer broke off, also when the connection closed before the announced length.
bool ReadBody(HINTERNET request, size_t limit, std::vector<char>& body) {
    for (;;) {
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(request, &available)) return false;
        if (available == 0 || body.size() >= limit) break;
        size_t room = limit - body.size();
        DWORD wanted = available < room ? available : static_cast<DWORD>(room);
        size_t at = body.size();
        body.resize(at + wanted);
        DWORD received = 0;
        if (!WinHttpReadData(request, body.data() + at, wanted, &received)) return false;
        body.resize(at + received);
        if (received == 0) break;
    }
    if (body.size() >= limit) return true;  // cut at the caller's capacity
    long long announced = ContentLength(request);
    return announced < 0 || static_cast<unsigned long long>(announced) <= body.size();
}

}  // namespace

int FetchPage(const char* address, char* destination, size_t capacity) {
    if (!address || !destination || capacity == 0) return 0;
    std::wstring url;
    if (!Widen(address, url)) return 0;

    InternetHandle session(WinHttpOpen(
        kUserAgent, WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) return 0;
    WinHttpSetTimeouts(session.get(), 0, kConnectTimeout, kSendTimeout, kReceiveTimeout);
    DWORD response_timeout = kResponseTimeout;
    WinHttpSetOption(
        session.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &response_timeout, sizeof(response_timeout));

    // Let the cracker point into url; the lengths are checked against our limits afterwards.
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return 0;
    if (!parts.lpszHostName || parts.dwHostNameLength == 0 || parts.dwHostNameLength >= kHostCapacity ||
        parts.dwUrlPathLength + parts.dwExtraInfoLength >= kPathCapacity)
        return 0;
    std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path;
    if (parts.lpszUrlPath) path.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    if (parts.lpszExtraInfo) path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);

    // Port 0 with the secure flag below means 443, whatever scheme or port the address has.
    InternetHandle connection(WinHttpConnect(session.get(), host.c_str(), INTERNET_DEFAULT_PORT, 0));
    if (!connection) return 0;
    InternetHandle request(WinHttpOpenRequest(connection.get(),
                                              L"GET",
                                              path.c_str(),
                                              nullptr,
                                              WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES,
                                              WINHTTP_FLAG_SECURE));
    if (!request) return 0;
    // A certificate that does not verify fails here: the request is never sent.
    if (!WinHttpSendRequest(
            request.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
        return 0;
    // Any status is fine (an error page is a page), but no answer at all is a failure.
    if (!WinHttpReceiveResponse(request.get(), nullptr)) return 0;

    std::vector<char> body;
    if (!ReadBody(request.get(), capacity - 1, body)) return 0;
    StoreBody(body, destination);
    return 1;
}

int FetchPageViaMoniker(const char* address, char* destination, size_t capacity) {
    if (!address || !destination || capacity == 0) return 0;
    std::wstring url;
    if (!Widen(address, url)) return 0;

    win::ComApartment com;
    win::ComPtr<IMoniker> moniker;
    if (FAILED(CreateURLMonikerEx(nullptr, url.c_str(), moniker.out(), URL_MK_UNIFORM))) return 0;
    win::ComPtr<IBindCtx> context;
    if (FAILED(CreateBindCtx(0, context.out()))) return 0;
    win::ComPtr<IStream> stream;
    if (FAILED(moniker->BindToStorage(context.get(), nullptr, IID_IStream, stream.out_void())) ||
        !stream.get())
        return 0;
    STATSTG stat = {};
    if (FAILED(stream->Stat(&stat, STATFLAG_NONAME))) return 0;

    size_t size = stat.cbSize.LowPart;
    if (size > capacity - 1) size = capacity - 1;
    std::vector<char> body(size);
    size_t filled = 0;
    while (filled < size) {
        ULONG received = 0;
        HRESULT hr = stream->Read(body.data() + filled, static_cast<ULONG>(size - filled), &received);
        if (FAILED(hr)) return 0;
        if (received == 0) break;
        filled += received;
    }
    body.resize(filled);
    StoreBody(body, destination);
    return 1;
}
