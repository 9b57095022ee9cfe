// FetchPage and FetchPageViaMoniker against the local HTTPS site (testing/site), which CTest
// starts before these tests and which tells us its request log and folder by environment.
#include "retrieval/fetch.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "testing/doubles/processcounts.h"

namespace {

const size_t kPageCapacity = 1024000;
const char kUntouched = '\x5A';

// A Unix path from the environment as Wine sees it (drive Z: is the Unix root).
std::string UnixPathFromEnv(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value) return std::string();
    std::string path = std::string("Z:") + value;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct Request {
    std::string method, path, agent, host;
};

// The last request the site logged: method, path with query, user agent and Host, tab-separated.
Request LastRequest() {
    std::istringstream log(ReadFile(UnixPathFromEnv("TAVLO_SITE_LOG")));
    std::string line, last;
    while (std::getline(log, line))
        if (!line.empty()) last = line;
    Request request;
    std::istringstream fields(last);
    std::getline(fields, request.method, '\t');
    std::getline(fields, request.path, '\t');
    std::getline(fields, request.agent, '\t');
    std::getline(fields, request.host, '\t');
    return request;
}

std::string Fixture(const char* name) {
    return ReadFile(UnixPathFromEnv("TAVLO_SITE_ROOT") + "\\fetch\\" + name);
}

std::string Site(const std::string& path) { return "https://localhost" + path; }

// A caller's buffer of the given capacity followed by guard bytes, filled with a pattern so
// that any write, inside or past the capacity, shows.
struct Destination {
    explicit Destination(size_t capacity) : capacity(capacity), bytes(capacity + 4096, kUntouched) {}
    char* data() { return bytes.data(); }
    bool Untouched() const {
        for (char c : bytes)
            if (c != kUntouched) return false;
        return true;
    }
    bool GuardIntact() const {
        for (size_t i = capacity; i < bytes.size(); ++i)
            if (bytes[i] != kUntouched) return false;
        return true;
    }
    size_t capacity;
    std::vector<char> bytes;
};

typedef int (*Fetcher)(const char*, char*, size_t);

std::string FetchText(Fetcher fetch, const std::string& address, int* result) {
    Destination destination(kPageCapacity);
    *result = fetch(address.c_str(), destination.data(), destination.capacity);
    return *result ? std::string(destination.data()) : std::string();
}

// Handles of this process.
long ProcessHandleCount() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    return ProcessHandleCountOf(GetCurrentProcessId());
}

class FetchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (UnixPathFromEnv("TAVLO_SITE_LOG").empty())
            GTEST_SKIP() << "the local test site is not running (run these tests through ctest)";
    }
};

TEST_F(FetchTest, SendsPathQueryAndUserAgentOverTlsToPort443) {
    int result = 0;
    EXPECT_EQ(FetchText(FetchPage, Site("/fetch/page.html"), &result), Fixture("page.html"));
    EXPECT_EQ(result, 1);

    // The site speaks only TLS and only on 443: a plain address with another port reaching it
    // shows that neither the scheme nor the port of the address is used.
    EXPECT_EQ(FetchText(FetchPage, "http://localhost:8080/fetch/page.html?page=3", &result),
              Fixture("page.html@page=3"));
    EXPECT_EQ(result, 1);
    Request request = LastRequest();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.path, "/fetch/page.html?page=3");
    EXPECT_EQ(request.agent, "Tavlo 10.0");
    EXPECT_EQ(request.host, "localhost");
}

TEST_F(FetchTest, ErrorPagesEmptyAndSlowBodiesAreDocuments) {
    int result = 0;
    std::string page = FetchText(FetchPage, Site("/fetch/no-such-page.html"), &result);
    EXPECT_EQ(result, 1);
    EXPECT_NE(page.find("<h1>Not Found</h1>"), std::string::npos) << page;

    Destination empty(kPageCapacity);
    EXPECT_EQ(FetchPage(Site("/_fault/empty").c_str(), empty.data(), empty.capacity), 1);
    EXPECT_EQ(empty.bytes[0], '\0');
    EXPECT_EQ(empty.bytes[1], kUntouched);

    DWORD started = GetTickCount();
    EXPECT_EQ(FetchText(FetchPage, Site("/_fault/slow/fetch/long.html?delay=0.05"), &result),
              Fixture("long.html"));
    EXPECT_EQ(result, 1);
    EXPECT_GE(GetTickCount() - started, 500u) << "the site did not send the body slowly";
}

