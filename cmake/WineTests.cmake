# The Windows build's tests: GoogleTest made with the cross toolchain, and each test program run
# under Wine in one prefix that the run makes for itself.
#
# Debian has no MinGW build of GoogleTest, but its googletest package installs the sources.
set(TSR_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest's sources, built with the cross toolchain")
find_program(TSR_WINE wine REQUIRED)
find_program(TSR_WINESERVER wineserver REQUIRED)
if(NOT EXISTS ${TSR_GOOGLETEST_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "No GoogleTest sources in ${TSR_GOOGLETEST_SOURCE}: install Debian's googletest package")
endif()

# A test program must start under Wine without finding a MinGW runtime DLL.
add_link_options(-static)

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
# It names its targets GTest::gtest, GTest::gmock, ... as find_package(GTest) does on Linux.
add_subdirectory(${TSR_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)

# Every test program is a Windows program run by Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${TSR_WINE})

# One prefix for the whole run, never ~/.wine: a fixture makes it before the first Wine test
# and stops its server after the last.
set(TSR_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(TSR_WINE_ENVIRONMENT
    WINEPREFIX=${TSR_WINE_DIR}/prefix
    HOME=${TSR_WINE_DIR}/home
    XDG_CONFIG_HOME=${TSR_WINE_DIR}/home/.config
    XDG_DATA_HOME=${TSR_WINE_DIR}/home/.local/share
    XDG_CACHE_HOME=${TSR_WINE_DIR}/home/.cache
    WINEDEBUG=-all
    WINEDLLOVERRIDES=mscoree,winemenubuilder.exe=d)
add_test(NAME wine_prefix_setup COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix setup ${TSR_WINE_DIR})
add_test(NAME wine_prefix_cleanup COMMAND ${PROJECT_SOURCE_DIR}/scripts/wine-prefix cleanup ${TSR_WINE_DIR})
set_tests_properties(wine_prefix_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
set_tests_properties(wine_prefix_cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# One test program of the Windows build: the sources of a test folder, less those that test only
# the Linux stand-in (LINUX_ONLY, names relative to the folder), run as one test under Wine.
# Listing each program's tests for ctest would start Wine once more per program at build time,
# before the prefix exists.
function(tsr_add_wine_tests name dir)
  cmake_parse_arguments(arg "" "" "LINKS;LINUX_ONLY" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  foreach(file IN LISTS arg_LINUX_ONLY)
    if(NOT EXISTS ${dir}/${file})
      message(FATAL_ERROR "${name}: no ${file} in ${dir} to leave out")
    endif()
    list(REMOVE_ITEM sources ${dir}/${file})
  endforeach()
  add_executable(${name} ${sources})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${arg_LINKS} GTest::gtest GTest::gmock GTest::gtest_main)
  # Wine maps the build machine's root to drive Z:, so the data's Linux path opens as it is.
  target_compile_definitions(${name} PRIVATE TSR_TEST_DATA="${dir}/data")
  add_test(NAME ${name} COMMAND ${name} --gtest_brief=1)
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 ENVIRONMENT "${TSR_WINE_ENVIRONMENT}")
endfunction()
