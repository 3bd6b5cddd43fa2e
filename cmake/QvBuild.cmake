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

# qv_test(<name> SOURCES ... [LIBS ...] [LOCKS ...] [ENVIRONMENT ...]
#         [DEPENDS target...] [TIMEOUT s])
# A GoogleTest program; each of its tests becomes one CTest test. In the cross
# tree the program runs under Wine through the emulator wrapper.
# LOCKS names CTest resource locks; use "windir" for tests that write files in
# the Windows directory (QNAV.INI, KVO32.INI, QNAV.DAT) and "registry" for tests
# that write shared registry keys (OLE registration, the IDE's keys).
# DEPENDS names programs or libraries the test starts or loads at run time.
function(qv_test name)
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS;LOCKS;ENVIRONMENT;DEPENDS" ${ARGN})
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
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin
    PROPERTIES ${props})
  if(T_LOCKS)
    # Passed through the discovery's property list, every lock after the
    # first would turn into a property name; set them on the discovered
    # tests once they are known instead.
    list(JOIN T_LOCKS ";" locks)
    set(lock_script ${CMAKE_CURRENT_BINARY_DIR}/${name}_locks.cmake)
    file(WRITE ${lock_script}
      "if(DEFINED ${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES RESOURCE_LOCK \"${locks}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${lock_script})
  endif()
endfunction()

# qv_def_exports(<target> <def file>): exact export names (stdcall decoration
# included) come from a .def file, never from the compiler's guess.
function(qv_def_exports target def)
  target_sources(${target} PRIVATE ${def})
  set_target_properties(${target} PROPERTIES PREFIX "")
endfunction()