TEST_F(FetchTest, LongBodyIsCutAtTheCapacity) {
    Destination page(kPageCapacity);
    ASSERT_EQ(FetchPage(Site("/_fault/big?bytes=5242880").c_str(), page.data(), page.capacity), 1);
    ASSERT_EQ(std::strlen(page.data()), kPageCapacity - 1);
    for (size_t i = 0; i < kPageCapacity - 1; ++i)
        ASSERT_EQ(page.bytes[i], static_cast<char>('a' + i % 26)) << "at " << i;
    EXPECT_TRUE(page.GuardIntact());

    // Exactly fitting, one byte short, and room for nothing but the terminator.
    Destination fits(101);
    EXPECT_EQ(FetchPage(Site("/_fault/big?bytes=100").c_str(), fits.data(), fits.capacity), 1);
    EXPECT_EQ(std::strlen(fits.data()), 100u);
    EXPECT_TRUE(fits.GuardIntact());
    Destination short_by_one(100);
    EXPECT_EQ(FetchPage(Site("/_fault/big?bytes=100").c_str(), short_by_one.data(), 100), 1);
    EXPECT_EQ(std::strlen(short_by_one.data()), 99u);
    EXPECT_TRUE(short_by_one.GuardIntact());
    Destination one(1);
    EXPECT_EQ(FetchPage(Site("/fetch/page.html").c_str(), one.data(), 1), 1);
    EXPECT_EQ(one.bytes[0], '\0');
    EXPECT_TRUE(one.GuardIntact());
}

TEST_F(FetchTest, BodyIsCopiedAsReceivedPastANulByte) {
    const Fetcher fetchers[] = {FetchPage, FetchPageViaMoniker};
    for (Fetcher fetch : fetchers) {
        Destination page(kPageCapacity);
        ASSERT_EQ(fetch(Site("/_fault/nul").c_str(), page.data(), page.capacity), 1);
        EXPECT_STREQ(page.data(), "before");
        EXPECT_EQ(std::string(page.data(), 13), std::string("before\0after\0", 13));
    }
}

TEST_F(FetchTest, FailuresLeaveTheDestinationUntouched) {
    const std::string failures[] = {
        "https://nohost.invalid/page.html",   // no such host
        Site("/_fault/cut/fetch/long.html"),  // connection lost mid-body
        Site("/_fault/silent?seconds=3"),     // accepted, then closed with no answer
        "not an address",
        "https://" + std::string(300, 'a') + ".example/",  // host name too long
        Site("/" + std::string(2100, 'p')),                // path too long
    };
    for (const std::string& address : failures) {
        Destination page(kPageCapacity);
        EXPECT_EQ(FetchPage(address.c_str(), page.data(), page.capacity), 0) << address;
        EXPECT_TRUE(page.Untouched()) << address;
    }

    // A certificate from a CA nobody trusts: the site answers "armed" and presents that
    // certificate on the next connection.
    int result = 0;
    ASSERT_EQ(FetchText(FetchPage, Site("/_fault/unknown-ca"), &result), "armed");
    Destination page(kPageCapacity);
    EXPECT_EQ(FetchPage(Site("/fetch/page.html").c_str(), page.data(), page.capacity), 0);
    EXPECT_TRUE(page.Untouched());
    EXPECT_EQ(LastRequest().path, "/_fault/unknown-ca") << "the request was sent anyway";
}

TEST_F(FetchTest, FilesGetTheBodyByteForByteOrNothing) {
    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "tavlo-fetched.wav";
    DeleteFileA(path.c_str());

    ASSERT_EQ(FetchToFile(Site("/audio/news.wav").c_str(), path.c_str(), 1 << 30), 1);
    const std::string wave = ReadFile(UnixPathFromEnv("TAVLO_SITE_ROOT") + "\\audio\\news.wav");
    ASSERT_GT(wave.size(), 100000u);
    EXPECT_TRUE(ReadFile(path) == wave);
    ASSERT_EQ(FetchToFile(Site("/_fault/nul").c_str(), path.c_str(), 1 << 30), 1);
    EXPECT_EQ(ReadFile(path), std::string("before\0after", 12));
    ASSERT_EQ(FetchToFile(Site("/_fault/big?bytes=100000").c_str(), path.c_str(), 1000), 1);
    EXPECT_EQ(ReadFile(path).size(), 1000u);

    // A transfer that breaks off leaves no file; a folder that is missing takes none.
    DeleteFileA(path.c_str());
    EXPECT_EQ(FetchToFile(Site("/_fault/cut/fetch/long.html").c_str(), path.c_str(), 1 << 30), 0);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);
    const std::string nowhere = std::string(folder) + "no-such-folder\\x.wav";
    EXPECT_EQ(FetchToFile(Site("/audio/news.wav").c_str(), nowhere.c_str(), 1 << 30), 0);
}

