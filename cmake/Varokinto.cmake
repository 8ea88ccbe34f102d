# Test and tool helpers shared by the folders under tests/.
#
# GoogleTest: the native build uses Debian's packages; the Windows build compiles Debian's
# sources (/usr/src/googletest) with the cross compiler as part of this tree, only when a
# test that links it is built (so building just the shipped files never compiles it).

if(NOT VR_FUZZ)
  if(NOT WIN32)
    find_package(GTest REQUIRED)
  else()
    if(NOT EXISTS /usr/src/googletest/CMakeLists.txt)
      message(FATAL_ERROR "GoogleTest sources not found in /usr/src/googletest (Debian package googletest)")
    endif()
    # The tests never run GoogleTest from more than one thread, and without threads the
    # library needs no pthread DLL beside the test.
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  endif()
endif()

# vr_native_test(name SOURCES a.cpp ... LIBS lib ...): a GoogleTest executable of the native build.
function(vr_native_test name)
  if(WIN32 OR VR_FUZZ)
    return()
  endif()
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main GTest::gmock)
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES LABELS native)
endfunction()

# vr_wine_test(name SOURCES a.cpp ... LIBS lib ... [TIMEOUT s] [SERIAL] [ACTING] [DEPENDS target ...]):
# a GoogleTest executable of the Windows build with GoogleTest's main; ctest runs it under
# Wine through the cross-compiling emulator. SERIAL: never beside another test (key input
# is desktop-wide). ACTING: it acts as Varokinto for the hook library, and its main runs the
# tests in a copy of it as varokint.exe (tests/support/ActingMain.cpp). DEPENDS: programs it
# starts, built first. Outside the Windows build it defines nothing, and callers need no
# guard for what it takes.
function(vr_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "SERIAL;ACTING" "TIMEOUT" "SOURCES;LIBS;DEPENDS" ${ARGN})
  if(T_ACTING)
    add_executable(${name} ${T_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/ActingMain.cpp)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock ${VR_STATIC_LINK})
  else()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock ${VR_STATIC_LINK})
  endif()
  if(T_DEPENDS)
    add_dependencies(${name} ${T_DEPENDS})
  endif()
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${T_TIMEOUT} RUN_SERIAL ${T_SERIAL})
endfunction()

# vr_fuzz_target(name SOURCE f.cpp LIBS ... CORPUS dir): a libFuzzer target in the fuzz
# build; in the native build the same entry point replays the committed corpus as a test.
function(vr_fuzz_target name)
  cmake_parse_arguments(T "" "SOURCE;CORPUS" "LIBS" ${ARGN})
  if(VR_FUZZ)
    add_executable(${name} ${T_SOURCE})
    target_link_libraries(${name} PRIVATE ${T_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  elseif(NOT WIN32)
    add_executable(${name}_replay ${T_SOURCE} ${PROJECT_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    target_link_libraries(${name}_replay PRIVATE ${T_LIBS})
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${T_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES LABELS native)
  endif()
endfunction()

# vr_hook_library(target [DEFINITIONS d ...]): varokint.dll, which runs inside every hooked
# process: no C or C++ runtime (its own entry point, no exceptions, no static constructors,
# no thread-local variables), importing only kernel32, user32 and advapi32 (the token checks of
# the receiver). DEFINITIONS give the
# benchmark its variant of the same source.
function(vr_hook_library target)
  cmake_parse_arguments(H "" "" "DEFINITIONS" ${ARGN})
  add_library(${target} SHARED
    ${PROJECT_SOURCE_DIR}/hook/VarokintHook.cpp
    ${PROJECT_SOURCE_DIR}/hook/varokint.def
    ${PROJECT_SOURCE_DIR}/res/hook.rc)
  set_target_properties(${target} PROPERTIES OUTPUT_NAME varokint PREFIX "")
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_compile_definitions(${target} PRIVATE ${H_DEFINITIONS})
  target_compile_options(${target} PRIVATE -fno-exceptions -fno-rtti -fno-stack-protector -fno-threadsafe-statics
    -ffreestanding -Os)
  target_link_options(${target} PRIVATE -nostdlib -Wl,--entry=VarokintHookEntry -Wl,--gc-sections
    $<$<CONFIG:Release,MinSizeRel>:-s>)
  target_link_libraries(${target} PRIVATE kernel32 user32 advapi32)
endfunction()
