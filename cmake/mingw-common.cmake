# MinGW-w64 cross toolchain for TABULON_MINGW_TRIPLET (set by mingw-i686.cmake
# or mingw-x86_64.cmake), posix thread model so that std::mutex and GoogleTest
# work.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_C_COMPILER ${TABULON_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TABULON_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TABULON_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TABULON_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Tests run under Wine; the wrapper sets the prefix, locale and quiet debug output.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-run.sh)