TEST_F(FetchTest, MonikerFetchesTheSameDocuments) {
    int result = 0;
    EXPECT_EQ(FetchText(FetchPageViaMoniker, Site("/fetch/page.html"), &result), Fixture("page.html"));
    EXPECT_EQ(result, 1);
    EXPECT_EQ(FetchText(FetchPageViaMoniker, Site("/fetch/page.html?page=3"), &result),
              Fixture("page.html@page=3"));
    EXPECT_EQ(LastRequest().path, "/fetch/page.html?page=3");
    EXPECT_EQ(FetchText(FetchPageViaMoniker, Site("/_fault/slow/fetch/long.html?delay=0.02"), &result),
              Fixture("long.html"));

    Destination empty(kPageCapacity);
    EXPECT_EQ(FetchPageViaMoniker(Site("/_fault/empty").c_str(), empty.data(), empty.capacity), 1);
    EXPECT_EQ(empty.bytes[0], '\0');

    Destination big(kPageCapacity);
    EXPECT_EQ(FetchPageViaMoniker(Site("/_fault/big").c_str(), big.data(), big.capacity), 1);
    EXPECT_EQ(std::strlen(big.data()), kPageCapacity - 1);
    EXPECT_TRUE(big.GuardIntact());

    Destination unreachable(kPageCapacity);
    EXPECT_EQ(FetchPageViaMoniker("https://nohost.invalid/", unreachable.data(), kPageCapacity), 0);
    EXPECT_TRUE(unreachable.Untouched());

    ASSERT_EQ(FetchText(FetchPage, Site("/_fault/unknown-ca"), &result), "armed");
    Destination untrusted(kPageCapacity);
    EXPECT_EQ(FetchPageViaMoniker(Site("/fetch/page.html").c_str(), untrusted.data(), kPageCapacity), 0);
    EXPECT_TRUE(untrusted.Untouched());
}

TEST_F(FetchTest, CallsOnSeveralThreadsDoNotMix) {
    const std::string expected[] = {Fixture("page.html"), Fixture("page.html@page=3")};
    const std::string addresses[] = {Site("/fetch/page.html"), Site("/fetch/page.html?page=3")};
    std::atomic<int> wrong(0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int i = 0; i < 10; ++i) {
                int result = 0;
                if (FetchText(FetchPage, addresses[t % 2], &result) != expected[t % 2] || result != 1)
                    ++wrong;
            }
        });
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(wrong.load(), 0);
}

TEST_F(FetchTest, AThousandFetchesLeaveNoHandleBehind) {
    std::vector<char> page(kPageCapacity);
    const std::string good = Site("/fetch/page.html");
    // Mostly successes, with the failure paths mixed in: every tenth a host that does not
    // exist, every fiftieth a connection cut mid-body, every hundredth through the moniker.
    const std::string cut = Site("/_fault/cut/fetch/long.html");
    // Let the libraries set up what they keep for the life of the process, on every path.
    for (int i = 0; i < 5; ++i) {
        FetchPage(good.c_str(), page.data(), page.size());
        FetchPageViaMoniker(good.c_str(), page.data(), page.size());
        FetchPage(cut.c_str(), page.data(), page.size());
        FetchPage("https://nohost.invalid/", page.data(), page.size());
    }
    long before = ProcessHandleCount();
    ASSERT_GT(before, 0);
    DWORD started = GetTickCount();
    int failed = 0;
    for (int i = 1; i <= 1000; ++i) {
        if (i % 100 == 0)
            failed += !FetchPageViaMoniker(good.c_str(), page.data(), page.size());
        else if (i % 50 == 0)
            failed += FetchPage(cut.c_str(), page.data(), page.size());
        else if (i % 10 == 0)
            failed += FetchPage("https://nohost.invalid/", page.data(), page.size());
        else
            failed += !FetchPage(good.c_str(), page.data(), page.size());
    }
    DWORD elapsed = GetTickCount() - started;
    long after = ProcessHandleCount();
    EXPECT_EQ(failed, 0);
    // A handle left by each fetch of any kind would show as ten or more; the system's own
    // pools may still grow by a thread or two of their own while so much goes on.
    EXPECT_LE(after, before + 2);
    std::printf(
        "[ measured ] 1000 fetches in %lu ms; handles %ld before, %ld after\n", elapsed, before, after);
}

