# Fails when a source file includes a header of a layer above its own, or
# when portable code includes an operating-system header.
# Run as: cmake -DSRC=<src dir> -P CheckLayers.cmake

# folder -> include prefixes it may use (first match of the folder wins)
set(layers
    "basic|basic/"
    "sys/posix|sys/"
    "sys/win32|sys/"
    "sys|sys/"
    "mppi/preset|basic/ mppi/ pengui/ sys/"
    "mppi|basic/ mppi/ pengui/"
    "effect|basic/ mppi/ effect/"
    "pengui|pengui/ sys/"
    "editor|basic/ mppi/ effect/ pengui/ sys/ editor/"
    "host/dx/platform|host/dx/platform/"
    "host/dx|basic/ mppi/ effect/ pengui/ sys/ editor/ host/dx/"
    "host/lv2/ui|basic/ mppi/ effect/ pengui/ sys/ editor/ host/lv2/"
    "host/lv2|basic/ mppi/ effect/ pengui/ sys/ host/lv2/"
)
# folders allowed to include the operating system's own headers
set(os_folders "sys/posix" "sys/win32" "pengui/x11" "pengui/win32" "host/dx/platform"
    "host/dx/module")
set(os_headers "windows\\.h|unistd\\.h|X11/|dlfcn\\.h|pthread\\.h|sys/[a-z]+\\.h|fcntl\\.h|dshow\\.h|objbase\\.h")

file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
set(bad "")
foreach(f IN LISTS files)
    get_filename_component(dir ${f} DIRECTORY)
    set(allowed "")
    foreach(entry IN LISTS layers)
        string(REPLACE "|" ";" parts "${entry}")
        list(GET parts 0 folder)
        list(GET parts 1 prefixes)
        if(dir STREQUAL folder OR dir MATCHES "^${folder}/")
            set(allowed ${prefixes})
            break()
        endif()
    endforeach()
    set(os_ok FALSE)
    foreach(o IN LISTS os_folders)
        if(dir STREQUAL o OR dir MATCHES "^${o}/")
            set(os_ok TRUE)
        endif()
    endforeach()
    file(STRINGS ${SRC}/${f} incs REGEX "^[ \t]*#[ \t]*include")
    foreach(line IN LISTS incs)
        if(line MATCHES "#[ \t]*include[ \t]*\"([^\"]+)\"")
            set(inc ${CMAKE_MATCH_1})
            if(inc MATCHES "/")
                separate_arguments(pl UNIX_COMMAND "${allowed}")
                set(ok FALSE)
                foreach(p IN LISTS pl)
                    string(FIND "${inc}" "${p}" pos)
                    if(pos EQUAL 0)
                        set(ok TRUE)
                    endif()
                endforeach()
                # the framework core sits below its preset subsystem
                if(dir STREQUAL "mppi" AND inc MATCHES "^mppi/preset/")
                    set(ok FALSE)
                endif()
                if(NOT ok)
                    string(APPEND bad "${f}: includes \"${inc}\"\n")
                endif()
            endif()
        elseif(line MATCHES "#[ \t]*include[ \t]*<([^>]+)>")
            if(NOT os_ok AND CMAKE_MATCH_1 MATCHES "^(${os_headers})$")
                string(APPEND bad "${f}: includes the system header <${CMAKE_MATCH_1}>\n")
            endif()
        endif()
    endforeach()
endforeach()
if(bad)
    message(FATAL_ERROR "Layering violations:\n${bad}")
endif()
