# Installs the build into a temporary prefix and checks that a desktop program's
# files are where a desktop and a shell find them.
set(prefix "${BUILD_DIR}/install-test")
file(REMOVE_RECURSE "${prefix}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${prefix}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
foreach(file
        bin/tolvimar
        bin/tolvimar-cli
        share/applications/tolvimar.desktop
        share/icons/hicolor/48x48/apps/tolvimar.png
        share/icons/hicolor/256x256/apps/tolvimar.png
        share/tolvimar/images/wozean.bmp
        share/tolvimar/images/wblank.bmp
        share/tolvimar/images/ozean.bmp
        share/tolvimar/images/blank.bmp
        share/metainfo/org.example.tolvimar.metainfo.xml
        share/man/man1/tolvimar.1.gz
        share/man/man1/tolvimar-cli.1.gz
        share/bash-completion/completions/tolvimar
        share/bash-completion/completions/tolvimar-cli
        share/doc/tolvimar/copyright)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "missing after install: ${file}")
    endif()
endforeach()
file(READ "${prefix}/share/applications/tolvimar.desktop" desktop)
if(NOT desktop MATCHES "Exec=tolvimar --standard-workspace")
    message(FATAL_ERROR "the desktop entry does not start the standard workspace")
endif()
file(REMOVE_RECURSE "${prefix}")
