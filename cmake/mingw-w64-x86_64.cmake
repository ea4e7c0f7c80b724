# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix
# thread model, which Qt's std::thread and std::mutex need). Used for Qt for
# Windows (scripts/build-qt-windows) and for the program (preset windows).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TICKWELL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TICKWELL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TICKWELL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${TICKWELL_MINGW_TRIPLE}-windres)

# Headers and libraries come from the MinGW sysroot; packages may also come
# from a prefix named in CMAKE_PREFIX_PATH (Qt for Windows); programs that run
# during the build (moc, rcc, uic) are the host's.
set(CMAKE_FIND_ROOT_PATH /usr/${TICKWELL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
