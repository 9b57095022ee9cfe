#include "app/lists/receptionview.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "app/lists/listcontent.h"
#include "app/state/shell.h"
#include "app/lists/myfeeds.h"
#include "library/optionvalues.h"
#include "library/settings.h"
#include "retrieval/reception.h"
#include "speech/speak.h"
#include "win/handles.h"

namespace {

// "…を受信" of the latest reception, until it has been heard: what follows waits for it.
win::KernelHandle ReceivingMessage;

void Started(const ReceptionReport& report) {
    ShowListContent(ListContent::Headlines);
    std::memset(HeadlineStore.titles[0], 0, sizeof HeadlineStore.titles[0]);
    for (int32_t& count : HeadlineStore.counts) count = 0;
    SendMessageA(HeadlineList, LB_RESETCONTENT, 0, 0);
    SendMessageA(BodyView, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    std::memcpy(CategoryParameters, report.parameters, sizeof CategoryParameters);
    char receiving[ParameterCapacity + 16];
    std::snprintf(receiving, sizeof receiving, "%sを受信", CategoryParameters[0]);
    ReceivingMessage.Reset(static_cast<HANDLE>(SpeakMessageTracked(receiving, 100)));
}

void WaitForReceivingMessage() { WaitUntilHeard(ReceivingMessage.Release()); }

void FillList(const ReceptionReport& report) {
    const int count = report.count;
    for (int i = 0; i < count; ++i) {
        std::memcpy(HeadlineStore.titles[0][i], report.titles[i], TitleCapacity);
        std::memcpy(HeadlineStore.addresses[0][i], report.addresses[i], AddressCapacity);
    }
    HeadlineStore.counts[0] = count;
    ListStoredHeadlines(report.radio);
    PageDepth = 0;
}

}  // namespace

void StartCategoryReception(int level, int p) {
    if (level < 0 || level >= MenuLevelCount || p < 0 || p >= MenuEntryCount) return;
    char file[MAX_PATH * 2];
    CategoryFilePath(MenuStack.MenuName[level][p], file, sizeof file);
    StartHeadlineReception(MainWindow, file, MenuStack.Number[level][p]);
}

LRESULT OnReceptionReport(WPARAM, LPARAM lParam) {
    std::unique_ptr<ReceptionReport> report(reinterpret_cast<ReceptionReport*>(lParam));
    if (!report || !IsLatestReception(report->ticket)) return 0;
    switch (report->stage) {
        case ReceptionStage::Started:
            Started(*report);
            break;
        case ReceptionStage::Received:
            WaitForReceivingMessage();
            FillList(*report);
            if (AnnounceFeedNews(*report)) break;
            AnnounceHeadlineCount(report->count, report->radio, HeadlineStore.titles[0][0]);
            break;
        case ReceptionStage::Failed:
            WaitForReceivingMessage();
            SpeakMessage("記事リストの受信ができませんでした", 0);
            break;
    }
    return 0;
}
