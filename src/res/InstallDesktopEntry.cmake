# Run by `cmake --install`: writes share/applications/fumibako.desktop with the full paths of the
# installed program and icon, so that the entry works wherever the folder was installed.
# Expects FUMIBAKO_DESKTOP_TEMPLATE, FUMIBAKO_BINDIR and FUMIBAKO_ICONDIR (relative to the prefix).

get_filename_component(prefix "${CMAKE_INSTALL_PREFIX}" ABSOLUTE)
set(program "${prefix}/${FUMIBAKO_BINDIR}/fumibako")
set(FUMIBAKO_DESKTOP_ICON "${prefix}/${FUMIBAKO_ICONDIR}/fumibako.png")

# The program quoted as the Exec key wants it: inside the quotes ", `, $ and \ are escaped with a
# backslash, and the backslash itself is doubled once more by the key's string escaping.
set(quoted "${program}")
string(REPLACE "\\" "\\\\\\\\" quoted "${quoted}")
foreach(char "\"" "`" "$")
    string(REPLACE "${char}" "\\\\${char}" quoted "${quoted}")
endforeach()
string(REPLACE "%" "%%" quoted "${quoted}")
set(FUMIBAKO_DESKTOP_EXEC "\"${quoted}\"")

set(entry "$ENV{DESTDIR}${prefix}/share/applications/fumibako.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${FUMIBAKO_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
