# Creates a Firebird database file from a script, only when the file is missing: a database that
# already exists holds the user's data and is never touched.
#   cmake -DDATABASE=/path/QUIRU.GDB -DSCRIPT=db/main.sql -DISQL=/usr/bin/isql-fb -P make_database.cmake
if(EXISTS "${DATABASE}")
    return()
endif()
get_filename_component(dir "${DATABASE}" DIRECTORY)
file(MAKE_DIRECTORY "${dir}")
set(tmp "${DATABASE}.creating")
file(REMOVE "${tmp}")
set(wrapper "${DATABASE}.sql")
file(WRITE "${wrapper}"
    "SET SQL DIALECT 3;\nSET NAMES UTF8;\n"
    "CREATE DATABASE '${tmp}' USER 'SYSDBA' PASSWORD 'pelicanos' PAGE_SIZE 8192 DEFAULT CHARACTER SET UTF8;\n"
    "INPUT '${SCRIPT}';\nCOMMIT;\n")
if(NOT DEFINED ENV{FIREBIRD_LOCK})
    execute_process(COMMAND id -u OUTPUT_VARIABLE uid OUTPUT_STRIP_TRAILING_WHITESPACE)
    set(ENV{FIREBIRD_LOCK} "/tmp/quiru-firebird-${uid}")
endif()
execute_process(COMMAND "${ISQL}" -q -b -i "${wrapper}" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                ERROR_VARIABLE err)
file(REMOVE "${wrapper}")
if(NOT rc EQUAL 0)
    file(REMOVE "${tmp}")
    message(FATAL_ERROR "Could not create ${DATABASE} from ${SCRIPT}:\n${out}${err}")
endif()
# Built under another name and renamed, so an interrupted build never leaves half a database.
file(RENAME "${tmp}" "${DATABASE}")
