#include "library/feedlist.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unordered_set>

#include "library/webaddress.h"
#include "retrieval/sjis.h"

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& text) {
    std::size_t b = 0, e = text.size();
    while (b < e && Blank(text[b])) ++b;
    while (e > b && Blank(text[e - 1])) --e;
    return text.substr(b, e - b);
}

bool EqualsNoCase(const std::string& a, const char* b) {
    std::size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (std::size_t i = 0; i < n; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
        if (x != y) return false;
    }
    return true;
}

// "<prefix><digits>" in any case: the number, else 0.
int NumberAfter(const std::string& key, const char* prefix) {
    std::size_t n = std::strlen(prefix);
    if (key.size() <= n || key.size() > n + 3 || !EqualsNoCase(key.substr(0, n), prefix)) return 0;
    int value = 0;
    for (std::size_t i = n; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return 0;
        value = value * 10 + (key[i] - '0');
    }
    return value;
}

bool UsableAddress(const std::string& address) {
    if (address.empty() || address.size() > FeedAddressMax) return false;
    for (char c : address)
        if (c == ' ' || c == '"') return false;
    return IsWebAddress(address.c_str());
}

int FreeId(const FeedList& list) {
    std::vector<bool> used(FeedLimit + 1, false);
    for (const UserFeed& feed : list.feeds)
        if (feed.id >= 1 && feed.id <= FeedLimit) used[feed.id] = true;
    for (int id = 1; id <= FeedLimit; ++id)
        if (!used[id]) return id;
    return 0;
}

// Splits text into lines (CR, LF or CR LF).
template <typename Each>
void ForEachLine(const char* text, std::size_t length, Each each) {
    std::size_t start = 0;
    for (std::size_t i = 0; i <= length; ++i) {
        if (i == length || text[i] == '\r' || text[i] == '\n') {
            each(std::string(text + start, i - start));
            if (i + 1 < length && text[i] == '\r' && text[i + 1] == '\n') ++i;
            start = i + 1;
        }
    }
}

}  // namespace

int FindFeedByAddress(const FeedList& list, const std::string& address) {
    for (std::size_t i = 0; i < list.feeds.size(); ++i)
        if (list.feeds[i].address == address) return static_cast<int>(i);
    return -1;
}

int FindFeedById(const FeedList& list, int id) {
    for (std::size_t i = 0; i < list.feeds.size(); ++i)
        if (list.feeds[i].id == id) return static_cast<int>(i);
    return -1;
}

std::string CleanFeedName(const std::string& name) {
    std::string text;
    text.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        if (SjisIsLead(c) && i + 1 < name.size()) {
            text += name[i];
            text += name[++i];
        } else {
            text += (c < 0x20 || c == 0x7F) ? ' ' : name[i];
        }
    }
    text = Trim(text);
    // The profile functions drop quotes around a value: a quoted name would lose them.
    while (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
        text = Trim(text.substr(1, text.size() - 2));
    text.resize(SjisFitLength(text.data(), text.size(), FeedNameLimit));
    return Trim(text);
}

FeedAddOutcome AddUserFeed(FeedList& list, const std::string& name, const std::string& address, int* index) {
    if (!UsableAddress(address)) return FeedAddOutcome::Refused;
    int existing = FindFeedByAddress(list, address);
    if (existing >= 0) {
        if (index) *index = existing;
        return FeedAddOutcome::AlreadyListed;
    }
    int id = FreeId(list);
    if (id == 0) return FeedAddOutcome::Full;
    UserFeed feed;
    feed.id = id;
    feed.name = CleanFeedName(name);
    if (feed.name.empty()) feed.name = address.substr(0, SjisFitLength(address.data(), address.size(), FeedNameLimit));
    feed.address = address;
    list.feeds.push_back(feed);
    if (index) *index = static_cast<int>(list.feeds.size()) - 1;
    return FeedAddOutcome::Added;
}

bool MoveUserFeed(FeedList& list, int index, int step) {
    int target = index + step;
    int n = static_cast<int>(list.feeds.size());
    if (index < 0 || index >= n || target < 0 || target >= n) return false;
    std::swap(list.feeds[index], list.feeds[target]);
    return true;
}

void RemoveUserFeed(FeedList& list, int index) {
    if (index < 0 || index >= static_cast<int>(list.feeds.size())) return;
    list.feeds.erase(list.feeds.begin() + index);
}

