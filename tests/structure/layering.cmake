# Fails when a file of one folder reaches a header of a folder it may not use. Reads the compiler's
# dependency files of every object under BUILD_DIR, so a header reached through another header counts,
# and names the file that includes it. Tests, benchmarks and fuzz targets may use every folder.
#
# Each folder may use itself and the folders listed after it. The core comes first, each folder using
# only the ones before it; the window folders follow, and only the main window's shell/ uses the
# dialogs and the panels.
cmake_minimum_required(VERSION 3.25)

set(layers
    "jotwell:"
    "platform:jotwell"
    "document:platform jotwell"
    "render:document platform jotwell"
    "templates:document platform jotwell"
    "merge:templates render document platform jotwell"
    "session:templates render document platform jotwell"
    "cli:session merge templates render document platform jotwell"
    "assets:session merge templates render document platform jotwell"
    "widgets:session merge templates render document platform jotwell"
    "canvas:widgets session merge templates render document platform jotwell"
    "panels:canvas widgets session merge templates render document platform jotwell"
    "dialogs:widgets session merge templates render document platform jotwell"
    "shell:dialogs panels canvas widgets session merge templates render document platform jotwell")

foreach(layer IN LISTS layers)
    string(REGEX MATCH "^[^:]+" folder "${layer}")
    string(REGEX REPLACE "^[^:]+:" "" uses "${layer}")
    separate_arguments(uses UNIX_COMMAND "${uses}")
    set(allowed_${folder} ${folder} ${uses})
    list(APPEND folders ${folder})
endforeach()

string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" source_pattern "${SOURCE_DIR}/")
string(REGEX REPLACE "([][+.*()^$?|\\\\])" "\\\\\\1" build_pattern "${BUILD_DIR}/")

file(GLOB_RECURSE depfiles "${BUILD_DIR}/*.o.d")
set(checked 0)
set(crossings "")
foreach(depfile IN LISTS depfiles)
    file(READ "${depfile}" text)
    string(REPLACE "\\\n" " " text "${text}")
    string(REGEX MATCHALL "[^ \t\r\n]+" tokens "${text}")
    list(FILTER tokens EXCLUDE REGEX ":$")
    # Paths may be relative to the folder the compiler ran in (a compiler cache writes them so), the
    # binary folder that holds the object's CMakeFiles/.
    string(REGEX REPLACE "/CMakeFiles/.*$" "" workdir "${depfile}")
    set(paths "")
    set(source "")
    foreach(token IN LISTS tokens)
        if(NOT IS_ABSOLUTE "${token}")
            get_filename_component(token "${token}" ABSOLUTE BASE_DIR "${workdir}")
        endif()
        if(NOT source)
            set(source "${token}")
        endif()
        if(token MATCHES "^${source_pattern}" AND NOT token MATCHES "^${build_pattern}")
            list(APPEND paths "${token}")
        endif()
    endforeach()
    list(REMOVE_DUPLICATES paths)
    # The first file named is the source the object was compiled from; generated sources (the moc
    # files) are not checked.
    if(NOT source MATCHES "^${source_pattern}" OR source MATCHES "^${build_pattern}")
        continue()
    endif()
    string(REGEX REPLACE "^${source_pattern}" "" source "${source}")
    string(REGEX MATCH "^[^/]+" folder "${source}")
    # A source moved or deleted since leaves its old object behind in a build folder.
    if(NOT folder IN_LIST folders OR NOT EXISTS "${SOURCE_DIR}/${source}")
        continue()
    endif()
    math(EXPR checked "${checked} + 1")
    foreach(path IN LISTS paths)
        string(REGEX REPLACE "^${source_pattern}" "" header "${path}")
        string(REGEX MATCH "^[^/]+" reached "${header}")
        if(NOT reached IN_LIST folders OR reached IN_LIST allowed_${folder})
            continue()
        endif()
        # Name the file of the object's sources that includes the header itself.
        set(includer "${source} (through another header)")
        foreach(candidate IN LISTS paths)
            file(STRINGS "${candidate}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"${header}\"")
            if(lines)
                string(REGEX REPLACE "^${source_pattern}" "" includer "${candidate}")
                break()
            endif()
        endforeach()
        list(JOIN allowed_${folder} ", " may)
        list(APPEND crossings "${includer} includes ${header}: ${folder}/ may use only ${may}")
    endforeach()
endforeach()

if(checked LESS 50)
    message(FATAL_ERROR "Only ${checked} objects of the program folders under ${BUILD_DIR}: build first")
endif()
if(crossings)
    list(REMOVE_DUPLICATES crossings)
    list(JOIN crossings "\n  " text)
    message(FATAL_ERROR "Includes that run against the layers:\n  ${text}")
endif()
message(STATUS "${checked} objects, every include within the folders its folder may use")
