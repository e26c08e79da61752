# orvik_library(<name> [SHARED|STATIC] DEPS <targets...>)
# Builds every .cpp of the calling folder (not its subfolders) into one library.
function(orvik_library name kind)
  cmake_parse_arguments(A "" "" "DEPS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT srcs)
    add_library(${name} INTERFACE)
    target_link_libraries(${name} INTERFACE ${A_DEPS})
    return()
  endif()
  add_library(${name} ${kind} ${srcs})
  target_link_libraries(${name} PUBLIC ${A_DEPS})
endfunction()

# orvik_tests(<name> DEPS <targets...> [SOURCES <files...>])
# One GoogleTest program from every .cpp of the calling folder (or the given
# sources); its tests are named "<name>.<Suite>.<Test>" in CTest.
function(orvik_tests name)
  cmake_parse_arguments(A "" "" "DEPS;SOURCES" ${ARGN})
  set(srcs ${A_SOURCES})
  if(NOT srcs)
    file(GLOB srcs CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  endif()
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main GTest::gmock)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 TEST_PREFIX "${name}." PROPERTIES ENVIRONMENT "ORVIK_BIN_DIR=${CMAKE_BINARY_DIR}/bin")
endfunction()

# Adds every subfolder of the calling folder that has a CMakeLists.txt.
function(orvik_add_subfolders)
  file(GLOB children LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(child ${children})
    if(IS_DIRECTORY ${child} AND EXISTS ${child}/CMakeLists.txt)
      add_subdirectory(${child})
    endif()
  endforeach()
endfunction()

# orvik_include_rule(<target> <allowed path prefixes...>)
# Checks, whenever the target builds, that the headers and sources of the
# calling folder include project headers only from the given prefixes
# (e.g. "platform/" or "driver/vti_interface.h"); a backwards include fails.
function(orvik_include_rule target)
  string(REPLACE ";" "|" allowed "${ARGN}")
  file(GLOB files CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}_includes.stamp)
  add_custom_command(OUTPUT ${stamp}
    COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_CURRENT_SOURCE_DIR} -DROOT=${PROJECT_SOURCE_DIR}
            "-DALLOWED=${allowed}" -DSTAMP=${stamp} -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
    COMMENT "Checking the includes of ${target}" VERBATIM)
  add_custom_target(${target}_includes DEPENDS ${stamp})
  add_dependencies(${target} ${target}_includes)
endfunction()

# orvik_without_restrict_warning(<sources...>)
# g++ before 13 warns -Wrestrict inside libstdc++'s basic_string::_M_replace
# where an optimised build inlines a string built from a literal ("x" + s, or
# s = "x") (GCC bugs 105329, 105651): a false positive. Silences that one
# warning for the given sources (paths from the project root) and that compiler
# only, in every folder that may build them. Call after the last subfolder.
function(orvik_without_restrict_warning)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 13)
    return()
  endif()
  set(folders ${PROJECT_SOURCE_DIR})
  set(pending ${PROJECT_SOURCE_DIR})
  while(pending)
    list(POP_FRONT pending folder)
    get_property(children DIRECTORY ${folder} PROPERTY SUBDIRECTORIES)
    list(APPEND folders ${children})
    list(APPEND pending ${children})
  endwhile()
  list(TRANSFORM ARGN PREPEND ${PROJECT_SOURCE_DIR}/ OUTPUT_VARIABLE sources)
  set_property(SOURCE ${sources} DIRECTORY ${folders} APPEND PROPERTY COMPILE_OPTIONS -Wno-restrict)
endfunction()
