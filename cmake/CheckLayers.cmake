# Fails when a source file includes a header of a layer above its own, or
# when portable code includes an operating-system header; and, given what the
# DSP links and its binaries, when the engine or the LV2 plug-in binary links
# the toolkit, the framework's control binding or the system services, or
# holds any of their symbols.
# Run as: cmake -DSRC=<src dir> [-DDSP_LINKS=<a,b,...> -DNM=<nm>
#         -DDSP_BINARIES=<a,b,...>] -P CheckLayers.cmake

# folder -> include prefixes it may use, and with a leading "-" prefixes it
# may not use although an allowed one covers them (first match of the
# folder wins)
set(layers
    "basic|basic/"
    "sys/posix|sys/"
    "sys/win32|sys/"
    "sys|sys/"
    "mppi/binding|basic/ mppi/ pengui/ sys/"
    "mppi/preset|basic/ mppi/ -mppi/binding/"
    "mppi|basic/ mppi/ -mppi/preset/ -mppi/binding/"
    "effect|basic/ mppi/ effect/ -mppi/binding/"
    "pengui|pengui/ sys/"
    "editor|basic/ mppi/ effect/ pengui/ sys/ editor/"
    "host/dx/platform|host/dx/platform/"
    "host/dx|basic/ mppi/ effect/ pengui/ sys/ editor/ host/dx/"
    "host/lv2/ui|basic/ mppi/ effect/ pengui/ sys/ editor/ host/lv2/"
    "host/lv2|basic/ mppi/ effect/ host/lv2/ -mppi/binding/ -host/lv2/ui/"
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
                set(refused FALSE)
                foreach(p IN LISTS pl)
                    string(REGEX REPLACE "^-" "" prefix "${p}")
                    string(FIND "${inc}" "${prefix}" pos)
                    if(pos EQUAL 0 AND p MATCHES "^-")
                        set(refused TRUE)
                    elseif(pos EQUAL 0)
                        set(ok TRUE)
                    endif()
                endforeach()
                if(NOT ok OR refused)
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

# The DSP side needs no window, listener, dialog or resource: nothing of the
# toolkit, the control binding, the editor or the system services.
set(gui_libraries "^(quevrin_(pengui.*|binding|editor|sys|hostlv2_ui)|X11::.*)$")
string(REPLACE "," ";" dsp_links "${DSP_LINKS}")
list(REMOVE_DUPLICATES dsp_links)
foreach(lib IN LISTS dsp_links)
    if(lib MATCHES "${gui_libraries}")
        string(APPEND bad "the engine or the LV2 plug-in links ${lib}\n")
    endif()
endforeach()
string(REPLACE "," ";" dsp_binaries "${DSP_BINARIES}")
foreach(binary IN LISTS dsp_binaries)
    execute_process(COMMAND ${NM} -C ${binary} OUTPUT_VARIABLE symbols RESULT_VARIABLE nm_failed)
    if(nm_failed)
        string(APPEND bad "${binary}: nm cannot read it\n")
    endif()
    string(REGEX MATCHALL "[^\n]*[^A-Za-z0-9_](pengui|sys)::[^\n]*" gui_symbols "${symbols}")
    foreach(sym IN LISTS gui_symbols)
        string(APPEND bad "${binary}: ${sym}\n")
    endforeach()
endforeach()

if(bad)
    message(FATAL_ERROR "Layering violations:\n${bad}")
endif()
