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

bool OpenRelatedLinkList() { return NotAvailableYet(); }

bool ReserveArticle() { return NotAvailableYet(); }
bool OpenRecordingDialog() { return NotAvailableYet(); }
bool OpenRecordingSettings() { return NotAvailableYet(); }

