#include "app/window/commands.h"

#include <cstring>

#include "app/article/articleview.h"
#include "app/article/bodyfiles.h"
#include "app/article/bodyview.h"
#include "app/article/clipboard.h"
#include "app/window/contextmenu.h"
#include "app/state/entrypoints.h"
#include "app/lists/listcontent.h"
#include "app/article/readingcommands.h"
#include "app/article/relatedlinks.h"
#include "app/lists/screens.h"
#include "app/article/search.h"
#include "app/state/shell.h"
#include "app/lists/titledialog.h"
#include "app/lists/myfeeds.h"
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

// Where the keyboard focus must be for the command to act; elsewhere it is refused. "Not in a
// list" includes a focus outside the three views.
enum class Focus {
    Any,
    AnyView,            // one of the three views
    NotInList,          // not in MenuList nor in HeadlineList
    NotInMenuList,      //
    NotInHeadlineList,  //
    NotInBody,          //
    InMenuList,         //
    InHeadlineList,     //
    InHeadlineOrBody,   //
    InBody,             //
};

struct CommandEntry {
    int number;
    WhileReading reading;
    Focus focus;
    bool (*applies)();  // the state the command needs; null: any state
    bool (*run)();      // carries it out; false when it refuses after all
};

bool FocusAllows(Focus rule) {
    HWND focus = FocusedView();
    bool inMenu = focus && focus == MenuList;
    bool inHeadlines = focus && focus == HeadlineList;
    bool inBody = focus && focus == BodyView;
    switch (rule) {
        case Focus::Any:
            return true;
        case Focus::AnyView:
            return inMenu || inHeadlines || inBody;
        case Focus::NotInList:
            return !inMenu && !inHeadlines;
        case Focus::NotInMenuList:
            return !inMenu;
        case Focus::NotInHeadlineList:
            return !inHeadlines;
        case Focus::NotInBody:
            return !inBody;
        case Focus::InMenuList:
            return inMenu;
        case Focus::InHeadlineList:
            return inHeadlines;
        case Focus::InHeadlineOrBody:
            return inHeadlines || inBody;
        case Focus::InBody:
            return inBody;
    }
    return false;
}

// --- States commands need -------------------------------------------------------------------

bool BodyHasText() { return GetWindowTextLengthA(BodyView) > 0; }
bool NotScrapbookText() { return !BodyShowsScrapbookText(); }
bool ScrapbookShown() { return BodyShowsScrapbookText(); }
bool PageWithText() { return BodyHasText() && !BodyShowsScrapbookText(); }
bool CategoryReceived() { return CategoryParameters[0][0] != '\0'; }
bool SearchTextKept() { return FindText[0] != '\0'; }
bool HeadlinesListed() { return SendMessageA(HeadlineList, LB_GETCOUNT, 0, 0) > 0; }

// The page shown has an address to copy (not a scrapbook text).
bool PageAddressKnown() {
    int depth = PageDepth;
    return !BodyShowsScrapbookText() && depth >= 1 && depth <= HeadlineLevels &&
           HeadlineStore.pageAddresses[depth - 1][0] != '\0';
}

// Favorites are registered from the menu levels below the categories and the local news.
bool FavoriteEntrySelected() { return MenuStack.MenuLevel >= 1 && MenuStack.MenuSelection[0] <= 3; }

// --- Commands of this file ------------------------------------------------------------------

bool DoNothing() { return true; }

// Keys with no command of their own: passed on, as a number without a row would be.
bool PassOn() { return false; }

bool ActivateFocusedView() {
    HWND focus = FocusedView();
    if (focus == MenuList) return ActivateEntry(FromMenuList);
    if (focus == HeadlineList) return ActivateEntry(FromHeadlineList);
    if (focus == BodyView) return ActivateEntry(FromBodyView);
    return false;
}

// Ctrl+Enter: the reading goes through the headline list as Enter opens its entries.
bool ReadArticlesInTurn() { return ReadAllArticles(ActivateEntry); }

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

// 587: the entry position in a list, the caret position in the body.
bool AnnouncePositionCommand() {
    HWND focus = FocusedView();
    if (focus && (focus == MenuList || focus == HeadlineList)) return AnnounceListPosition();
    AnnouncePosition();
    return true;
}

