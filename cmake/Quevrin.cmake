# Build conventions shared by every target of the project.

add_compile_options(-Wall -Wextra)
if(QUEVRIN_SANITIZE)
    string(REPLACE ";" "," _san "${QUEVRIN_SANITIZE}")
    add_compile_options(-fsanitize=${_san} -fno-omit-frame-pointer -fno-sanitize-recover=all)
    add_link_options(-fsanitize=${_san})
endif()

# quevrin_library(NAME DIRS dir... DEPS target... [EXCLUDE dir/File.cpp...])
# One static library per subsystem, made of the .cpp files directly inside the
# listed folders under src/ but the excluded ones. Headers are included as
# "subsystem/File.h".
function(quevrin_library name)
    cmake_parse_arguments(A "" "" "DIRS;DEPS;EXCLUDE" ${ARGN})
    set(srcs)
    foreach(d IN LISTS A_DIRS)
        file(GLOB s CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${d}/*.cpp)
        list(APPEND srcs ${s})
    endforeach()
    foreach(x IN LISTS A_EXCLUDE)
        list(REMOVE_ITEM srcs ${PROJECT_SOURCE_DIR}/src/${x})
    endforeach()
    if(srcs)
        add_library(${name} STATIC ${srcs})
        target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} PUBLIC ${A_DEPS})
    else()
        add_library(${name} INTERFACE)
        target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR}/src)
        target_link_libraries(${name} INTERFACE ${A_DEPS})
    endif()
endfunction()

# quevrin_test(NAME DIR dir DEPS target...)
# One test program per folder under tests/, from its *Test.cpp files.
function(quevrin_test name)
    cmake_parse_arguments(A "" "DIR" "DEPS" ${ARGN})
    file(GLOB srcs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${A_DIR}/*.cpp)
    if(NOT srcs)
        return()
    endif()
    add_executable(${name} ${srcs})
    target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(${name} PRIVATE ${A_DEPS} GTest::gtest GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QUEVRIN_SOURCE_DIR=${PROJECT_SOURCE_DIR}")
endfunction()
