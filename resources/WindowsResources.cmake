# Module resources on Windows: a resource script for windres made from
# quevrin.rc.in (the property page's dialog and title) and one line per entry
# of resources.txt (TYPE NAME relative/path), so the banks and skin files
# become real module resources under their own type and name.
#
# Included from a CMakeLists: quevrin_windows_resources(target) adds the
# generated script to the target. Run as a script (at build time):
#   cmake -DMANIFEST=<resources.txt> -DTEMPLATE=<quevrin.rc.in> -DOUTPUT=<file.rc>
#         -P WindowsResources.cmake

if(NOT CMAKE_SCRIPT_MODE_FILE)
    set(_quevrin_rc_script ${CMAKE_CURRENT_LIST_FILE})

    function(quevrin_windows_resources target)
        set(dir ${PROJECT_SOURCE_DIR}/resources)
        set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
        file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${dir}/*)
        add_custom_command(OUTPUT ${out}
            COMMAND ${CMAKE_COMMAND} -DMANIFEST=${dir}/resources.txt
                    -DTEMPLATE=${dir}/quevrin.rc.in -DOUTPUT=${out} -P ${_quevrin_rc_script}
            DEPENDS ${inputs} ${_quevrin_rc_script} ${PROJECT_SOURCE_DIR}/cmake/ResourceManifest.cmake
            COMMENT "Writing the module's resource script"
            VERBATIM)
        # windres reads the files the script names; the script itself stays
        # the same when only their bytes change, so the object depends on them.
        set_source_files_properties(${out} PROPERTIES OBJECT_DEPENDS "${inputs}")
        target_sources(${target} PRIVATE ${out})
    endfunction()
    return()
endif()

cmake_policy(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/ResourceManifest.cmake)
quevrin_read_manifest(${MANIFEST} resources)
set(manifest_resources "")
foreach(entry IN LISTS resources)
    string(REPLACE "|" ";" fields "${entry}")
    list(GET fields 0 type)
    list(GET fields 1 name)
    list(GET fields 3 file)
    # windres reads NAME TYPE "file".
    string(APPEND manifest_resources "${name} ${type} \"${file}\"\n")
endforeach()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