// A download stopped by its deadline or by its caller's wish: result 0, nothing written, and
// the call back well before the server would have finished (long.html is 15 pieces, 1 s apart).
TEST_F(FetchTest, DeadlineAndCallerStopEveryDownload) {
    const std::string trickle = Site("/_fault/slow/fetch/long.html?delay=1");
    struct Case {
        const char* what;
        std::string address;
        FetchLimits limits;
    };
    FetchLimits soon;
    soon.deadlineMs = 2500;
    std::atomic<DWORD> stopAt(0);
    FetchLimits stopped;
    stopped.keepGoing = [](void* at) { return GetTickCount() < static_cast<std::atomic<DWORD>*>(at)->load(); };
    stopped.context = &stopAt;
    const Case cases[] = {
        {"trickling body", trickle, soon},
        {"no answer at all", Site("/_fault/silent?seconds=20"), soon},
        {"no longer wanted", trickle, stopped},
    };
    for (const Case& c : cases) {
        Destination page(kPageCapacity);
        stopAt = GetTickCount() + 1500;
        DWORD started = GetTickCount();
        EXPECT_EQ(FetchPage(c.address.c_str(), page.data(), page.capacity, c.limits), 0) << c.what;
        DWORD elapsed = GetTickCount() - started;
        EXPECT_TRUE(page.Untouched()) << c.what;
        EXPECT_LT(elapsed, 4500u) << c.what;
        std::printf("[ measured ] %s: given up after %lu ms\n", c.what, elapsed);
    }

    char folder[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "tavlo-stopped.html";
    stopAt = GetTickCount() + 1500;
    EXPECT_EQ(FetchToFile(trickle.c_str(), path.c_str(), 1 << 30, stopped), 0);
    EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

    // The moniker's own deadline holds its caller no longer.
    Destination page(kPageCapacity);
    DWORD started = GetTickCount();
    EXPECT_EQ(FetchPageViaMoniker(Site("/_fault/silent?seconds=20").c_str(), page.data(), page.capacity, soon), 0);
    EXPECT_LT(GetTickCount() - started, 4500u);
    EXPECT_TRUE(page.Untouched());
}

TEST_F(FetchTest, RedirectionsAreFollowedToHttpsOnly) {
    const std::string followed[] = {
        Site("/_fault/redirect?to=https://localhost/fetch/page.html"),
        Site("/_fault/redirect?to=/fetch/page.html&status=301"),
        Site("/_fault/redirect?to=//localhost/fetch/page.html&status=307"),
        Site("/_fault/redirect?to=redirect%3Fto%3D/fetch/page.html&status=308"),  // relative, two hops
    };
    for (const std::string& address : followed) {
        int result = 0;
        EXPECT_EQ(FetchText(FetchPage, address, &result), Fixture("page.html")) << address;
        EXPECT_EQ(LastRequest().path, "/fetch/page.html") << address;
    }

    // Elsewhere than to https, or round and round (the bare switch leads to itself): not
    // followed, and a failure.
    const std::string refused[] = {
        Site("/_fault/redirect?to=http://localhost/fetch/page.html"),
        Site("/_fault/redirect?to=file:///c:/windows/win.ini"),
        Site("/_fault/redirect"),
    };
    for (const std::string& address : refused) {
        Destination page(kPageCapacity);
        EXPECT_EQ(FetchPage(address.c_str(), page.data(), page.capacity), 0) << address;
        EXPECT_TRUE(page.Untouched()) << address;
        EXPECT_EQ(LastRequest().path.rfind("/_fault/redirect", 0), 0u) << "followed " << address;
    }
}

}  // namespace
