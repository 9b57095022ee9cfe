#include "app/lists/myfeeds.h"

#include <commdlg.h>

#include <cstdio>
#include <cstring>

#include "app/lists/listcontent.h"
#include "app/lists/screens.h"
#include "app/state/shell.h"
#include "library/feedfiles.h"
#include "library/feedlist.h"
#include "library/opml.h"
#include "library/optionvalues.h"
#include "library/receptionlog.h"
#include "library/settings.h"
#include "library/webaddress.h"
#include "retrieval/feedpage.h"
#include "retrieval/fetch.h"
#include "retrieval/reception.h"
#include "retrieval/sjis.h"
#include "speech/speak.h"
#include "win/codepage.h"
#include "win/handles.h"

namespace {

constexpr std::size_t PageCapacity = 2048000;
constexpr std::size_t OpmlFileLimit = 4 * 1024 * 1024;

FeedList UserFeeds;
int ShownAtLevel = -1;  // the menu level the feeds were shown as

void Say(const char* text, int delay = 100) { SpeakMessage(text, delay); }

void Warn(const char* text, const char* caption) {
    MessageBoxA(MainWindow, text, caption, MB_OK | MB_ICONEXCLAMATION);
}

// Set while the feeds file exists but cannot be read (locked, say): writing the list then
// would replace feeds that were never read.
bool FileUnreadable = false;

void LoadFeeds(bool announceDamage) {
    FeedFileState state = LoadUserFeeds(DataFolder, UserFeeds);
    FileUnreadable = state == FeedFileState::Unreadable;
    if (!announceDamage) return;
    if (state == FeedFileState::Damaged)
        Say("マイフィードのファイルに読めない部分がありました。読めたフィードを表示します", 0);
    else if (state == FeedFileState::Unreadable)
        Say("マイフィードのファイルを読めませんでした", 0);
}

// Writes the list; when it cannot be written the list goes back to what the file holds.
bool SaveFeeds() {
    if (!FileUnreadable && SaveUserFeeds(DataFolder, UserFeeds)) return true;
    LoadFeeds(false);
    Say("マイフィードを保存できませんでした", 0);
    Warn("マイフィードを保存できませんでした。", "保存エラー");
    return false;
}

int Selected() { return static_cast<int>(SendMessageA(MenuList, LB_GETCURSEL, 0, 0)); }

const UserFeed* SelectedFeed(int* index) {
    int p = Selected();
    if (p < 0 || p >= static_cast<int>(UserFeeds.feeds.size())) return nullptr;
    if (index) *index = p;
    return &UserFeeds.feeds[p];
}

// Fills MenuList with the feeds and selects entry select. The first fifty are also the menu
// stack's entries of the level, so that the favorites take them as any category.
void FillFeedList(int select) {
    int level = ShownAtLevel;
    if (level < 0 || level >= MenuLevelCount) return;
    std::memset(MenuStack.ListText[level], 0, sizeof MenuStack.ListText[level]);
    std::memset(MenuStack.MenuName[level], 0, sizeof MenuStack.MenuName[level]);
    for (int i = 0; i < MenuEntryCount; ++i) MenuStack.Number[level][i] = 0;
    SendMessageA(MenuList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(MenuList, LB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < UserFeeds.feeds.size(); ++i) {
        const UserFeed& feed = UserFeeds.feeds[i];
        SendMessageA(MenuList, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(feed.name.c_str()));
        if (i < static_cast<std::size_t>(MenuEntryCount)) {
            std::snprintf(MenuStack.ListText[level][i], MenuTextCapacity, "%s", feed.name.c_str());
            std::snprintf(MenuStack.MenuName[level][i], MenuTextCapacity, "%s", MyFeedsMenuName);
            MenuStack.Number[level][i] = feed.id;
        }
    }
    SendMessageA(MenuList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(MenuList, nullptr, TRUE);
    int count = static_cast<int>(UserFeeds.feeds.size());
    if (select >= count) select = count - 1;
    if (select < 0) select = 0;
    SendMessageA(MenuList, LB_SETCURSEL, select, 0);
    MenuStack.MenuSelection[level] = select;
}

void SayEmpty() { Say("マイフィードにはフィードがありません。コントロール+Nで追加できます", 100); }

// "example.jp/feed" is taken as "https://example.jp/feed".
std::string CompleteAddress(std::string address) {
    std::size_t b = address.find_first_not_of(" \t");
    std::size_t e = address.find_last_not_of(" \t");
    address = b == std::string::npos ? std::string() : address.substr(b, e - b + 1);
    if (!address.empty() && address.find("://") == std::string::npos) address = "https://" + address;
    return address;
}

bool Fetch(const char* address, win::HeapBuffer& page) {
    if (!page.get()) return false;
    return FetchPage(address, page.get(), page.capacity()) == 1 ||
           FetchPageViaMoniker(address, page.get(), page.capacity()) == 1;
}

void SayAlreadyListed(int index) {
    char text[FeedNameLimit + 64];
    std::snprintf(text, sizeof text, "「%s」はすでにマイフィードにあります", UserFeeds.feeds[index].name.c_str());
    FillFeedList(index);
    Say(text, 0);
}

void SayFull() {
    char text[96];
    std::snprintf(text, sizeof text, "マイフィードは上限の%d件まで登録されています", FeedLimit);
    Say(text, 0);
}

void SayNotFound() {
    Say("フィードが見つかりませんでした", 0);
    Warn("このアドレスにはフィードが見つかりませんでした。", "フィードの追加");
}

// Receives address and reads it as a feed; the feed links of a page are offered to choose from.
// address becomes the feed's own address. False (announced) when there is no feed to add.
bool FindFeed(std::string& address, std::string& title) {
    win::HeapBuffer page(PageCapacity);
    Say("フィードを受信", 0);
    if (!Fetch(address.c_str(), page)) {
        Say("記事リストの受信ができませんでした", 0);
        return false;
    }
    FeedPageReading reading = ReadFeedPage(page.get(), page.capacity(), address.c_str());
    if (reading.feed.isFeed) {
        title = reading.feed.title;
        return true;
    }
    if (reading.links.empty()) {
        SayNotFound();
        return false;
    }
    int choice = 0;
    if (reading.links.size() > 1) {
        char text[96];
        std::snprintf(text, sizeof text, "%d件のフィードが見つかりました。追加するフィードを選んでください",
                      static_cast<int>(reading.links.size()));
        Say(text, 0);
        choice = ChooseFeedLink(reading.links);
        if (choice < 0) {
            Say("キャンセルしました", 0);
            return false;
        }
    }
    address = reading.links[choice].address;
    int existing = FindFeedByAddress(UserFeeds, address);
    if (existing >= 0) {
        SayAlreadyListed(existing);
        return false;
    }
    page.get()[0] = '\0';
    if (!Fetch(address.c_str(), page)) {
        Say("記事リストの受信ができませんでした", 0);
        return false;
    }
    reading = ReadFeedPage(page.get(), page.capacity(), address.c_str());
    if (!reading.feed.isFeed) {
        SayNotFound();
        return false;
    }
    title = reading.feed.title.empty() ? reading.links[choice].title : reading.feed.title;
    return true;
}

void ShowAgain(int select) {
    if (UserFeeds.feeds.empty()) {
        FillFeedList(0);
        return;
    }
    FillFeedList(select);
}

bool OpenOpmlPath(char* path, std::size_t capacity, bool save) {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainWindow;
    dialog.lpstrFilter = "OPML(*.opml;*.xml)\0*.opml;*.xml\0全てのファイル(*.*)\0*.*\0";
    dialog.lpstrFile = path;
    dialog.nMaxFile = static_cast<DWORD>(capacity);
    dialog.lpstrDefExt = "opml";
    // The working directory stays the data folder, whichever folder the user picks.
    if (save) {
        dialog.lpstrTitle = "マイフィードの書き出し";
        dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
        return GetSaveFileNameA(&dialog) != 0;
    }
    dialog.lpstrTitle = "マイフィードの読み込み";
    dialog.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    return GetOpenFileNameA(&dialog) != 0;
}

}  // namespace

void CategoryFilePath(const char* menuName, char* path, std::size_t capacity) {
    if (std::strcmp(menuName, MyFeedsMenuName) == 0)
        UserFeedFilePath(DataFolder, path, capacity);
    else
        std::snprintf(path, capacity, "%s\\News\\%s", ProgramFolder, menuName);
}

bool IsCategoryMenuName(const char* menuName) {
    return (menuName && std::strcmp(menuName, MyFeedsMenuName) == 0) || IsCategoryFileName(menuName);
}

void ShowMyFeedsLevel() {
    int level = MenuStack.MenuLevel + 1;
    if (level >= MenuLevelCount) return;
    LoadFeeds(true);
    MenuStack.MenuLevel = level;
    ShownAtLevel = level;
    ShowListContent(ListContent::MyFeeds);
    FillFeedList(0);
    if (UserFeeds.feeds.empty()) SayEmpty();
}

bool MyFeedsShown() {
    return MenuListContent() == ListContent::MyFeeds && MenuStack.MenuLevel == ShownAtLevel;
}

void EnterMyFeed() {
    int p = 0;
    const UserFeed* feed = MyFeedsShown() ? SelectedFeed(&p) : nullptr;
    if (!feed) {
        if (!MyFeedsShown()) ActivateMenuEntry();
        else if (UserFeeds.feeds.empty()) SayEmpty();
        return;
    }
    MenuStack.MenuSelection[MenuStack.MenuLevel] = p;
    char path[MAX_PATH * 2];
    UserFeedFilePath(DataFolder, path, sizeof path);
    StartHeadlineReception(MainWindow, path, feed->id);
    char name[64];
    SjisCopyCut(name, sizeof name, feed->name.data(), feed->name.size());
    AddLogEntry(History, MyFeedsMenuName, name, feed->id);
    ShowView(HeadlineList, MenuList);
}

void DeleteSelectedFeed() {
    if (MyFeedsShown()) DeleteFeed();
}

bool AddFeed() {
    std::string address;
    if (!AskFeedAddress(address)) return true;
    address = CompleteAddress(address);
    if (!IsWebAddress(address.c_str()) || address.size() > FeedAddressMax) {
        Say("httpまたはhttpsで始まるアドレスを入力してください", 0);
        return true;
    }
    LoadFeeds(false);
    int existing = FindFeedByAddress(UserFeeds, address);
    if (existing >= 0) {
        SayAlreadyListed(existing);
        return true;
    }
    if (UserFeeds.feeds.size() >= static_cast<std::size_t>(FeedLimit)) {
        SayFull();
        return true;
    }
    std::string title;
    if (!FindFeed(address, title)) return true;
    std::string name = CleanFeedName(title);
    if (!AskFeedName("フィードの名前", name)) return true;
    int index = -1;
    switch (AddUserFeed(UserFeeds, name, address, &index)) {
        case FeedAddOutcome::Added:
            break;
        case FeedAddOutcome::AlreadyListed:
            SayAlreadyListed(index);
            return true;
        case FeedAddOutcome::Full:
            SayFull();
            return true;
        case FeedAddOutcome::Refused:
            Say("このアドレスは追加できません", 0);
            return true;
    }
    if (!SaveFeeds()) return true;
    RemoveSeenItems(DataFolder, UserFeeds.feeds[index].id);  // left by a feed deleted earlier
    FillFeedList(index);
    char text[FeedNameLimit + 32];
    std::snprintf(text, sizeof text, "「%s」を追加しました", UserFeeds.feeds[index].name.c_str());
    Say(text, 100);
    return true;
}

bool RenameFeed() {
    int p = 0;
    const UserFeed* feed = SelectedFeed(&p);
    if (!feed) return true;
    std::string name = feed->name;
    if (!AskFeedName("フィード名の変更", name)) return true;
    name = CleanFeedName(name);
    if (name.empty()) return true;
    UserFeeds.feeds[p].name = name;
    bool saved = SaveFeeds();  // when not, the list is again what the file holds
    FillFeedList(p);
    if (!saved) return true;
    char text[FeedNameLimit + 32];
    std::snprintf(text, sizeof text, "名前を「%s」に変更しました", name.c_str());
    Say(text, 100);
    return true;
}

bool DeleteFeed() {
    int p = 0;
    const UserFeed* feed = SelectedFeed(&p);
    if (!feed) return true;
    char question[FeedNameLimit + 64];
    std::snprintf(question, sizeof question, "「%s」をマイフィードから削除しますか？", feed->name.c_str());
    if (MessageBoxA(MainWindow, question, "フィードの削除", MB_YESNO | MB_ICONQUESTION) != IDYES) return true;
    int id = feed->id;
    RemoveUserFeed(UserFeeds, p);
    if (!SaveFeeds()) {
        FillFeedList(p);
        return true;
    }
    RemoveSeenItems(DataFolder, id);
    ShowAgain(p);
    Say("削除しました", 100);
    if (UserFeeds.feeds.empty()) SayEmpty();
    return true;
}

namespace {

bool Move(int step) {
    int p = 0;
    if (!SelectedFeed(&p)) return true;
    if (!MoveUserFeed(UserFeeds, p, step)) {
        Say(step < 0 ? "これ以上上には移動できません" : "これ以上下には移動できません", 0);
        return true;
    }
    if (!SaveFeeds()) {
        FillFeedList(p);
        return true;
    }
    FillFeedList(p + step);
    char text[FeedNameLimit + 64];
    std::snprintf(text, sizeof text, "「%s」を%d番目に移動しました", UserFeeds.feeds[p + step].name.c_str(), p + step + 1);
    Say(text, 100);
    return true;
}

}  // namespace

bool MoveFeedUp() { return Move(-1); }
bool MoveFeedDown() { return Move(1); }

bool ImportFeeds() {
    char path[MAX_PATH * 2] = "";
    if (!OpenOpmlPath(path, sizeof path, false)) return true;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, OpmlFileLimit)) {
        Say("ファイルを読めませんでした", 0);
        return true;
    }
    win::HeapBuffer text(bytes.size() * 2 + 16);  // Shift-JIS is never longer than the UTF-8
    if (!text.get()) return true;
    std::memcpy(text.get(), bytes.c_str(), bytes.size() + 1);
    ConvertFeedPage(text.get(), text.capacity());
    std::vector<OpmlFeed> feeds = ReadOpml(text.get(), std::strlen(text.get()));
    if (feeds.empty()) {
        SayNotFound();
        return true;
    }
    LoadFeeds(false);
    int added = 0, listed = 0, first = -1;
    bool full = false;
    for (const OpmlFeed& feed : feeds) {
        int index = -1;
        FeedAddOutcome outcome = AddUserFeed(UserFeeds, feed.title, feed.address, &index);
        if (outcome == FeedAddOutcome::Added) {
            ++added;
            if (first < 0) first = index;
        } else if (outcome == FeedAddOutcome::AlreadyListed) {
            ++listed;
        } else if (outcome == FeedAddOutcome::Full) {
            full = true;
            break;
        }
    }
    if (added > 0 && !SaveFeeds()) {
        FillFeedList(0);
        return true;
    }
    for (int i = first; i >= 0 && i < static_cast<int>(UserFeeds.feeds.size()); ++i)
        RemoveSeenItems(DataFolder, UserFeeds.feeds[i].id);
    if (MyFeedsShown()) FillFeedList(first >= 0 ? first : 0);
    char text2[160];
    std::snprintf(text2, sizeof text2, "%d件のフィードを読み込みました（%d件は登録済み）", added, listed);
    Say(text2, 100);
    if (full) SayFull();
    return true;
}

