# Helpers that give every target of the project the same language level,
# warnings and layout: src/<folder>/ is target tabulo_<folder>, alias
# tabulo::<folder>, and headers are included as "<folder>/<file>.h".

set(TABULO_SOURCE_ROOT ${CMAKE_SOURCE_DIR}/src)

function(tabulo_apply_common target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow)
  if(TABULO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# tabulo_add_library(<folder> [QT] SOURCES ... [LINKS ...])
# <folder> may contain a slash (editor/model -> tabulo_editor_model).
function(tabulo_add_library folder)
  cmake_parse_arguments(ARG "QT" "" "SOURCES;LINKS" ${ARGN})
  string(REPLACE "/" "_" name ${folder})
  add_library(tabulo_${name} STATIC ${ARG_SOURCES})
  add_library(tabulo::${name} ALIAS tabulo_${name})
  target_include_directories(tabulo_${name} PUBLIC ${TABULO_SOURCE_ROOT})
  target_link_libraries(tabulo_${name} PUBLIC ${ARG_LINKS})
  if(ARG_QT)
    set_target_properties(tabulo_${name} PROPERTIES AUTOMOC ON)
    target_compile_definitions(tabulo_${name} PUBLIC QT_NO_CAST_FROM_ASCII)
  endif()
  tabulo_apply_common(tabulo_${name})
endfunction()

# tabulo_add_test(<name> SOURCES ... [LINKS ...] [QT] [NO_GTEST_MAIN] [DESKTOP])
# One CTest entry per test program; Qt tests run on the offscreen platform,
# DESKTOP ones on a private X server with a window manager
# (tests/support/with_desktop.sh; skipped when it is not installed).
# NO_GTEST_MAIN: the sources bring their own main() (e.g. one that builds
# the QApplication before running the tests).
function(tabulo_add_test name)
  cmake_parse_arguments(ARG "QT;NO_GTEST_MAIN;DESKTOP" "" "SOURCES;LINKS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LINKS} GTest::gtest)
  if(NOT ARG_NO_GTEST_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE TABULO_TEST_DATA_DIR="${CMAKE_SOURCE_DIR}/tests/data")
  if(ARG_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    target_compile_definitions(${name} PRIVATE QT_NO_CAST_FROM_ASCII)
  endif()
  tabulo_apply_common(${name})
  if(ARG_DESKTOP)
    add_test(NAME ${name} COMMAND ${CMAKE_SOURCE_DIR}/tests/support/with_desktop.sh $<TARGET_FILE:${name}>)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "LC_ALL=C.UTF-8" SKIP_RETURN_CODE 77)
  else()
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
  endif()
endfunction()
