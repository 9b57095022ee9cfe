#include "app/commands.h"

#include "app/screens.h"
#include "app/shell.h"
#include "library/optiondialogs.h"
#include "retrieval/article.h"
#include "retrieval/headlines.h"
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
    OpenGeneralOptions();
    return true;
}

bool SpeechSettings() {
    OpenSpeechSettings();
    return true;
}

bool Braille() {
    ToggleBraille();
    return true;
}

bool Reload() {
    if (CategoryParameters[0][0] == '\0') return false;
    if (ScrapbookMode == 1) return true;
    if (FocusedView() == HeadlineList) return ReloadHeadlines();
    // Any other focus: the page shown is received once more.
    SetWindowTextA(BodyView, "");
    int depth = PageDepth;
    int shown = 0;
    if (depth == 1) {
        shown = ReceiveArticle(MainWindow);
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

const CommandEntry Commands[] = {
    {1,   WhileReading::Allowed, DoNothing           },
    {500, WhileReading::Allowed, MoveToLocalNews     },
    {501, WhileReading::Refused, ShowMenuListView    },
    {502, WhileReading::Refused, ActivateFocusedView },
    {509, WhileReading::Refused, Reload              },
    {510, WhileReading::Allowed, CloseProgram        },
    {521, WhileReading::Refused, PreviousHeadline    },
    {522, WhileReading::Refused, NextHeadline        },
    {526, WhileReading::Refused, BackOneStep         },
    {527, WhileReading::Refused, BackToTopOrArticle  },
    {544, WhileReading::Refused, ReadAllArticles     },
    {551, WhileReading::Refused, GeneralOptions      },
    {552, WhileReading::Refused, SpeechSettings      },
    {558, WhileReading::Refused, Braille             },
    {572, WhileReading::Refused, NextView            },
    {573, WhileReading::Refused, PreviousView        },
    {575, WhileReading::Refused, ViewBack            },
    {576, WhileReading::Refused, ViewForward         },
    {581, WhileReading::Refused, ReadFromTop         },
    {582, WhileReading::Allowed, DoNothing           },
    {583, WhileReading::Refused, ReadFromCaret       },
    {587, WhileReading::Refused, AnnounceListPosition},
    {590, WhileReading::Allowed, DoNothing           },
    {591, WhileReading::Refused, AnnounceWhereAmI    },
    {597, WhileReading::Refused, AnnounceDepth       },
};

// Action codes a menu entry may carry; all but 503, 510 and 555 are refused while reading
// (the command table says the same for each of them).
const int MenuFileActions[] = {
    503, 508, 510, 551, 552, 553, 554, 555, 558, 561, 562, 563, 564, 565, 566, 567, 568};

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
    if (code == 501) {
        // The local-news entry opens the prefecture choice instead of the F4 command.
        if (ReadingActive != 1) OpenLocalDialog();
        return;
    }
    for (int action : MenuFileActions)
        if (action == code) {
            DispatchCommand(code);
            return;
        }
}

bool CommandHasRow(int command) {
    for (const CommandEntry& entry : Commands)
        if (entry.number == command) return true;
    return false;
}

bool MenuFileActionHasRow(int code) {
    if (code == 501) return true;
    for (int action : MenuFileActions)
        if (action == code) return CommandHasRow(code);
    return false;
}
