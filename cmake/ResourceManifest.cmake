# Reads resources/resources.txt, the one list of the module's resources, for
# the scripts that turn it into an embedded table (Linux) or a resource script
# (Windows). Lines are `TYPE NAME relative/path`; '#' starts a comment.
#
# quevrin_read_manifest(MANIFEST <out>) sets <out> to a list of entries
# "TYPE|NAME|relative/path|absolute/path" and stops at the first bad line:
# wrong field count, odd characters, a resource listed twice, a path leaving
# the manifest's folder, or a file that does not exist.
function(quevrin_read_manifest manifest out)
    get_filename_component(root ${manifest} DIRECTORY)
    file(READ ${manifest} text)
    # Only comments may hold a ';', which would otherwise split CMake's lists.
    string(REPLACE ";" " " text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(entries "")
    set(seen "")
    set(line_number 0)
    foreach(line IN LISTS lines)
        math(EXPR line_number "${line_number} + 1")
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(REGEX MATCHALL "[^ \t\r]+" fields "${line}")
        list(LENGTH fields field_count)
        if(field_count EQUAL 0)
            continue()
        endif()
        set(where "${manifest}:${line_number}")
        if(NOT field_count EQUAL 3)
            message(FATAL_ERROR "${where}: expected 'TYPE NAME relative/path', got '${line}'")
        endif()
        list(GET fields 0 type)
        list(GET fields 1 name)
        list(GET fields 2 path)
        if(NOT type MATCHES "^[A-Za-z0-9_.-]+$" OR NOT name MATCHES "^[A-Za-z0-9_.-]+$")
            message(FATAL_ERROR "${where}: type and name may hold only letters, digits, '_', '.', '-'")
        endif()
        string(TOUPPER "${type}/${name}" key)
        if(key IN_LIST seen)
            message(FATAL_ERROR "${where}: resource ${type} ${name} is listed twice")
        endif()
        list(APPEND seen "${key}")
        if(IS_ABSOLUTE "${path}" OR path MATCHES "(^|/)\\.\\.(/|$)")
            message(FATAL_ERROR "${where}: '${path}' must be a path inside ${root}")
        endif()
        if(NOT EXISTS "${root}/${path}" OR IS_DIRECTORY "${root}/${path}")
            message(FATAL_ERROR "${where}: resource ${type} ${name}: file '${root}/${path}' "
                                "does not exist; add the file or remove the manifest line")
        endif()
        list(APPEND entries "${type}|${name}|${path}|${root}/${path}")
    endforeach()
    set(${out} "${entries}" PARENT_SCOPE)
endfunction()
