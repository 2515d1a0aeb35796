# Installs the build into a temporary prefix and checks that a desktop program's
# files are where a desktop finds them.
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
        share/tolvimar/images/blank.bmp)
    if(NOT EXISTS "${prefix}/${file}")
        message(FATAL_ERROR "missing after install: ${file}")
    endif()
endforeach()
file(READ "${prefix}/share/applications/tolvimar.desktop" desktop)
if(NOT desktop MATCHES "Exec=tolvimar --standard-workspace")
    message(FATAL_ERROR "the desktop entry does not start the standard workspace")
endif()
file(REMOVE_RECURSE "${prefix}")
