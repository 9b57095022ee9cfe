#include "app/tasks/updatecheck.h"

#include "app/article/browser.h"
#include "app/state/entrypoints.h"
#include "app/state/shell.h"
#include "retrieval/updatecheck.h"
#include "speech/speak.h"

int CheckForUpdate(HWND owner, int reportWhenCurrent) {
    // The check at start-up holds up the window's first answers: it gets far less time.
    UpdateStatus status = FetchUpdateStatus(reportWhenCurrent == 1 ? 0 : StartupUpdateDeadline());
    if (status == UpdateStatus::Unreachable) {
        // Someone who asked must not be left with silence; the start-up check stays quiet.
        if (reportWhenCurrent == 1) SpeakMessage("更新情報を確認できませんでした", 100);
        return 0;
    }
    if (status == UpdateStatus::NewerRelease) {
        int answer = MessageBoxA(owner,
                                 "タブロ Ver11の最新版が、作者サイトで公開されています。\n"
                                 "今すぐ、タブロの紹介ページを開いて確認しますか？",
                                 "更新通知",
                                 MB_YESNO | MB_ICONQUESTION);
        if (answer == IDYES) {
            char address[1024];
            ProductPageAddress(address, sizeof address);
            OpenInBrowser(address);
        }
    } else if (reportWhenCurrent == 1) {
        MessageBoxA(owner, "お使いのタブロ Ver11は最新版です。", "更新チェック", MB_OK | MB_ICONINFORMATION);
    }
    return 1;
}

bool CheckForUpdateNow() {
    CheckForUpdate(MainWindow, 1);
    return true;
}
