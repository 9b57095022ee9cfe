# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND CORE_SOURCES app/menustack.cpp)
list(APPEND CORE_SOURCES app/findtext.cpp app/caretlines.cpp app/savepath.cpp app/contextpopup.cpp)
list(APPEND WIN_SOURCES app/main.cpp app/mainwindow.cpp app/menufile.cpp app/screens.cpp
  app/views.cpp app/commands.cpp)
list(APPEND WIN_SOURCES app/bodyview.cpp app/search.cpp app/clipboard.cpp app/titledialog.cpp app/bodyfiles.cpp app/contextmenu.cpp
  app/pending.cpp)
list(APPEND WIN_SOURCES app/browser.cpp)
list(APPEND WIN_SOURCES app/logscreens.cpp app/shortcuts.cpp)
list(APPEND WIN_SOURCES app/listcontent.cpp app/articleview.cpp app/receptionview.cpp app/readingcommands.cpp)
list(APPEND WIN_SOURCES app/scrapbookview.cpp app/scrapbookdialogs.cpp)
list(APPEND WIN_SOURCES app/updatecheck.cpp app/sleeptimer.cpp)
