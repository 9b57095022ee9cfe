#include "app/tasks/shortcuts.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <shellapi.h>

#include "app/article/browser.h"
#include "app/state/entrypoints.h"
#include "app/state/listshown.h"
#include "app/state/shell.h"
#include "library/receptionlog.h"
#include "library/shortcuts.h"
#include "library/webaddress.h"
#include "retrieval/headlines.h"
#include "speech/speak.h"

namespace {

const char NotAWebAddress[] = "ブラウザーで開けるアドレスではありません";

bool Opened(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result) > 32; }

// Opens a web address in the browser, or says why it is not opened.
void OpenWebAddress(const char* address) {
    if (!IsWebAddress(address)) {
        SpeakMessage(NotAWebAddress, 100);
        return;
    }
    OpenInBrowser(address);
}

void OpenMakerPage(const char* path) {
    char address[256];
    MakerPageAddress(path, address, sizeof address);
    OpenWebAddress(address);
}

// Opens a file of the program folder with the program the user has for it.
void OpenProgramFile(const char* fileName, const char* what) {
    char path[MAX_PATH * 2];
    std::snprintf(path, sizeof path, "%s\\%s", ProgramFolder, fileName);
    if (Opened(ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOW))) return;
    char text[128];
    std::snprintf(text, sizeof text, "%sを開けませんでした", what);
    SpeakMessage(text, 100);
}

}  // namespace

void OpenRadioEntry(int level, int p) {
    const char* address = MenuStack.MenuName[level][p];
    if (!IsWebAddress(address)) {
        SpeakMessage(NotAWebAddress, 100);
        return;
    }
    if (std::strcmp(address, SpecialRadioAddress) == 0)
        ShellExecuteA(nullptr, "open", "iexplore.exe", address, nullptr, SW_SHOW);
    else
        OpenInBrowser(address);
    char name[LogTextCapacity];
    std::snprintf(name, sizeof name, "%s", MenuStack.ListText[level][p]);
    RadioLabelFor(address, name, sizeof name);
    AddLogEntry(History, address, name, EntryWebPage);
}

bool OpenPageInBrowser() {
    HWND focus = GetFocus();
    if (focus == MenuList || focus == HeadlineList) return false;
    if (BodyShowsScrapbookText()) return true;
    int depth = PageDepth;
    if (depth < 1 || depth > HeadlineLevels || !HeadlineStore.pageAddresses[depth - 1][0]) return true;
    OpenWebAddress(HeadlineStore.pageAddresses[depth - 1]);
    return true;
}

bool OpenManual() {
    OpenProgramFile("manual.txt", "操作マニュアル");
    return true;
}

bool OpenCommandList() {
    OpenProgramFile("command.txt", "キーボードコマンド一覧");
    return true;
}

bool OpenChangeHistory() {
    OpenMakerPage(ChangeHistoryPath);
    return true;
}

bool ShowVersionInfo() {
    MessageBoxA(
        MainWindow, "タブロ Ver11.39\n2026年2月24日公開", "バージョン情報", MB_OK | MB_ICONINFORMATION);
    return true;
}

bool OpenProductPage() {
    OpenMakerPage(ProductPagePath);
    return true;
}

bool OpenAuthorSite() {
    OpenMakerPage(MakerTopPath);
    return true;
}

bool OpenInquiryForm() {
    OpenMakerPage(InquiryPath);
    return true;
}
