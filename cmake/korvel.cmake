# Shared helpers of the build.

# Platform of the host files: win32 for the cross build, posix otherwise.
if(WIN32)
    set(KORVEL_PLATFORM win32)
else()
    set(KORVEL_PLATFORM posix)
endif()

macro(korvel_setup_gtest)
    if(CMAKE_CROSSCOMPILING)
        # The Debian source package, built with the cross compiler.
        set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
        set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
        set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
        add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
        foreach(t gtest gtest_main gmock gmock_main)
            if(TARGET ${t})
                target_compile_options(${t} PRIVATE -w)
            endif()
        endforeach()
        # googletest 1.12 defines these aliases itself; older sources do not.
        foreach(t gtest gtest_main gmock)
            if(NOT TARGET GTest::${t})
                add_library(GTest::${t} ALIAS ${t})
            endif()
        endforeach()
    else()
        find_package(GTest REQUIRED)
        include(GoogleTest)
    endif()
endmacro()

# korvel_add_gtest(<name> SOURCES ... LIBS ... [LABELS ...])
# Natively every test case becomes a ctest test; under Wine a program is one
# ctest test (each start of Wine costs time) and Wine tests run one at a time.
function(korvel_add_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest_main GTest::gtest)
    if(WIN32)
        set_target_properties(${name} PROPERTIES WIN32_EXECUTABLE OFF)
        add_test(NAME ${name} COMMAND ${name} --gtest_color=no)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL ON TIMEOUT 600 LABELS "wine;${ARG_LABELS}")
    else()
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
    endif()
endfunction()
