// Stubs of the entry points of app/entrypoints.h whose parts are not built yet. Each says so,
// so that no menu item or key is silent. A part that is built deletes its stubs here.
#include "app/entrypoints.h"

#include "speech/speak.h"

namespace {

bool NotAvailableYet() {
    SpeakMessage("この機能はまだ使えません", 0);
    return true;
}

}  // namespace

bool OpenRecordingFolder() { return NotAvailableYet(); }
bool OpenPageInBrowser() { return NotAvailableYet(); }
bool OpenManual() { return NotAvailableYet(); }
bool OpenCommandList() { return NotAvailableYet(); }
bool OpenChangeHistory() { return NotAvailableYet(); }
bool ShowVersionInfo() { return NotAvailableYet(); }
bool OpenProductPage() { return NotAvailableYet(); }
bool OpenAuthorSite() { return NotAvailableYet(); }
bool OpenInquiryForm() { return NotAvailableYet(); }

bool RegisterFavorite() { return NotAvailableYet(); }
bool ShowFavorites() { return NotAvailableYet(); }
bool MoveToHistory() { return NotAvailableYet(); }

bool OpenRelatedLinkList() { return NotAvailableYet(); }

bool ReserveArticle() { return NotAvailableYet(); }
bool OpenRecordingDialog() { return NotAvailableYet(); }
bool OpenRecordingSettings() { return NotAvailableYet(); }

bool SetSleepTimer() { return NotAvailableYet(); }
bool CancelSleepTimer() { return NotAvailableYet(); }
bool AnnounceSleepTimer() { return NotAvailableYet(); }
bool CheckForUpdateNow() { return NotAvailableYet(); }
