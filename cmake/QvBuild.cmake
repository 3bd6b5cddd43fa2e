# Build conventions shared by every component.
include(GoogleTest)
include(${CMAKE_CURRENT_LIST_DIR}/QvOle.cmake)

# GoogleTest from Debian's sources, built with whatever compiler this tree uses.
macro(qv_setup_googletest)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  if(QV_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined)
  endif()
  if(QV_WINDOWS)
    # Static everything: otherwise std::thread pulls in libwinpthread-1.dll.
    add_link_options(-static -static-libgcc -static-libstdc++)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
endmacro()

# Flags for our own code only (added after GoogleTest so it keeps its own).
macro(qv_project_flags)
  add_compile_options(-Wall -Wextra -Werror)
  if(QV_SANITIZE)
    add_compile_options(-fno-sanitize-recover=undefined)
  endif()
  if(QV_WINDOWS)
    add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX WINVER=0x0501 _WIN32_WINNT=0x0501
                            _WIN32_IE=0x0500 STRICT)
    add_link_options(-Wl,--enable-stdcall-fixup)
  endif()
endmacro()

# qv_test(<name> SOURCES ... [LIBS ...] [ENVIRONMENT ...]
#         [DEPENDS target...] [TIMEOUT s])
# A GoogleTest program; each of its tests becomes one CTest test. In the cross
# tree the program runs under Wine through the emulator wrapper, and each test
# holds one slot of the resource "wine": a Wine session (prefix and
# wineserver) of its own while it runs, so tests need no locks between them.
# DEPENDS names programs or libraries the test starts or loads at run time.
function(qv_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;ENVIRONMENT;DEPENDS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  set(props TIMEOUT ${T_TIMEOUT})
  if(T_ENVIRONMENT)
    list(APPEND props ENVIRONMENT "${T_ENVIRONMENT}")
  endif()
  if(QV_WINDOWS)
    list(APPEND props RESOURCE_GROUPS "wine:1")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES ${props})
  if(QV_WINDOWS)
    # The whole program in one process, as a developer runs it: every test
    # must pass whatever ran before it. Label "whole", left out of the usual
    # run (scripts/test --whole adds it).
    add_test(NAME ${name}.whole COMMAND ${name})
    set_tests_properties(${name}.whole PROPERTIES LABELS whole TIMEOUT 300 RESOURCE_GROUPS "wine:1"
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  endif()
endfunction()

# qv_def_exports(<target> <def file>): exact export names (stdcall decoration
# included) come from a .def file, never from the compiler's guess.
function(qv_def_exports target def)
  target_sources(${target} PRIVATE ${def})
  set_target_properties(${target} PROPERTIES PREFIX "")
endfunction()
