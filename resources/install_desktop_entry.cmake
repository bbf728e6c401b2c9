# Runs at install time, the one moment the prefix is known (it may be given
# only then: cmake --install --prefix DIR). Writes the desktop entry whose
# Exec starts the program installed under that prefix, and installs it.
# Given by the install rule: SUMWISE_DESKTOP_TEMPLATE, SUMWISE_DESKTOP_STAGING
# (a folder of the build tree), SUMWISE_APP_ID and SUMWISE_PROGRAM (the
# executable's file name).

# A staged install writes under DESTDIR, but the program will run from the
# prefix: Exec names the prefix alone; file(INSTALL) adds DESTDIR itself.
get_filename_component(_prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(_program "${_prefix}/bin/${SUMWISE_PROGRAM}")
if(_program MATCHES "[\n\r\t]")
  message(FATAL_ERROR "A desktop entry cannot start a program whose path holds a line break or tab: ${_program}")
endif()

# The Exec value: the path in double quotes, with \ " ` $ escaped for the
# quoting and % doubled (a single one starts a field code); then every \
# doubled again, since Exec is a string value, which has escapes of its own.
set(_arg "${_program}")
string(REPLACE "\\" "\\\\" _arg "${_arg}")
string(REPLACE "\"" "\\\"" _arg "${_arg}")
string(REPLACE "`" "\\`" _arg "${_arg}")
string(REPLACE "$" "\\$" _arg "${_arg}")
string(REPLACE "%" "%%" _arg "${_arg}")
set(SUMWISE_DESKTOP_EXEC "\"${_arg}\"")
string(REPLACE "\\" "\\\\" SUMWISE_DESKTOP_EXEC "${SUMWISE_DESKTOP_EXEC}")

set(_entry "${SUMWISE_DESKTOP_STAGING}/${SUMWISE_APP_ID}.desktop")
configure_file("${SUMWISE_DESKTOP_TEMPLATE}" "${_entry}" @ONLY)
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/share/applications" TYPE FILE FILES "${_entry}")
