# Shared build settings and the helpers every folder uses.

set(LEMMABOX_WARNINGS -Wall -Wextra -Werror)

if(LEMMABOX_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
if(LEMMABOX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Where the program looks for its support files (NEWNOTE.AXN, help pages) when
# run from the build tree.
set(LEMMABOX_SUPPORT_DIR "${PROJECT_SOURCE_DIR}/support")

# lemmabox_core_library(<folder> [DEPENDS <folder>...])
# One static library per core folder, built from every source in src/<folder>.
function(lemmabox_core_library folder)
  cmake_parse_arguments(ARG "" "" "DEPENDS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/src/${folder}/*.cpp")
  set(target lemmabox_${folder})
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_compile_options(${target} PRIVATE ${LEMMABOX_WARNINGS})
    foreach(dep IN LISTS ARG_DEPENDS)
      target_link_libraries(${target} PUBLIC lemmabox_${dep})
    endforeach()
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    foreach(dep IN LISTS ARG_DEPENDS)
      target_link_libraries(${target} INTERFACE lemmabox_${dep})
    endforeach()
  endif()
endfunction()

# lemmabox_test_suite(<folder> [LIBS <target>...])
# One GoogleTest binary per folder of tests/, registered with CTest.
function(lemmabox_test_suite folder)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS "${PROJECT_SOURCE_DIR}/tests/${folder}/*.cpp")
  if(NOT sources)
    return()
  endif()
  set(target test_${folder})
  add_executable(${target} ${sources})
  target_compile_options(${target} PRIVATE ${LEMMABOX_WARNINGS})
  target_link_libraries(${target} PRIVATE lemmabox_test_support ${ARG_LIBS} GTest::gtest_main)
  add_test(NAME ${folder} COMMAND ${target})
  set_tests_properties(${folder} PROPERTIES
    ENVIRONMENT "LEMMABOX_SUPPORT_DIR=${LEMMABOX_SUPPORT_DIR};LEMMABOX_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
