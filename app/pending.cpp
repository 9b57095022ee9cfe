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

bool SaveToScrapbook() { return NotAvailableYet(); }
bool GoToDefaultScrapbook() { return NotAvailableYet(); }
bool DeleteScrapArticle() { return NotAvailableYet(); }
bool GoToScrapFolderList() { return NotAvailableYet(); }
bool EditScrapArticle() { return NotAvailableYet(); }
bool MoveScrapArticle() { return NotAvailableYet(); }
bool NewScrapFolder() { return NotAvailableYet(); }
bool RenameScrapFolder() { return NotAvailableYet(); }
bool DeleteScrapFolder() { return NotAvailableYet(); }
