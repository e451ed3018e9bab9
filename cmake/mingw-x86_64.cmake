# Cross toolchain for 64-bit Windows: the test build of a machine that runs no
# 32-bit x86 code (tools/wine-env.sh).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TABULON_MINGW_TRIPLET x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
