# Helpers shared by every folder: one library per folder, one test binary per folder.

set(ZUNO_WARNINGS -Wall -Wextra -Wshadow)

# The clang check (`make clang`) builds with warnings as errors, and may add sanitizers to every target.
option(ZUNO_WERROR "Warnings are errors" OFF)
set(ZUNO_SANITIZE "" CACHE STRING "Sanitizers of every target, such as address,undefined")
if(ZUNO_WERROR)
    list(APPEND ZUNO_WARNINGS -Werror)
endif()
if(ZUNO_SANITIZE)
    add_compile_options(-fsanitize=${ZUNO_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${ZUNO_SANITIZE})
endif()

# zuno_library(<target> [NOQT] [DIR <dir>] [DEPS <targets...>])
# Builds every .cpp/.h directly in DIR (default: the current source folder) into a static library.
function(zuno_library target)
    cmake_parse_arguments(ARG "NOQT" "DIR" "DEPS" ${ARGN})
    if(NOT ARG_DIR)
        set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
    endif()
    file(GLOB sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h)
    if(NOT sources)
        # A folder whose code has not landed yet still gives a target others can name.
        add_library(${target} INTERFACE)
        target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
        if(ARG_DEPS)
            target_link_libraries(${target} INTERFACE ${ARG_DEPS})
        endif()
        return()
    endif()
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR} ${PROJECT_BINARY_DIR}/generated)
    target_compile_options(${target} PRIVATE ${ZUNO_WARNINGS})
    if(NOT ARG_NOQT)
        set_target_properties(${target} PROPERTIES AUTOMOC ON)
        target_precompile_headers(${target} PRIVATE ${PROJECT_SOURCE_DIR}/cmake/pch_qt.h)
    endif()
    if(ARG_DEPS)
        target_link_libraries(${target} PUBLIC ${ARG_DEPS})
    endif()
endfunction()

# zuno_test(<folder> [GUI] [DEPS <targets...>])
# One GoogleTest binary per tests/<folder>; each case is its own CTest test, labelled <folder>.
function(zuno_test folder)
    cmake_parse_arguments(ARG "GUI" "" "DEPS" ${ARGN})
    string(REPLACE "/" "_" name ${folder})
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp
         ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
    if(NOT sources)
        return()
    endif()
    add_executable(test_${name} ${sources})
    set_target_properties(test_${name} PROPERTIES AUTOMOC ON)
    target_compile_options(test_${name} PRIVATE ${ZUNO_WARNINGS})
    if(ARG_GUI)
        set(support zuno_test_main_gui)
    else()
        set(support zuno_test_main)
    endif()
    target_link_libraries(test_${name} PRIVATE ${ARG_DEPS} ${support} GTest::gtest GTest::gmock)
    gtest_discover_tests(test_${name}
        DISCOVERY_MODE PRE_TEST
        DISCOVERY_TIMEOUT 60
        PROPERTIES LABELS ${name} ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
