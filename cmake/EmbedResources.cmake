# Module resources on platforms without a resource compiler: every file named
# in resources/resources.txt becomes a read-only array inside the module, and
# a table (type, name, bytes, size) lets sys::get_ressource find it in place.
#
# Manifest lines: TYPE NAME relative/path   (path relative to resources/;
# '#' starts a comment; TYPE and NAME are letters, digits, '_', '.', '-').
#
# Included from a CMakeLists: quevrin_embed_resources(target) adds the
# generated source to the target. Run as a script (at build time):
#   cmake -DMANIFEST=<resources.txt> -DOUTPUT=<file.cpp> -P EmbedResources.cmake

if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(_quevrin_embed_script ${CMAKE_CURRENT_LIST_FILE})

    function(quevrin_embed_resources target)
        set(dir ${PROJECT_SOURCE_DIR}/resources)
        set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
        # Any file under resources/ (the manifest too) regenerates the table
        # when it changes; a new file makes the build re-read this list.
        file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${dir}/*)
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -DMANIFEST=${dir}/resources.txt -DOUTPUT=${out}
                    -P ${_quevrin_embed_script}
            DEPENDS ${inputs} ${_quevrin_embed_script} ${PROJECT_SOURCE_DIR}/cmake/ResourceManifest.cmake
            COMMENT "Embedding module resources"
            VERBATIM)
        target_sources(${target} PRIVATE ${out})
    endfunction()
    return()
endif()

cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/ResourceManifest.cmake)
quevrin_read_manifest(${MANIFEST} resources)

set(arrays "")
set(entries "")
set(count 0)
foreach(entry IN LISTS resources)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 type)
    list(GET fields 1 name)
    list(GET fields 2 path)
    list(GET fields 3 file)
    file(READ "${file}" hex HEX)
    string(LENGTH "${hex}" digits)
    math(EXPR size "${digits} / 2")
    if(size EQUAL 0)
        set(bytes "0x00,") # an empty resource still needs an array to point at
    else()
        # 16 bytes a line
        string(REGEX REPLACE "(................................)" "\\1\n    " bytes "${hex}")
        string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${bytes}")
    endif()
    string(APPEND arrays "// ${type} ${name}: ${path}, ${size} bytes\n"
        "alignas(16) static const unsigned char resource_${count}[] = {\n    ${bytes}\n};\n\n")
    string(APPEND entries "    {\"${type}\", \"${name}\", resource_${count}, ${size}},\n")
    math(EXPR count "${count} + 1")
endforeach()

if(count EQUAL 0)
    set(table "ResourceTable resource_table() { return {nullptr, 0}; }\n")
else()
    string(CONCAT table "static const ResourceEntry entries[] = {\n${entries}};\n\n"
        "ResourceTable resource_table() { return {entries, ${count}}; }\n")
endif()
string(CONCAT source "// Generated from ${MANIFEST} by EmbedResources.cmake; do not edit.\n"
    "#include \"sys/posix/ResourceTable.h\"\n\nnamespace sys {\n\n${arrays}${table}\n"
    "} // namespace sys\n")
file(WRITE ${OUTPUT} "${source}")
