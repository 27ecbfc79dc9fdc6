# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (POSIX threads,
# which std::thread and Qt need). Used for Qt, SQLiteCpp, GoogleTest and the
# program alike.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
# The libraries built for Windows (windows.sh's cache) are named in the
# environment, which reaches CMake's compile checks as well.
string(REPLACE ":" ";" _orve_prefixes "$ENV{ORVE_WINDOWS_PREFIXES}")
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32 ${_orve_prefixes})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
