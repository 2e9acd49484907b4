# Checks the layers the folders promise (run by CTest as tst_layering):
#  - no file under src/core/ includes a QtGui or QtWidgets header or a ui/ header;
#  - orvalix_core links neither QtGui nor QtWidgets;
#  - a src/ui/ folder includes only folders below it in UI_ORDER, so no two
#    ui folders include each other.
# Variables: SOURCE_DIR, GUI_INCLUDE_DIRS (QtGui and QtWidgets header
# folders, ';'-separated), CORE_LINKS_FILE (orvalix_core's link libraries).
cmake_minimum_required(VERSION 3.16)

set(UI_ORDER resources controls common modules devices pages window)
# Folders on one rank may not include each other either.
set(UI_RANK_resources 0)
set(UI_RANK_controls 1)
set(UI_RANK_common 1)
set(UI_RANK_modules 2)
set(UI_RANK_devices 2)
set(UI_RANK_pages 3)
set(UI_RANK_window 4)

set(problems "")

file(GLOB_RECURSE core_files ${SOURCE_DIR}/src/core/*.h ${SOURCE_DIR}/src/core/*.cpp)
foreach(file ${core_files})
    file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
    foreach(line ${includes})
        string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]+)[>\"].*" "\\1" header "${line}")
        if(header MATCHES "^(QtGui|QtWidgets)/" OR header MATCHES "^ui/")
            list(APPEND problems "${file}: includes ${header}")
            continue()
        endif()
        foreach(dir ${GUI_INCLUDE_DIRS})
            if(EXISTS ${dir}/${header} AND NOT IS_DIRECTORY ${dir}/${header})
                list(APPEND problems "${file}: includes ${header} from ${dir}")
            endif()
        endforeach()
    endforeach()
endforeach()

file(READ ${CORE_LINKS_FILE} core_links)
if(core_links MATCHES "Qt5::(Gui|Widgets)|Qt5(Gui|Widgets)")
    list(APPEND problems "orvalix_core links ${CMAKE_MATCH_0}: ${core_links}")
endif()

file(GLOB ui_folders LIST_DIRECTORIES true RELATIVE ${SOURCE_DIR}/src/ui ${SOURCE_DIR}/src/ui/*)
foreach(folder ${ui_folders})
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/src/ui/${folder})
        continue()
    endif()
    if(NOT DEFINED UI_RANK_${folder})
        list(APPEND problems "src/ui/${folder}: no place in the ui layer order (tests/layering.cmake)")
        continue()
    endif()
    file(GLOB_RECURSE files ${SOURCE_DIR}/src/ui/${folder}/*.h ${SOURCE_DIR}/src/ui/${folder}/*.cpp)
    foreach(file ${files})
        file(STRINGS ${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"ui/")
        foreach(line ${includes})
            string(REGEX REPLACE ".*\"ui/([^/]+)/.*" "\\1" target "${line}")
            if(target STREQUAL folder)
                continue()
            endif()
            if(NOT DEFINED UI_RANK_${target} OR NOT UI_RANK_${target} LESS UI_RANK_${folder})
                list(APPEND problems "${file}: ui/${folder} includes ui/${target}, which is not below it")
            endif()
        endforeach()
    endforeach()
endforeach()

if(problems)
    list(JOIN problems "\n  " text)
    message(FATAL_ERROR "Layering broken:\n  ${text}")
endif()
message(STATUS "Layering holds: ${core_links}")
