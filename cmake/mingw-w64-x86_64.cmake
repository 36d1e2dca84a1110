# Cross-builds the programs for 64-bit Windows with Debian's mingw-w64, posix
# thread model, against the libraries scripts/build-windows-deps.sh built:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#     -DQUILTOR_WINDOWS_DEPS=/abs/path/to/deps
# Tests run under Wine through scripts/wine-run.sh. Passing
# -DQUILTOR_WINEPREFIX=DIR gives it that Wine prefix at build and test time.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)

# CMake reads this file again for its own test projects; these carry the
# caller's settings there.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILTOR_WINDOWS_DEPS QUILTOR_WINEPREFIX)

if(NOT QUILTOR_WINDOWS_DEPS)
  message(FATAL_ERROR "QUILTOR_WINDOWS_DEPS is not set: pass -DQUILTOR_WINDOWS_DEPS=DIR, "
    "the prefix that scripts/build-windows-deps.sh DIR built")
endif()
if(NOT IS_ABSOLUTE "${QUILTOR_WINDOWS_DEPS}")
  message(FATAL_ERROR "QUILTOR_WINDOWS_DEPS=${QUILTOR_WINDOWS_DEPS} must be an absolute path")
endif()
if(NOT IS_DIRECTORY "${QUILTOR_WINDOWS_DEPS}/lib/pkgconfig")
  message(FATAL_ERROR "QUILTOR_WINDOWS_DEPS=${QUILTOR_WINDOWS_DEPS} has no lib/pkgconfig: "
    "run scripts/build-windows-deps.sh ${QUILTOR_WINDOWS_DEPS} first")
endif()

# Libraries and headers from the prefix alone, never the host's; programs
# (pkg-config, python3, ...) from the host.
set(CMAKE_FIND_ROOT_PATH "${QUILTOR_WINDOWS_DEPS}")
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The host's pkg-config, reading only the prefix's .pc files, whose paths
# are already absolute.
set(ENV{PKG_CONFIG_LIBDIR} "${QUILTOR_WINDOWS_DEPS}/lib/pkgconfig")
set(ENV{PKG_CONFIG_PATH} "")
set(ENV{PKG_CONFIG_SYSROOT_DIR} "")

# Only SDL.dll ships beside the programs: the C and C++ runtimes are linked
# in. A plain -static would also refuse -lSDL, which names an import
# library, so winpthread alone is taken whole from its static archive: the
# -lpthread the compiler adds last then finds nothing left to take from
# the DLL's.
set(_quiltor_static_runtime
  "-static-libgcc -static-libstdc++ -Wl,-Bstatic,--whole-archive -lwinpthread -Wl,--no-whole-archive,-Bdynamic")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${_quiltor_static_runtime}")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${_quiltor_static_runtime}")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "${_quiltor_static_runtime}")

get_filename_component(_quiltor_wine_run "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
if(QUILTOR_WINEPREFIX)
  set(CMAKE_CROSSCOMPILING_EMULATOR env "QUILTOR_WINEPREFIX=${QUILTOR_WINEPREFIX}" "${_quiltor_wine_run}")
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR "${_quiltor_wine_run}")
endif()
