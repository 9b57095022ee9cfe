// The names of every resource, command, dialog and control id. Included by the resource
// scripts and by the code, so that a number is written in one place only.
//
// Adding a command: give it a name below (IDM_, its number from the command table), use the
// name in the menu bar, the accelerators or the context menus of tavlo.rc, and add its row to
// the command table in app/window/commands.cpp. An action code of a menu definition file that runs a
// command is listed there too (MenuFileActions).
// Adding a dialog: write its template in dialogs.rc under an IDD_ name defined here (the value
// is the template's resource name, a string), its controls under IDC_<DIALOG>_ names, and its
// procedure with the skeleton of win/dialog.h.
#pragma once

// --- Resources of the program -------------------------------------------------------------
#define IDR_ICON "TBI"
#define IDR_MENU_BAR "TBM"
#define IDR_CONTEXT_MENUS "RMenu"
#define IDR_ACCELERATORS "TBAccelerator"

// --- Commands (menu bar, accelerators, context menus, action codes of menu entries) --------
#define IDM_NOTHING 1  // Shift+Enter: consumed, nothing happens
#define IDM_LOCAL_NEWS 500
#define IDM_MENU_LIST 501
#define IDM_ACTIVATE 502
#define IDM_RECORDING_FOLDER 503
#define IDM_OPEN_IN_BROWSER 504
#define IDM_OPEN_IN_EDITOR 505
#define IDM_SAVE_TEXT_AS 506
#define IDM_RESERVE_RECORDING 507
#define IDM_RECORD_NEWS 508
#define IDM_RELOAD 509
#define IDM_EXIT 510
#define IDM_SELECT_ALL 511
#define IDM_COPY 512
#define IDM_FIND 513
#define IDM_FIND_NEXT 514
#define IDM_FIND_PREVIOUS 515
#define IDM_WORD_WRAP 520
#define IDM_PREVIOUS_HEADLINE 521
#define IDM_NEXT_HEADLINE 522
#define IDM_RELATED_LINKS 523
#define IDM_BACK_ONE_STEP 526
#define IDM_BACK_TO_TOP_OR_ARTICLE 527
#define IDM_SCRAP_SAVE 531
#define IDM_SCRAP_DEFAULT 532
#define IDM_SCRAP_DELETE 533
#define IDM_FAVORITE_ADD 534
#define IDM_FAVORITES 535
#define IDM_SCRAP_FOLDERS 536
#define IDM_SCRAP_EDIT 537
#define IDM_SCRAP_MOVE 538
#define IDM_FOLDER_MENU 539
#define IDM_FOLDER_NEW 541
#define IDM_FOLDER_RENAME 542
#define IDM_FOLDER_DELETE 543
#define IDM_READ_ALL_ARTICLES 544
#define IDM_COPY_ADDRESS 546
#define IDM_COPY_TITLE_AND_ADDRESS 547
#define IDM_HISTORY 550
#define IDM_GENERAL_OPTIONS 551
#define IDM_SPEECH_SETTINGS 552
#define IDM_RECORDING_SETTINGS 553
#define IDM_SLEEP_TIMER 554
#define IDM_SLEEP_TIMER_CANCEL 555
#define IDM_BRAILLE 558
#define IDM_MANUAL 561
#define IDM_COMMAND_LIST 562
#define IDM_CHANGE_HISTORY 563
#define IDM_VERSION 564
#define IDM_UPDATE_CHECK 565
#define IDM_PRODUCT_PAGE 566
#define IDM_AUTHOR_SITE 567
#define IDM_INQUIRY_FORM 568
#define IDM_CONTEXT_MENU 571
#define IDM_NEXT_VIEW 572
#define IDM_PREVIOUS_VIEW 573
#define IDM_VIEW_BACK 575
#define IDM_VIEW_FORWARD 576
#define IDM_ARTICLE_TITLE 580
#define IDM_READ_FROM_TOP 581
#define IDM_CTRL_2 582  // consumed, nothing happens
#define IDM_READ_FROM_CARET 583
#define IDM_READ_LINE 584
#define IDM_READ_LINE_START 585
#define IDM_READ_LINE_END 586
#define IDM_POSITION 587
#define IDM_LINE_COUNT 588
#define IDM_CHARACTER_COUNT 589
#define IDM_CTRL_0 590  // consumed, nothing happens
#define IDM_WHERE_AM_I 591
#define IDM_ALT_2 592
#define IDM_ALT_3 593
#define IDM_ALT_4 594
#define IDM_ALT_5 595
#define IDM_ALT_6 596
#define IDM_PAGE_DEPTH 597
#define IDM_ALT_8 598
#define IDM_ALT_9 599
#define IDM_SLEEP_TIMER_STATE 600
#define IDM_FEED_ADD 610
#define IDM_FEED_RENAME 611
#define IDM_FEED_DELETE 612
#define IDM_FEED_UP 613
#define IDM_FEED_DOWN 614
#define IDM_FEED_IMPORT 615
#define IDM_FEED_EXPORT 616

