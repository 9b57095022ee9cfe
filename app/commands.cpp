#include "app/commands.h"

#include "app/articleview.h"
#include "app/listcontent.h"
#include "app/readingcommands.h"
#include "app/screens.h"
#include "app/scrapbookdialogs.h"
#include "app/scrapbookview.h"
#include "app/shell.h"
#include "library/optiondialogs.h"
#include "resources/resource.h"
#include "retrieval/headlines.h"
#include "retrieval/reception.h"
#include "speech/reading.h"
#include "speech/speechdialog.h"

namespace {

enum class WhileReading {
    Allowed,   // runs whether or not a reading runs
    Refused,   // goes to the default window procedure
    Consumed,  // swallowed without effect
};

struct CommandEntry {
    int number;
    WhileReading reading;
    bool (*run)();
};

bool DoNothing() { return true; }

bool ActivateFocusedView() {
    HWND focus = FocusedView();
    if (focus == MenuList) return ActivateEntry(FromMenuList);
    if (focus == HeadlineList) return ActivateEntry(FromHeadlineList);
    if (focus == BodyView) return ActivateEntry(FromBodyView);
    return false;
}

bool GeneralOptions() {
    if (OpenGeneralOptions(MainWindow) == IDOK) RebuildHeadlineList();
    return true;
}

bool SpeechSettings() {
    OpenSpeechSettings(MainWindow);
    return true;
}

bool Braille() {
    ToggleBraille();
    return true;
}

bool Reload() {
    if (CategoryParameters[0][0] == '\0') return false;
    if (BodyShowsScrapbookText()) return true;
    if (FocusedView() == HeadlineList) return ReloadHeadlines();
    // Any other focus: the page shown is received once more.
    SetWindowTextA(BodyView, "");
    int depth = PageDepth;
    int shown = 0;
    if (depth == 1) {
        shown = OpenSelectedArticle();
    } else {
        // Nothing has been opened since the list arrived (depth 0), or no page address is known.
        if (depth < 1 || depth > HeadlineLevels || HeadlineStore.pageAddresses[depth - 1][0] == '\0')
            return true;
        // The related page is received again here when the related-link receiver lands.
    }
    if (shown == 1 && ReadingActive == 0) StartReadOn(BodyView);
    return true;
}

bool CloseProgram() {
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    return true;
}

// The command table. Adding a command: its IDM_ name in resources/resource.h, then one row
// here: the name, what happens to it while a reading runs, and the function that carries it
// out (false when it is refused in the focus or state at hand).
const CommandEntry Commands[] = {
    {IDM_NOTHING,                WhileReading::Allowed, DoNothing           },
    {IDM_LOCAL_NEWS,             WhileReading::Allowed, MoveToLocalNews     },
    {IDM_MENU_LIST,              WhileReading::Refused, ShowMenuListView    },
    {IDM_ACTIVATE,               WhileReading::Refused, ActivateFocusedView },
    {IDM_RELOAD,                 WhileReading::Refused, Reload              },
    {IDM_EXIT,                   WhileReading::Allowed, CloseProgram        },
    {IDM_PREVIOUS_HEADLINE,      WhileReading::Refused, PreviousHeadline    },
    {IDM_NEXT_HEADLINE,          WhileReading::Refused, NextHeadline        },
    {IDM_BACK_ONE_STEP,          WhileReading::Refused, BackOneStep         },
    {IDM_BACK_TO_TOP_OR_ARTICLE, WhileReading::Refused, BackToTopOrArticle  },
    {IDM_READ_ALL_ARTICLES,      WhileReading::Refused, ReadAllArticles     },
    {IDM_GENERAL_OPTIONS,        WhileReading::Refused, GeneralOptions      },
    {IDM_SPEECH_SETTINGS,        WhileReading::Refused, SpeechSettings      },
    {IDM_BRAILLE,                WhileReading::Refused, Braille             },
    {IDM_NEXT_VIEW,              WhileReading::Refused, NextView            },
    {IDM_PREVIOUS_VIEW,          WhileReading::Refused, PreviousView        },
    {IDM_VIEW_BACK,              WhileReading::Refused, ViewBack            },
    {IDM_VIEW_FORWARD,           WhileReading::Refused, ViewForward         },
    {IDM_READ_FROM_TOP,          WhileReading::Refused, ReadFromTop         },
    {IDM_CTRL_2,                 WhileReading::Allowed, DoNothing           },
    {IDM_READ_FROM_CARET,        WhileReading::Refused, ReadFromCaret       },
    {IDM_POSITION,               WhileReading::Refused, AnnounceListPosition},
    {IDM_CTRL_0,                 WhileReading::Allowed, DoNothing           },
    {IDM_WHERE_AM_I,             WhileReading::Refused, AnnounceWhereAmI    },
    {IDM_PAGE_DEPTH,             WhileReading::Refused, AnnounceDepth       },
    // Scrapbook rows until the whole command table arrives.
    {IDM_SCRAP_SAVE,             WhileReading::Refused, SaveToScrapbook     },
    {IDM_SCRAP_DEFAULT,          WhileReading::Refused, GoToDefaultScrapbook},
    {IDM_SCRAP_DELETE,           WhileReading::Refused, DeleteScrapArticle  },
    {IDM_SCRAP_FOLDERS,          WhileReading::Refused, GoToScrapFolderList },
    {IDM_SCRAP_EDIT,             WhileReading::Refused, EditScrapArticle    },
    {IDM_SCRAP_MOVE,             WhileReading::Refused, MoveScrapArticle    },
    {IDM_FOLDER_MENU,            WhileReading::Refused, ShowScrapFolderMenu },
    {IDM_FOLDER_NEW,             WhileReading::Refused, NewScrapFolder      },
    {IDM_FOLDER_RENAME,          WhileReading::Refused, RenameScrapFolder   },
    {IDM_FOLDER_DELETE,          WhileReading::Refused, DeleteScrapFolder   },
};

// Action codes a menu entry may carry; all but 503, 510 and 555 are refused while reading
// (the command table says the same for each of them).
const int MenuFileActions[] = {
    IDM_RECORDING_FOLDER,
    IDM_RECORD_NEWS,
    IDM_EXIT,
    IDM_GENERAL_OPTIONS,
    IDM_SPEECH_SETTINGS,
    IDM_RECORDING_SETTINGS,
    IDM_SLEEP_TIMER,
    IDM_SLEEP_TIMER_CANCEL,
    IDM_BRAILLE,
    IDM_MANUAL,
    IDM_COMMAND_LIST,
    IDM_CHANGE_HISTORY,
    IDM_VERSION,
    IDM_UPDATE_CHECK,
    IDM_PRODUCT_PAGE,
    IDM_AUTHOR_SITE,
    IDM_INQUIRY_FORM,
};

}  // namespace

bool DispatchCommand(int command) {
    for (const CommandEntry& entry : Commands) {
        if (entry.number != command) continue;
        if (ReadingActive == 1) {
            if (entry.reading == WhileReading::Refused) return false;
            if (entry.reading == WhileReading::Consumed) return true;
        }
        return entry.run();
    }
    return false;
}

void DispatchMenuFileAction(int code) {
    if (code == EntryPrefectureDialog) {
        // The local-news entry opens the prefecture choice instead of the F4 command.
        if (ReadingActive != 1) OpenLocalDialog(MainWindow);
        return;
    }
    for (int action : MenuFileActions)
        if (action == code) {
            DispatchCommand(code);
            return;
        }
}
