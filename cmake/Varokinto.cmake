# Test and tool helpers shared by the folders under tests/.

if(NOT WIN32 AND NOT VR_FUZZ)
  find_package(GTest REQUIRED)
endif()
if(WIN32 AND NOT TARGET gtest)
  # Debian ships GoogleTest as source; build it with the cross compiler.
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
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

# vr_wine_test(name SOURCES a.cpp ... LIBS lib ... [GUI]): a GoogleTest executable of the
# Windows build; ctest runs it under Wine through the cross-compiling emulator.
function(vr_wine_test name)
  if(NOT WIN32)
    return()
  endif()
  cmake_parse_arguments(T "" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} gtest gmock ${VR_STATIC_LINK})
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  set_tests_properties(${name} PROPERTIES LABELS wine TIMEOUT ${T_TIMEOUT})
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
    add_executable(${name}_replay ${T_SOURCE} ${CMAKE_SOURCE_DIR}/tests/fuzz/ReplayMain.cpp)
    target_link_libraries(${name}_replay PRIVATE ${T_LIBS})
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${T_CORPUS})
    set_tests_properties(${name}_corpus PROPERTIES LABELS native)
  endif()
endfunction()
