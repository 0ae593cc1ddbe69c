# One helper per kind of target, so a folder's CMakeLists stays a few lines.
# Sources are globbed per folder: adding a file needs no CMake edit.

set(BW_WARNINGS -Wall -Wextra)
set(BW_SANITIZE_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
    -fno-sanitize-recover=undefined)

function(bw_target_defaults target)
  target_compile_options(${target} PRIVATE ${BW_WARNINGS})
  target_compile_definitions(${target} PRIVATE QT_NO_KEYWORDS)
  if(BW_SANITIZE)
    target_compile_options(${target} PRIVATE ${BW_SANITIZE_FLAGS})
    target_link_options(${target} PRIVATE ${BW_SANITIZE_FLAGS})
  endif()
endfunction()

# bw_add_library(NAME <name> [DEPS <targets...>] [DIRS <folders...>])
# Builds every .cpp of the folder (or of the named folders) into a static
# library whose include root is the repository root, so headers are included
# as "platform/runtime/Variant.h".
function(bw_add_library)
  cmake_parse_arguments(ARG "" "NAME" "DEPS;DIRS" ${ARGN})
  if(NOT ARG_DIRS)
    set(ARG_DIRS ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  set(sources)
  foreach(dir ${ARG_DIRS})
    file(GLOB found CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.h)
    list(APPEND sources ${found})
  endforeach()
  add_library(${ARG_NAME} STATIC ${sources})
  target_include_directories(${ARG_NAME} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_DEPS})
  set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
  bw_target_defaults(${ARG_NAME})
endfunction()

# bw_add_program(NAME <name> SOURCES <files...> DEPS <targets...>)
function(bw_add_program)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS})
  set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
  bw_target_defaults(${ARG_NAME})
endfunction()

# bw_add_test(NAME <name> DEPS <targets...>)
# One GoogleTest executable of every test_*.cpp in the folder; each test case
# runs as its own CTest test on the offscreen Qt platform.
function(bw_add_test)
  cmake_parse_arguments(ARG "" "NAME" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp
       ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${ARG_NAME} ${sources})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock
                        bw_test_main)
  target_compile_definitions(${ARG_NAME} PRIVATE
    BW_SOURCE_DIR="${PROJECT_SOURCE_DIR}" BW_BINARY_DIR="${PROJECT_BINARY_DIR}")
  set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON)
  bw_target_defaults(${ARG_NAME})
  gtest_discover_tests(${ARG_NAME}
    DISCOVERY_TIMEOUT 120
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen" TIMEOUT 120)
endfunction()

# bw_add_bench(NAME <name> SOURCES <files...> DEPS <targets...>)
function(bw_add_bench)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS" ${ARGN})
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE ${ARG_DEPS} benchmark::benchmark)
  set_target_properties(${ARG_NAME} PROPERTIES AUTOMOC ON
    RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bench)
  bw_target_defaults(${ARG_NAME})
endfunction()
