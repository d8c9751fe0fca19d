# Shared by the MinGW-w64 toolchain files, which set BRINEVAR_MINGW_TRIPLET
# and CMAKE_SYSTEM_PROCESSOR first. The programs run under Wine, which CTest
# uses to start them.
set(CMAKE_SYSTEM_NAME Windows)

# The POSIX thread flavour: the Win32 one lacks std::thread and std::mutex.
set(CMAKE_C_COMPILER ${BRINEVAR_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BRINEVAR_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BRINEVAR_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BRINEVAR_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C++ runtime goes into each program, so that Wine needs no MinGW DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)

set(CMAKE_CROSSCOMPILING_EMULATOR wine)
