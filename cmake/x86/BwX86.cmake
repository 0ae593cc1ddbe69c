# Drives the 32-bit x86 sub-build (cmake/x86) from the main build and
# registers its GoogleTest programs with the main build's CTest.
#
# At configure time a tiny 32-bit program is built and run: natively where the
# kernel runs i386 programs, else through qemu-i386. Without a 32-bit
# toolchain the sub-build is left out with a warning. With BW_SANITIZE it is
# built with UBSan, and with ASan too where a 32-bit ASan program runs natively.

include(ExternalProject)

set(BW_X86_BINARY_DIR ${CMAKE_BINARY_DIR}/x86 CACHE INTERNAL "")
set(BW_X86_JOBS 4 CACHE STRING "Parallel jobs of the 32-bit sub-build")

function(bw_x86_probe)
  set(dir ${CMAKE_BINARY_DIR}/x86-probe)
  file(WRITE ${dir}/probe.c "int main(void) { return sizeof(void*) == 4 ? 0 : 1; }\n")
  execute_process(COMMAND ${CMAKE_C_COMPILER} -m32 ${dir}/probe.c -o ${dir}/probe
                  RESULT_VARIABLE built OUTPUT_QUIET ERROR_QUIET)
  if(NOT built EQUAL 0)
    set(BW_X86_AVAILABLE OFF PARENT_SCOPE)
    message(WARNING "No 32-bit x86 toolchain (g++-multilib): Vondral and the imaging "
                    "kernels are not built")
    return()
  endif()
  execute_process(COMMAND ${dir}/probe RESULT_VARIABLE ran OUTPUT_QUIET ERROR_QUIET)
  if(ran EQUAL 0)
    set(BW_X86_AVAILABLE ON PARENT_SCOPE)
    set(BW_X86_RUNNER "" PARENT_SCOPE)
    message(STATUS "32-bit x86 programs run natively")
    # AddressSanitizer needs its 32-bit runtime and a native run (not qemu).
    if(BW_SANITIZE)
      execute_process(COMMAND ${CMAKE_C_COMPILER} -m32 -fsanitize=address ${dir}/probe.c
                              -o ${dir}/probe-asan
                      RESULT_VARIABLE asan_built OUTPUT_QUIET ERROR_QUIET)
      if(asan_built EQUAL 0)
        execute_process(COMMAND ${dir}/probe-asan RESULT_VARIABLE asan_ran
                        OUTPUT_QUIET ERROR_QUIET)
      endif()
      if(asan_built EQUAL 0 AND asan_ran EQUAL 0)
        set(BW_X86_ASAN ON PARENT_SCOPE)
      else()
        message(WARNING "No 32-bit AddressSanitizer runtime: the x86 sub-build is "
                        "sanitized for undefined behaviour only")
      endif()
    endif()
    return()
  endif()
  find_program(BW_QEMU_I386 qemu-i386)
  if(BW_QEMU_I386)
    execute_process(COMMAND ${BW_QEMU_I386} ${dir}/probe RESULT_VARIABLE emulated
                    OUTPUT_QUIET ERROR_QUIET)
    if(emulated EQUAL 0)
      set(BW_X86_AVAILABLE ON PARENT_SCOPE)
      set(BW_X86_RUNNER ${BW_QEMU_I386} PARENT_SCOPE)
      message(STATUS "32-bit x86 programs run through ${BW_QEMU_I386}")
      return()
    endif()
  endif()
  # Built, but the tests cannot run here.
  set(BW_X86_AVAILABLE ON PARENT_SCOPE)
  set(BW_X86_RUNNER "NOTFOUND" PARENT_SCOPE)
  message(WARNING "32-bit x86 programs neither run natively nor under qemu-i386: "
                  "their tests are registered as failing")
endfunction()

set(BW_X86_ASAN OFF)
bw_x86_probe()
set(BW_X86_AVAILABLE ${BW_X86_AVAILABLE} CACHE INTERNAL "")
set(BW_X86_RUNNER "${BW_X86_RUNNER}" CACHE INTERNAL "")

if(BW_X86_AVAILABLE)
  ExternalProject_Add(bw_x86
    SOURCE_DIR ${PROJECT_SOURCE_DIR}/cmake/x86
    BINARY_DIR ${BW_X86_BINARY_DIR}
    CMAKE_ARGS
      -DBW_ROOT=${PROJECT_SOURCE_DIR}
      -DBW_SANITIZE=${BW_SANITIZE}
      -DBW_X86_ASAN=${BW_X86_ASAN}
      -DCMAKE_BUILD_TYPE=${CMAKE_BUILD_TYPE}
      -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER}
      -DCMAKE_CXX_COMPILER=${CMAKE_CXX_COMPILER}
    BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> -j ${BW_X86_JOBS}
    BUILD_ALWAYS ON
    INSTALL_COMMAND ""
    BUILD_BYPRODUCTS
      ${BW_X86_BINARY_DIR}/lib/libvondral.so
      ${BW_X86_BINARY_DIR}/bin/pelmhost)
endif()

# bw_add_x86_test(NAME <program>): every GoogleTest case of the 32-bit program
# bin/<program> becomes a CTest test "<program>.<Suite>.<Case>". The cases
# are listed when ctest runs (the program exists only after the sub-build).
function(bw_add_x86_test)
  cmake_parse_arguments(ARG "" "NAME" "" ${ARGN})
  if(NOT BW_X86_AVAILABLE)
    return()
  endif()
  set(script ${CMAKE_CURRENT_BINARY_DIR}/${ARG_NAME}_x86_tests.cmake)
  file(WRITE ${script}
    "include(\"${PROJECT_SOURCE_DIR}/cmake/x86/AddX86Tests.cmake\")\n"
    "bw_x86_add_tests(\"${ARG_NAME}\" \"${BW_X86_BINARY_DIR}/bin/${ARG_NAME}\" "
    "\"${BW_X86_RUNNER}\")\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${script})
endfunction()
