# Installs the build into a fresh folder (its name holds a space and Japanese text) and checks what
# a user runs from: both programs in bin/, the icon as a PNG file, and a desktop entry naming the
# installed program and icon by their full paths.
# cmake -DBUILD_DIR=<build folder> -DPREFIX=<scratch folder> -P InstallTest.cmake

file(REMOVE_RECURSE "${PREFIX}")
set(prefix "${PREFIX}/ふみばこ app")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
                RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed:\n${output}")
endif()

set(icon "${prefix}/share/icons/hicolor/256x256/apps/fumibako.png")
set(entry "${prefix}/share/applications/fumibako.desktop")
foreach(file "${prefix}/bin/fumibako" "${prefix}/bin/fumibako-cli" "${icon}" "${entry}")
    if(NOT EXISTS "${file}")
        message(FATAL_ERROR "not installed: ${file}")
    endif()
endforeach()

file(READ "${icon}" signature LIMIT 8 HEX)
if(NOT signature STREQUAL "89504e470d0a1a0a")
    message(FATAL_ERROR "the icon is not a PNG file: ${icon}")
endif()

file(STRINGS "${entry}" lines ENCODING UTF-8)
foreach(expected "[Desktop Entry]" "Type=Application" "Name=ふみばこ"
        "Exec=\"${prefix}/bin/fumibako\"" "Icon=${icon}")
    list(FIND lines "${expected}" found)
    if(found EQUAL -1)
        message(FATAL_ERROR "the desktop entry lacks the line ${expected}:\n${lines}")
    endif()
endforeach()

# The installed command line runs from its folder.
execute_process(COMMAND "${prefix}/bin/fumibako-cli" --help RESULT_VARIABLE result
                OUTPUT_QUIET ERROR_VARIABLE output)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "the installed fumibako-cli does not run:\n${output}")
endif()

file(REMOVE_RECURSE "${PREFIX}")