std::string FormatFeedFile(const FeedList& list) {
    std::string text = "[MyFeeds]\r\n";
    char line[64];
    for (std::size_t i = 0; i < list.feeds.size(); ++i) {
        std::snprintf(line, sizeof line, "Feed%u=%d\r\n", static_cast<unsigned>(i + 1), list.feeds[i].id);
        text += line;
    }
    for (const UserFeed& feed : list.feeds) {
        std::snprintf(line, sizeof line, "\r\n[Category%d]\r\n", feed.id);
        text += line;
        text += "Parameter1=" + feed.name + "\r\n";
        text += std::string("Parameter2=") + FeedSourceId + "\r\n";
        text += "Parameter3=" + feed.address + "\r\n";
    }
    return text;
}

FeedFileReading ParseFeedFile(const char* text, std::size_t length) {
    FeedFileReading reading;
    struct Section {
        std::string name, address;
        bool seen = false;
    };
    std::vector<Section> sections(FeedLimit + 1);
    std::vector<int> order;
    std::vector<int> sectionOrder;
    enum { None, Order, Category, Other } in = None;
    int current = 0;
    bool damaged = false;
    if (length >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) {  // saved by an editor
        damaged = true;
        text += 3;
        length -= 3;
    }
    ForEachLine(text, length, [&](const std::string& raw) {
        std::string line = Trim(raw);
        if (line.empty() || line[0] == ';') return;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            if (EqualsNoCase(name, "MyFeeds")) {
                in = Order;
            } else if (int id = NumberAfter(name, "Category"); id >= 1 && id <= FeedLimit) {
                in = Category;
                current = id;
                if (!sections[id].seen) sectionOrder.push_back(id);
                else damaged = true;
                sections[id].seen = true;
            } else {
                in = Other;
                damaged = true;
            }
            return;
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) {
            damaged = true;
            return;
        }
        std::string key = Trim(line.substr(0, equals));
        std::string value = Trim(line.substr(equals + 1));
        if (in == Order) {
            int id = std::atoi(value.c_str());
            if (NumberAfter(key, "Feed") > 0 && id >= 1 && id <= FeedLimit) order.push_back(id);
            else damaged = true;
        } else if (in == Category) {
            if (EqualsNoCase(key, "Parameter1")) sections[current].name = value;
            else if (EqualsNoCase(key, "Parameter3")) sections[current].address = value;
        } else if (in == None) {
            damaged = true;
        }
    });
    std::vector<bool> taken(FeedLimit + 1, false);
    auto take = [&](int id) {
        if (taken[id]) {
            damaged = true;
            return;
        }
        taken[id] = true;
        const Section& section = sections[id];
        if (!section.seen || !UsableAddress(section.address) || FindFeedByAddress(reading.list, section.address) >= 0) {
            damaged = true;
            return;
        }
        UserFeed feed;
        feed.id = id;
        feed.name = CleanFeedName(section.name);
        if (feed.name.empty()) feed.name = section.address;
        feed.address = section.address;
        reading.list.feeds.push_back(feed);
    };
    for (int id : order) take(id);
    for (int id : sectionOrder)
        if (!taken[id]) {
            damaged = true;  // listed in no order: kept after the others
            take(id);
        }
    reading.damaged = damaged;
    return reading;
}

FeedNews CompareWithSeen(const std::vector<std::string>& listed, const std::vector<std::string>& seen) {
    FeedNews news;
    std::unordered_set<std::string> old(seen.begin(), seen.end());
    std::unordered_set<std::string> kept;
    for (const std::string& key : listed) {
        bool fresh = !old.count(key);
        news.isNew.push_back(fresh);
        if (fresh) ++news.newCount;
        if (news.keep.size() < SeenLimit && kept.insert(key).second) news.keep.push_back(key);
    }
    for (const std::string& key : seen)
        if (news.keep.size() < SeenLimit && kept.insert(key).second) news.keep.push_back(key);
    return news;
}

std::vector<std::string> ParseSeenFile(const char* text, std::size_t length) {
    std::vector<std::string> keys;
    ForEachLine(text, length, [&](const std::string& line) {
        if (!line.empty() && keys.size() < SeenLimit) keys.push_back(line);
    });
    return keys;
}

std::string FormatSeenFile(const std::vector<std::string>& keys) {
    std::string text;
    for (const std::string& key : keys) {
        if (key.find_first_of("\r\n") != std::string::npos) continue;
        text += key;
        text += "\r\n";
    }
    return text;
}