bool ExportFeeds() {
    LoadFeeds(false);
    if (UserFeeds.feeds.empty()) {
        SayEmpty();
        return true;
    }
    char path[MAX_PATH * 2] = "MyFeeds.opml";
    if (!OpenOpmlPath(path, sizeof path, true)) return true;
    std::vector<OpmlFeed> feeds;
    for (const UserFeed& feed : UserFeeds.feeds) feeds.push_back({feed.name, feed.address});
    std::string document = WriteOpml(feeds, "タブロのマイフィード");
    win::HeapBuffer utf8(1);
    if (!win::ShiftJisToUtf8(document.c_str(), utf8) || !ReplaceFileText(path, utf8.get())) {
        Say("ファイルを保存できませんでした", 0);
        return true;
    }
    char text[96];
    std::snprintf(text, sizeof text, "%d件のフィードを書き出しました", static_cast<int>(feeds.size()));
    Say(text, 100);
    return true;
}

bool AnnounceFeedNews(const ReceptionReport& report) {
    if (std::strcmp(report.parameters[1], FeedSourceId) != 0 || report.radio) return false;
    LoadFeeds(false);
    int index = FindFeedByAddress(UserFeeds, report.parameters[2]);
    if (index < 0) return false;
    int id = UserFeeds.feeds[index].id;
    std::vector<std::string> listed;
    for (int i = 0; i < report.count; ++i) listed.push_back(report.addresses[i]);
    FeedNews news = CompareWithSeen(listed, LoadSeenItems(DataFolder, id));
    SaveSeenItems(DataFolder, id, news.keep);
    // The new headlines are marked where the screen reader reads them, the numbers kept.
    char marked[TitleCapacity + 8];
    char entry[ListEntryCapacity];
    SendMessageA(HeadlineList, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < report.count; ++i) {
        if (!news.isNew[i]) continue;
        std::snprintf(marked, sizeof marked, "新 %s", report.titles[i]);
        FormatListEntry(entry, sizeof entry, i + 1, marked, Settings.NumberEntries == 1 ? 1 : 0);
        SendMessageA(HeadlineList, LB_DELETESTRING, i, 0);
        SendMessageA(HeadlineList, LB_INSERTSTRING, i, reinterpret_cast<LPARAM>(entry));
    }
    SendMessageA(HeadlineList, LB_SETCURSEL, 0, 0);
    SendMessageA(HeadlineList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(HeadlineList, nullptr, TRUE);
    AnnounceHeadlineCount(report.count, false, report.titles[0], news.newCount);
    return true;
}
