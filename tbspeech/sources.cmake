# Files of the speech library TBSpeech.dll (see the top CMakeLists.txt). Its portable part is
# also in CORE_SOURCES for the native tests; the library itself links nothing of Tavlo.
list(APPEND CORE_SOURCES tbspeech/sapi_args.cpp)
set(TBSPEECH_SOURCES tbspeech/sapi_args.cpp tbspeech/voices.cpp tbspeech/tbspeech.cpp tbspeech/TBSpeech.def)
