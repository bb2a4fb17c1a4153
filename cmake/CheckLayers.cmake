# Fails when a source file includes a header of a layer above its own, when
# portable code includes an operating-system header, or when a class, struct,
# union, enum or free function of ours is declared at global scope rather
# than in its library's namespace; and, given what the
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

# Nothing of ours at global scope. The COM and Win32 stand-ins of
# host/dx/platform/linux mirror the system's declarations, global on Windows;
# the entry points hosts look up by name and Xlib's own opaque structs are the
# only other global names. The scan reads clang-formatted code: a statement
# starts in the first column and its continuation and body are indented, so
# each first-column line with its indented ones is one statement, and its
# braces tell which scope the next statement is in.
set(global_folders "host/dx/platform/linux")
set(global_names "^(DllGetClassObject|DllCanUnloadNow|DllRegisterServer|DllUnregisterServer|lv2_descriptor|lv2ui_descriptor|_X[A-Za-z]*)$")
foreach(f IN LISTS files)
    get_filename_component(dir ${f} DIRECTORY)
    set(exempt FALSE)
    foreach(g IN LISTS global_folders)
        if(dir STREQUAL g OR dir MATCHES "^${g}/")
            set(exempt TRUE)
        endif()
    endforeach()
    if(exempt)
        continue()
    endif()
    file(READ ${SRC}/${f} text)
    # character and string literals, comments and preprocessor lines away;
    # list separators (; and brackets) out of the way of the line list
    string(REGEX REPLACE "'(\\\\.|[^'\\\\\n])'" "''" text "${text}")
    string(REGEX REPLACE "\"(\\\\.|[^\"\\\\\n])*\"" "\"\"" text "${text}")
    string(REGEX REPLACE "//[^\n]*" "" text "${text}")
    string(REGEX REPLACE "/\\*([^*]|\\*+[^*/])*\\*+/" "" text "${text}")
    string(REGEX REPLACE "\\\\\n" " " text "${text}")
    string(REGEX REPLACE "(^|\n)[ \t]*#[^\n]*" "\\1" text "${text}")
    string(REGEX REPLACE "[][;]" " " text "${text}")
    string(REGEX REPLACE "\n[ \t]+" " " text "${text}")
    string(REPLACE "\n" ";" statements "${text}")
    set(scopes "") # one letter per open brace: n namespace, e extern "C", o other
    foreach(s IN LISTS statements)
        if(scopes MATCHES "^e*$")
            set(name "")
            if(s MATCHES "^(template *<.*> *)?(class|struct|union|enum)( class| struct)? +([A-Za-z_][A-Za-z0-9_]*)")
                set(name ${CMAKE_MATCH_4})
            elseif(NOT s MATCHES "^(namespace|inline namespace|using|typedef|extern|static_assert|template class)[^A-Za-z0-9_]"
                   AND s MATCHES "^([^(=]*[^A-Za-z0-9_:~])?([A-Za-z_][A-Za-z0-9_:~]*) *\\(")
                set(name ${CMAKE_MATCH_2})
            endif()
            if(name AND NOT name MATCHES "${global_names}")
                string(APPEND bad "${f}: ${name} is declared at global scope\n")
            endif()
        endif()
        string(REGEX MATCHALL "{" opens "${s}")
        string(REGEX MATCHALL "}" closes "${s}")
        list(LENGTH opens n_open)
        list(LENGTH closes n_close)
        if(s MATCHES "^(inline )?namespace[^A-Za-z0-9_]")
            set(kind n)
        elseif(s MATCHES "^extern \"\" *{")
            set(kind e)
        else()
            set(kind o)
        endif()
        if(n_close GREATER n_open)
            math(EXPR drop "${n_close} - ${n_open}")
            string(LENGTH "${scopes}" depth)
            if(drop GREATER depth)
                string(APPEND bad "${f}: unbalanced braces, cannot be scanned\n")
                break()
            endif()
            math(EXPR depth "${depth} - ${drop}")
            string(SUBSTRING "${scopes}" 0 ${depth} scopes)
        else()
            math(EXPR add "${n_open} - ${n_close}")
            string(REPEAT ${kind} ${add} opened)
            string(APPEND scopes "${opened}")
        endif()
    endforeach()
    if(NOT scopes STREQUAL "")
        string(APPEND bad "${f}: unbalanced braces, cannot be scanned\n")
    endif()
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
