# The Windows build's tests, included by tests/CMakeLists.txt when
# cross-building: the engine's and the session's unit tests, cross-built and
# run under Wine, and the programs themselves driven under Wine in a private
# X server, against the Linux build's.

# GoogleTest for Windows, from the sources Debian ships with it.
set(QUILTOR_GOOGLETEST_SOURCE "/usr/src/googletest" CACHE PATH "GoogleTest's sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(${QUILTOR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The same unit tests as the Linux build's engine_tests, but those that
# count allocations through a sanitizer's hooks. The exact arithmetic's and
# the exports' tests are apart, as there: the trigonometry's and the PNG's
# run below; the BMP's run only on Linux, and here the renderers' BMP files
# are compared instead.
file(GLOB WINDOWS_UNIT_TEST_SOURCES CONFIGURE_DEPENDS gfx/*.cpp texture/*.cpp gui/*.cpp io/*.cpp
     session/*.cpp)
list(REMOVE_ITEM WINDOWS_UNIT_TEST_SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/texture/bmp_export_test.cpp
     ${CMAKE_CURRENT_SOURCE_DIR}/session/history_memory_test.cpp)
add_executable(engine_tests ${WINDOWS_UNIT_TEST_SOURCES})
target_link_libraries(engine_tests PRIVATE quiltor_engine gtest gtest_main)
# One run under Wine for all of them: Wine takes about a second to start.
add_test(NAME windows_unit_tests COMMAND engine_tests)

file(GLOB WINDOWS_TRIG_TEST_SOURCES CONFIGURE_DEPENDS trig/*_test.cpp)
add_executable(trig_tests ${WINDOWS_TRIG_TEST_SOURCES})
target_link_libraries(trig_tests PRIVATE quiltor_trig gtest gtest_main)
add_test(NAME windows_trig_tests COMMAND trig_tests)

file(GLOB WINDOWS_PNG_TEST_SOURCES CONFIGURE_DEPENDS png/*.cpp)
add_executable(png_tests ${WINDOWS_PNG_TEST_SOURCES})
target_link_libraries(png_tests PRIVATE quiltor_png quiltor_libpng PkgConfig::ZLIB PkgConfig::LIBDEFLATE gtest
                      gtest_main)
add_test(NAME windows_png_tests COMMAND png_tests)
set_tests_properties(windows_unit_tests windows_trig_tests windows_png_tests PROPERTIES TIMEOUT 600)

# What a message box shows, read from inside Wine.
add_executable(window_texts e2e/windows/window_texts.cpp)

# The programs under Wine, against the Linux build's programs.
set(QUILTOR_LINUX_BUILD "" CACHE PATH "The Linux release build, whose programs the Windows ones are compared with")
set(QUILTOR_LINUX_TEST_BUILD "" CACHE PATH "The Linux test build, for its send_close tool")
if(QUILTOR_LINUX_BUILD AND QUILTOR_LINUX_TEST_BUILD)
  find_package(Python3 REQUIRED COMPONENTS Interpreter)
  get_filename_component(wine_run "${CMAKE_SOURCE_DIR}/scripts/wine-run.sh" ABSOLUTE)
  set(environment
      "QUILTOR_WINDOWS_BIN=${CMAKE_BINARY_DIR}"
      "QUILTOR_WINDOW_TEXTS=$<TARGET_FILE:window_texts>"
      "QUILTOR_WINE_RUN=${wine_run}"
      "QUILTOR_WINEPREFIX=${QUILTOR_WINEPREFIX}"
      "QUILTOR_WINDOWS_ZIP=${QUILTOR_WINDOWS_ZIP}"
      "QUILTOR_LINUX_BINARY=${QUILTOR_LINUX_BUILD}/quiltor"
      "QUILTOR_LINUX_RENDER_BINARY=${QUILTOR_LINUX_BUILD}/quiltor-render"
      "QUILTOR_CLOSE_TOOL=${QUILTOR_LINUX_TEST_BUILD}/tests/send_close"
      "PYTHONDONTWRITEBYTECODE=1")
  foreach(suite windows windows_idle windows_same_bytes)
    add_test(NAME e2e_${suite}
             COMMAND ${Python3_EXECUTABLE} -m unittest -v test_${suite}
             WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
    set_tests_properties(e2e_${suite} PROPERTIES TIMEOUT 900 LABELS e2e ENVIRONMENT "${environment}")
  endforeach()
  # Measures how often the program wakes: alone, not beside other tests.
  set_tests_properties(e2e_windows_idle PROPERTIES RUN_SERIAL TRUE)
endif()
