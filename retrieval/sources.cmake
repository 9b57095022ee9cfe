# Files of this subsystem (see the top CMakeLists.txt)
list(APPEND WIN_SOURCES retrieval/fetch.cpp)
list(APPEND CORE_SOURCES retrieval/headline_store.cpp)
list(APPEND CORE_SOURCES retrieval/textcut.cpp retrieval/sjis.cpp)
