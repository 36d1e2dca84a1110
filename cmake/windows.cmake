# The Windows build's own parts, included by the top-level CMakeLists.txt
# when cross-building with cmake/mingw-w64-x86_64.cmake.

# SDL's link line brings its entry point (SDLmain, which calls main) and the
# windowed subsystem: the window program wants both, the renderer, a console
# program that uses SDL only for the BMP export, neither.
find_library(QUILTOR_SDL_IMPORT_LIBRARY SDL HINTS ${SDL_LIBRARY_DIRS} REQUIRED)
find_library(QUILTOR_SDLMAIN_LIBRARY SDLmain HINTS ${SDL_LIBRARY_DIRS} REQUIRED)
add_library(quiltor_sdl INTERFACE)
target_include_directories(quiltor_sdl INTERFACE ${SDL_INCLUDE_DIRS})
target_link_libraries(quiltor_sdl INTERFACE ${QUILTOR_SDL_IMPORT_LIBRARY})
add_library(quiltor_sdl_main INTERFACE)
target_link_libraries(quiltor_sdl_main INTERFACE mingw32 ${QUILTOR_SDLMAIN_LIBRARY})

# The wide command line is decoded by shell32.
target_link_libraries(quiltor_engine PUBLIC shell32)

# SDL.dll beside the programs, so that they start from the build folder.
set(QUILTOR_SDL_DLL "${QUILTOR_WINDOWS_DEPS}/bin/SDL.dll")
configure_file("${QUILTOR_SDL_DLL}" "${CMAKE_BINARY_DIR}/SDL.dll" COPYONLY)

# What a Windows user is handed: both programs, the DLL, a README, the
# example recipes and the licences of what is bundled, in one zip. The
# programs go in stripped, a third of their size; the build folder's keep
# their symbols for the debugger.
function(quiltor_add_windows_zip)
  set(zip "${CMAKE_SOURCE_DIR}/dist/quiltor-${PROJECT_VERSION}-windows-x86_64.zip")
  file(GLOB recipes "${CMAKE_SOURCE_DIR}/docs/*.recipe")
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  add_custom_command(OUTPUT "${zip}"
    COMMAND ${Python3_EXECUTABLE} "${CMAKE_SOURCE_DIR}/scripts/make-windows-zip.py" "${zip}"
            "--program" "$<TARGET_FILE:quiltor>" "--program" "$<TARGET_FILE:quiltor-render>"
            "--strip" "${CMAKE_STRIP}"
            "--file" "${QUILTOR_SDL_DLL}"
            "--text" "${CMAKE_SOURCE_DIR}/data/README-windows.txt=README.txt"
            "--recipes" ${recipes}
            "--licenses" "${QUILTOR_WINDOWS_DEPS}/licenses"
            "--text" "/usr/share/doc/gcc-mingw-w64-base/copyright=licenses/gcc-runtime.txt"
            "--text" "/usr/share/doc/mingw-w64-common/copyright=licenses/mingw-w64-runtime.txt"
    DEPENDS quiltor quiltor-render "${CMAKE_SOURCE_DIR}/scripts/make-windows-zip.py"
            "${CMAKE_SOURCE_DIR}/data/README-windows.txt" ${recipes}
    COMMENT "Packing ${zip}")
  add_custom_target(windows_zip ALL DEPENDS "${zip}")
  set(QUILTOR_WINDOWS_ZIP "${zip}" PARENT_SCOPE)
endfunction()