bool Reload() {
    if (BodyShowsScrapbookText()) return true;
    if (FocusedView() == HeadlineList) return ReloadHeadlines();
    // Any other focus: the page shown is received once more.
    int depth = PageDepth;
    int shown = 0;
    if (depth > 1 && depth <= HeadlineLevels && HeadlineStore.pageAddresses[depth - 1][0] != '\0') {
        // A related page is shown again one level deeper; one that cannot be received leaves the
        // page shown as it was.
        shown = ReloadRelatedPage();
    } else {
        SetWindowTextA(BodyView, "");
        // Nothing has been opened since the list arrived (depth 0), or no page address is known.
        if (depth != 1) return true;
        shown = OpenSelectedArticle();
    }
    if (shown == 1 && ReadingActive == 0) StartReadOn(BodyView);
    return true;
}

bool CloseProgram() {
    SendMessageA(MainWindow, WM_CLOSE, 0, 0);
    return true;
}

using R = WhileReading;
using F = Focus;

// The command table: every number the menu bar, the accelerators, the context menus and the
// action codes of menu definition files can send. Adding a command: its IDM_ name in
// resources/resource.h, then one row here: what happens to it while a reading runs, the focus
// and the state it needs (elsewhere it is refused and goes to the default window procedure),
// and the function that carries it out. Commands of other parts call their entry point
// (app/state/entrypoints.h).
const CommandEntry Commands[] = {
    {IDM_NOTHING,                R::Allowed,  F::Any,               nullptr,               DoNothing              },
    {IDM_LOCAL_NEWS,             R::Allowed,  F::Any,               nullptr,               MoveToLocalNews        },
    {IDM_MENU_LIST,              R::Refused,  F::Any,               nullptr,               ShowMenuListView       },
    {IDM_ACTIVATE,               R::Refused,  F::AnyView,           nullptr,               ActivateFocusedView    },
    {IDM_RECORDING_FOLDER,       R::Allowed,  F::Any,               nullptr,               OpenRecordingFolder    },
    {IDM_OPEN_IN_BROWSER,        R::Refused,  F::NotInList,         NotScrapbookText,      OpenPageInBrowser      },
    {IDM_OPEN_IN_EDITOR,         R::Refused,  F::NotInList,         nullptr,               OpenBodyInEditor       },
    {IDM_SAVE_TEXT_AS,           R::Refused,  F::NotInList,         nullptr,               SaveBodyAs             },
    {IDM_RESERVE_RECORDING,      R::Refused,  F::Any,               nullptr,               ReserveArticle         },
    {IDM_RECORD_NEWS,            R::Refused,  F::Any,               nullptr,               OpenRecordingDialog    },
    {IDM_RELOAD,                 R::Refused,  F::Any,               CategoryReceived,      Reload                 },
    {IDM_EXIT,                   R::Allowed,  F::Any,               nullptr,               CloseProgram           },
    {IDM_SELECT_ALL,             R::Refused,  F::NotInList,         nullptr,               SelectAllBody          },
    {IDM_COPY,                   R::Refused,  F::NotInList,         nullptr,               CopyBodySelection      },
    {IDM_FIND,                   R::Refused,  F::Any,               nullptr,               FindWithDialog         },
    {IDM_FIND_NEXT,              R::Refused,  F::Any,               nullptr,               FindNext               },
    {IDM_FIND_PREVIOUS,          R::Refused,  F::Any,               SearchTextKept,        FindPrevious           },
    {IDM_WORD_WRAP,              R::Refused,  F::Any,               nullptr,               ToggleWordWrap         },
    {IDM_PREVIOUS_HEADLINE,      R::Refused,  F::InBody,            nullptr,               PreviousHeadline       },
    {IDM_NEXT_HEADLINE,          R::Refused,  F::InBody,            nullptr,               NextHeadline           },
    {IDM_RELATED_LINKS,          R::Refused,  F::NotInHeadlineList, PageWithText,          OpenRelatedLinkList    },
    {IDM_BACK_ONE_STEP,          R::Refused,  F::Any,               nullptr,               BackOneStep            },
    {IDM_BACK_TO_TOP_OR_ARTICLE, R::Refused,  F::Any,               nullptr,               BackToTopOrArticle     },
    {IDM_SCRAP_SAVE,             R::Refused,  F::NotInList,         PageWithText,          SaveToScrapbook        },
    {IDM_SCRAP_DEFAULT,          R::Refused,  F::Any,               NotScrapbookText,      GoToDefaultScrapbook   },
    {IDM_SCRAP_DELETE,           R::Refused,  F::InHeadlineList,    ScrapbookShown,        DeleteScrapArticle     },
    {IDM_FAVORITE_ADD,           R::Consumed, F::Any,               FavoriteEntrySelected, RegisterFavorite       },
    {IDM_FAVORITES,              R::Allowed,  F::Any,               nullptr,               ShowFavorites          },
    {IDM_SCRAP_FOLDERS,          R::Refused,  F::Any,               nullptr,               GoToScrapFolderList    },
    {IDM_SCRAP_EDIT,             R::Refused,  F::NotInMenuList,     ScrapbookShown,        EditScrapArticle       },
    {IDM_SCRAP_MOVE,             R::Refused,  F::NotInMenuList,     ScrapbookShown,        MoveScrapArticle       },
    {IDM_FOLDER_MENU,            R::Refused,  F::InMenuList,        nullptr,               OpenFolderMenu         },
    {IDM_FOLDER_NEW,             R::Refused,  F::Any,               nullptr,               NewScrapFolder         },
    {IDM_FOLDER_RENAME,          R::Consumed, F::Any,               nullptr,               RenameScrapFolder      },
    {IDM_FOLDER_DELETE,          R::Consumed, F::Any,               nullptr,               DeleteScrapFolder      },
    {IDM_READ_ALL_ARTICLES,      R::Refused,  F::InHeadlineOrBody,  nullptr,               ReadArticlesInTurn     },
    {IDM_COPY_ADDRESS,           R::Allowed,  F::NotInHeadlineList, PageAddressKnown,      CopyPageAddress        },
    {IDM_COPY_TITLE_AND_ADDRESS, R::Allowed,  F::NotInHeadlineList, PageAddressKnown,      CopyPageTitleAndAddress},
    {IDM_HISTORY,                R::Allowed,  F::Any,               nullptr,               MoveToHistory          },
    {IDM_GENERAL_OPTIONS,        R::Refused,  F::Any,               nullptr,               GeneralOptions         },
    {IDM_SPEECH_SETTINGS,        R::Refused,  F::Any,               nullptr,               SpeechSettings         },
    {IDM_RECORDING_SETTINGS,     R::Refused,  F::Any,               nullptr,               OpenRecordingSettings  },
    {IDM_SLEEP_TIMER,            R::Refused,  F::Any,               nullptr,               SetSleepTimer          },
    {IDM_SLEEP_TIMER_CANCEL,     R::Allowed,  F::Any,               nullptr,               CancelSleepTimer       },
    {IDM_BRAILLE,                R::Refused,  F::Any,               nullptr,               Braille                },
    {IDM_MANUAL,                 R::Refused,  F::Any,               nullptr,               OpenManual             },
    {IDM_COMMAND_LIST,           R::Refused,  F::Any,               nullptr,               OpenCommandList        },
    {IDM_CHANGE_HISTORY,         R::Refused,  F::Any,               nullptr,               OpenChangeHistory      },
    {IDM_VERSION,                R::Refused,  F::Any,               nullptr,               ShowVersionInfo        },
    {IDM_UPDATE_CHECK,           R::Refused,  F::Any,               nullptr,               CheckForUpdateNow      },
    {IDM_PRODUCT_PAGE,           R::Refused,  F::Any,               nullptr,               OpenProductPage        },
    {IDM_AUTHOR_SITE,            R::Refused,  F::Any,               nullptr,               OpenAuthorSite         },
    {IDM_INQUIRY_FORM,           R::Refused,  F::Any,               nullptr,               OpenInquiryForm        },
    {IDM_CONTEXT_MENU,           R::Refused,  F::Any,               nullptr,               OpenContextMenu        },
    {IDM_NEXT_VIEW,              R::Refused,  F::Any,               nullptr,               NextView               },
    {IDM_PREVIOUS_VIEW,          R::Refused,  F::Any,               nullptr,               PreviousView           },
    {IDM_VIEW_BACK,              R::Refused,  F::Any,               nullptr,               ViewBack               },
    {IDM_VIEW_FORWARD,           R::Refused,  F::Any,               nullptr,               ViewForward            },
    {IDM_ARTICLE_TITLE,          R::Refused,  F::NotInBody,         HeadlinesListed,       ShowTitleDialog        },
    {IDM_READ_FROM_TOP,          R::Refused,  F::NotInList,         nullptr,               ReadFromTop            },
    {IDM_CTRL_2,                 R::Allowed,  F::Any,               nullptr,               DoNothing              },
    {IDM_READ_FROM_CARET,        R::Refused,  F::NotInList,         nullptr,               ReadFromCaret          },
    {IDM_READ_LINE,              R::Consumed, F::NotInList,         nullptr,               ReadCaretLine          },
    {IDM_READ_LINE_START,        R::Consumed, F::NotInList,         nullptr,               ReadLineToCaret        },
    {IDM_READ_LINE_END,          R::Consumed, F::NotInList,         nullptr,               ReadLineFromCaret      },
    {IDM_POSITION,               R::Refused,  F::Any,               nullptr,               AnnouncePositionCommand},
    {IDM_LINE_COUNT,             R::Refused,  F::NotInList,         nullptr,               AnnounceLineCount      },
    {IDM_CHARACTER_COUNT,        R::Refused,  F::NotInList,         nullptr,               AnnounceCharacterCount },
    {IDM_CTRL_0,                 R::Allowed,  F::Any,               nullptr,               DoNothing              },
    {IDM_WHERE_AM_I,             R::Refused,  F::Any,               nullptr,               AnnounceWhereAmI       },
    {IDM_ALT_2,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_ALT_3,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_ALT_4,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_ALT_5,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_ALT_6,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_PAGE_DEPTH,             R::Refused,  F::Any,               nullptr,               AnnounceDepth          },
    {IDM_ALT_8,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_ALT_9,                  R::Allowed,  F::Any,               nullptr,               PassOn                 },
    {IDM_SLEEP_TIMER_STATE,      R::Consumed, F::Any,               nullptr,               AnnounceSleepTimer     },
    {IDM_FEED_ADD,               R::Refused,  F::InMenuList,        MyFeedsShown,          AddFeed                },
    {IDM_FEED_RENAME,            R::Refused,  F::InMenuList,        MyFeedsShown,          RenameFeed             },
    {IDM_FEED_DELETE,            R::Refused,  F::InMenuList,        MyFeedsShown,          DeleteFeed             },
    {IDM_FEED_UP,                R::Refused,  F::InMenuList,        MyFeedsShown,          MoveFeedUp             },
    {IDM_FEED_DOWN,              R::Refused,  F::InMenuList,        MyFeedsShown,          MoveFeedDown           },
    {IDM_FEED_IMPORT,            R::Refused,  F::InMenuList,        MyFeedsShown,          ImportFeeds            },
    {IDM_FEED_EXPORT,            R::Refused,  F::InMenuList,        MyFeedsShown,          ExportFeeds            },
};

// Action codes a menu entry may carry; each runs the command of its number, with that
// command's rules (501 opens the prefecture choice instead).
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

const CommandEntry* RowOf(int command) {
    for (const CommandEntry& entry : Commands)
        if (entry.number == command) return &entry;
    return nullptr;
}

}  // namespace

bool DispatchCommand(int command) {
    const CommandEntry* entry = RowOf(command);
    if (!entry) return false;
    if (ReadingActive == 1) {
        if (entry->reading == WhileReading::Refused) return false;
        if (entry->reading == WhileReading::Consumed) return true;
    }
    if (!FocusAllows(entry->focus)) return false;
    if (entry->applies && !entry->applies()) return false;
    return entry->run();
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

bool CommandHasRow(int command) { return RowOf(command) != nullptr; }

bool MenuFileActionHasRow(int code) {
    if (code == EntryPrefectureDialog) return true;
    for (int action : MenuFileActions)
        if (action == code) return CommandHasRow(code);
    return false;
}
