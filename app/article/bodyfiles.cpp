#include "app/article/bodyfiles.h"

#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <cstring>

#include "app/article/savepath.h"
#include "app/state/shell.h"
#include "library/textfiles.h"
#include "speech/speak.h"

char SaveAsPath[261];

namespace {

constexpr size_t SavePathCapacity = 261;

// The dialog's own buffers live for the whole run: it opens with the previous choice.
char SaveDialogFile[SavePathCapacity];
char SaveDialogTitle[SavePathCapacity];

void AnnounceNotWritten() { SpeakMessage("ファイルを保存できませんでした", 100); }

bool ChooseSavePath() {
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = MainWindow;
    dialog.lpstrFilter = "text(*.txt)\0*.txt\0全てのファイル(*.*)\0*.*\0";
    dialog.lpstrFile = SaveDialogFile;
    dialog.nMaxFile = sizeof SaveDialogFile;
    dialog.lpstrFileTitle = SaveDialogTitle;
    dialog.nMaxFileTitle = sizeof SaveDialogTitle;
    dialog.lpstrTitle = "名前を付けて保存";
    dialog.lpstrDefExt = "txt";
    // A new name must be accepted; replacing an existing file is asked first.
    // The working directory stays the data folder: nothing is ever looked for in the folder
    // of a save.
    dialog.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog)) return false;
    SaveDialogFile[sizeof SaveDialogFile - 1] = '\0';
    std::memcpy(SaveAsPath, SaveDialogFile, sizeof SaveAsPath);
    return true;
}

}  // namespace

bool OpenBodyInEditor() {
    char path[TextPathCapacity];
    // Replaced at every use: DataFolder\Temp.txt.
    if (WriteTextFile(BodyView, DataFolder, "Temp", path, sizeof path) != 1) {
        AnnounceNotWritten();
        return true;
    }
    ShellExecuteA(nullptr, "open", path, nullptr, nullptr, SW_SHOWNORMAL);
    return true;
}

bool SaveBodyAs() {
    if (!ChooseSavePath()) return true;
    char folder[SavePathCapacity];
    char title[SavePathCapacity];
    if (SplitSavePath(SaveAsPath, folder, sizeof folder, title, sizeof title) != 1 ||
        WriteTextFile(BodyView, folder, title) != 1)
        AnnounceNotWritten();
    return true;
}
