# vr_install_cross_gtest(PREFIX): builds GoogleTest and GoogleMock from Debian's sources with
# this build's cross toolchain and installs them into PREFIX, once; later configure runs
# find the installed package and do nothing. Threads are off: the tests never run
# GoogleTest from more than one thread, and the library then needs no pthread DLL.
function(vr_install_cross_gtest prefix)
  if(EXISTS ${prefix}/lib/cmake/GTest/GTestConfig.cmake)
    return()
  endif()
  set(source /usr/src/googletest)
  if(NOT EXISTS ${source}/CMakeLists.txt)
    message(FATAL_ERROR "GoogleTest sources not found in ${source} (Debian package googletest)")
  endif()
  set(work ${CMAKE_BINARY_DIR}/googletest-build)
  get_filename_component(toolchain ${CMAKE_TOOLCHAIN_FILE} ABSOLUTE BASE_DIR ${PROJECT_SOURCE_DIR})
  message(STATUS "Building GoogleTest for ${CMAKE_SYSTEM_NAME} into ${prefix}")
  execute_process(
    COMMAND ${CMAKE_COMMAND} -S ${source} -B ${work}
            -DCMAKE_TOOLCHAIN_FILE=${toolchain}
            -DCMAKE_BUILD_TYPE=Release
            -DCMAKE_INSTALL_PREFIX=${prefix}
            -Dgtest_disable_pthreads=ON
            -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON
    OUTPUT_QUIET RESULT_VARIABLE configured)
  if(NOT configured EQUAL 0)
    message(FATAL_ERROR "configuring GoogleTest in ${work} failed")
  endif()
  cmake_host_system_information(RESULT jobs QUERY NUMBER_OF_LOGICAL_CORES)
  execute_process(
    COMMAND ${CMAKE_COMMAND} --build ${work} --target install -j ${jobs}
    OUTPUT_QUIET RESULT_VARIABLE built)
  if(NOT built EQUAL 0)
    message(FATAL_ERROR "building GoogleTest in ${work} failed")
  endif()
  file(REMOVE_RECURSE ${work})
endfunction()