// --- Controls of the main window ----------------------------------------------------------
#define IDC_LIST_LABEL 1  // the hidden labels of the two lists
#define IDC_BODY_LABEL 2
#define IDC_PAGE_STORE_FIRST 70  // the page store slot of depth d is control 69 + d
#define IDC_MENU_LIST 100
#define IDC_HEADLINE_LIST 101
#define IDC_BODY_VIEW 102

// --- Dialogs and their controls (OK and Cancel are IDOK and IDCANCEL) ---------------------
#define IDC_NO_ID -1  // labels that are never addressed

#define IDD_LOCAL "LocalDialog"
#define IDC_LOCAL_PREFECTURE 101
#define IDC_LOCAL_REGION 102

#define IDD_SCRAP_SAVE "ScrapBook1Dialog"
#define IDC_SCRAP_SAVE_TITLE 101
#define IDC_SCRAP_SAVE_FOLDERS 102
#define IDC_SCRAP_SAVE_NEW_FOLDER 103
#define IDC_SCRAP_SAVE_SAVE 104
#define IDC_SCRAP_SAVE_TEXT 106

#define IDD_SCRAP_EDIT "ScrapBook3Dialog"
#define IDC_SCRAP_EDIT_TITLE 101
#define IDC_SCRAP_EDIT_TEXT 102
#define IDC_SCRAP_EDIT_OK 103

#define IDD_SCRAP_MOVE "ScrapBook4Dialog"  // its move button is IDOK
#define IDC_SCRAP_MOVE_FOLDERS 101

#define IDD_NEW_FOLDER "NewDirectoryDialog"
#define IDC_NEW_FOLDER_NAME 101
#define IDC_NEW_FOLDER_CREATE 102

#define IDD_RENAME_FOLDER "MoveDirectoryDialog"
#define IDC_RENAME_FOLDER_NAME 101
#define IDC_RENAME_FOLDER_RENAME 102

#define IDD_GENERAL_OPTIONS "TBNOptionDialog"
#define IDC_OPTIONS_UPDATE_CHECK 101
#define IDC_OPTIONS_START_ACTION 102
#define IDC_OPTIONS_NUMBER_ENTRIES 103
#define IDC_OPTIONS_PREFECTURE 104
#define IDC_OPTIONS_REGION 105
#define IDC_OPTIONS_MAIN_TEXT 106

#define IDD_SLEEP "SleepDialog"
#define IDC_SLEEP_DURATION 101
#define IDC_SLEEP_ACTION 102

#define IDD_SPEECH "TBSpeechDialog"
#define IDC_SPEECH_ENGINE 101
#define IDC_SPEECH_COUNT_NOTICE 106
#define IDC_SPEECH_READ_ON_RECEIVE 107

#define IDD_FIND "FindDialog"
#define IDC_FIND_TEXT 101
#define IDC_FIND_BUTTON 103

#define IDD_TITLE "TitleDialog"
#define IDC_TITLE_TEXT 101

// The recording dialog, its reservation editor, its progress dialog and the recording settings.
#define IDD_RECORDING "MP3Dialog"
#define IDC_RECORDING_CLEAR 101
#define IDC_RECORDING_OPEN_FOLDER 102
#define IDC_RECORDING_LIST 103
#define IDC_RECORDING_SETTINGS 104
#define IDC_RECORDING_ITEM_DONE 110  // the conversion worker's reports, sent as commands
#define IDC_RECORDING_FINISHED 111

#define IDD_RECORDING_EDIT "MP3EDialog"
#define IDC_RECORDING_EDIT_TITLE 101
#define IDC_RECORDING_EDIT_TEXT 102

#define IDD_RECORDING_PROGRESS "RecDialog"
#define IDC_RECORDING_PROGRESS_TEXT 100

#define IDD_RECORDING_SETTINGS "MP3SpeechDialog"
#define IDC_RECSET_VOICE 101
#define IDC_RECSET_VOLUME 102
#define IDC_RECSET_RATE 103
#define IDC_RECSET_PITCH 104
#define IDC_RECSET_TEST 105
#define IDC_RECSET_TITLE_FIRST 107
#define IDC_RECSET_FORMAT 108

#define IDD_FEED_ADDRESS "FeedAddressDialog"
#define IDC_FEED_ADDRESS 101

#define IDD_FEED_NAME "FeedNameDialog"
#define IDC_FEED_NAME 101

#define IDD_FEED_CHOICE "FeedChoiceDialog"
#define IDC_FEED_CHOICES 101

#define IDD_LINK_LIST "LinkListDialog"
#define IDC_LINK_LIST 101
#define IDC_LINK_AS_NEWS 102
#define IDC_LINK_FULL_TEXT 103
#define IDC_LINK_BROWSER 104

#define IDD_PLAY "PlayDialog"  // no controls: the player takes every key itself
