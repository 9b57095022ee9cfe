// The dialogs of the user's feeds: the address to add, a feed's name, and the choice among the
// feeds a page offers.
#include <cstdio>
#include <string>
#include <vector>

#include "app/lists/myfeeds.h"
#include "app/state/shell.h"
#include "resources/resource.h"
#include "retrieval/feed.h"
#include "win/dialog.h"

namespace {

constexpr int AddressLimit = 1000;
constexpr int NameLimit = 200;

struct TextJob {
    std::string* text;
    const char* caption;
};

std::string EditText(HWND dialog, int id) {
    char text[AddressLimit + 2] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

bool Empty(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

void OnAddressInit(HWND dialog) {
    auto* job = reinterpret_cast<TextJob*>(win::DialogParameter(dialog));
    SendDlgItemMessageA(dialog, IDC_FEED_ADDRESS, EM_LIMITTEXT, AddressLimit, 0);
    SetDlgItemTextA(dialog, IDC_FEED_ADDRESS, job->text->c_str());
}

// OK takes the edit's text; an empty one keeps the dialog open on the edit.
bool TakeText(HWND dialog, int id) {
    std::string text = EditText(dialog, id);
    if (Empty(text)) {
        SetFocus(GetDlgItem(dialog, id));
        return false;
    }
    *reinterpret_cast<TextJob*>(win::DialogParameter(dialog))->text = text;
    return true;
}

bool OnAddressOk(HWND dialog) { return TakeText(dialog, IDC_FEED_ADDRESS); }

const win::DialogSpec AddressSpec = {IDD_FEED_ADDRESS, nullptr, 0, OnAddressInit, OnAddressOk, nullptr};

void OnNameInit(HWND dialog) {
    auto* job = reinterpret_cast<TextJob*>(win::DialogParameter(dialog));
    SetWindowTextA(dialog, job->caption);
    SendDlgItemMessageA(dialog, IDC_FEED_NAME, EM_LIMITTEXT, NameLimit, 0);
    SetDlgItemTextA(dialog, IDC_FEED_NAME, job->text->c_str());
    SendDlgItemMessageA(dialog, IDC_FEED_NAME, EM_SETSEL, 0, -1);
}

bool OnNameOk(HWND dialog) { return TakeText(dialog, IDC_FEED_NAME); }

const win::DialogSpec NameSpec = {IDD_FEED_NAME, nullptr, 0, OnNameInit, OnNameOk, nullptr};

struct ChoiceJob {
    const std::vector<FeedLink>* links;
    int chosen;
};

void OnChoiceInit(HWND dialog) {
    auto* job = reinterpret_cast<ChoiceJob*>(win::DialogParameter(dialog));
    HWND list = GetDlgItem(dialog, IDC_FEED_CHOICES);
    for (const FeedLink& link : *job->links) {
        std::string line = link.title.empty() ? link.address : link.title + " " + link.address;
        SendMessageA(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(line.c_str()));
    }
    SendMessageA(list, LB_SETCURSEL, 0, 0);
    SetFocus(list);
}

bool OnChoiceOk(HWND dialog) {
    auto* job = reinterpret_cast<ChoiceJob*>(win::DialogParameter(dialog));
    job->chosen = static_cast<int>(SendDlgItemMessageA(dialog, IDC_FEED_CHOICES, LB_GETCURSEL, 0, 0));
    return job->chosen >= 0;
}

// A double click on a line chooses it.
bool OnChoiceCommand(HWND dialog, int id, int code) {
    if (id != IDC_FEED_CHOICES || code != LBN_DBLCLK) return false;
    if (OnChoiceOk(dialog)) EndDialog(dialog, IDOK);
    return true;
}

const win::DialogSpec ChoiceSpec = {IDD_FEED_CHOICE, nullptr, 0, OnChoiceInit, OnChoiceOk, OnChoiceCommand};

}  // namespace

bool AskFeedAddress(std::string& address) {
    TextJob job = {&address, nullptr};
    return win::RunModalDialog(MainWindow, AddressSpec, reinterpret_cast<LPARAM>(&job)) == IDOK;
}

bool AskFeedName(const char* caption, std::string& name) {
    TextJob job = {&name, caption};
    return win::RunModalDialog(MainWindow, NameSpec, reinterpret_cast<LPARAM>(&job)) == IDOK;
}

int ChooseFeedLink(const std::vector<FeedLink>& links) {
    ChoiceJob job = {&links, -1};
    if (win::RunModalDialog(MainWindow, ChoiceSpec, reinterpret_cast<LPARAM>(&job)) != IDOK) return -1;
    return job.chosen < static_cast<int>(links.size()) ? job.chosen : -1;
}
