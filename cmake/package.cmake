# The release package for panel authors, a zip made by CPack from the win32
# build:
#   cmake --build --preset win32 --target package
# It holds what an author installs or runs and nothing else: the module, the
# panel tool with the GLOBAL.DLL stand-in it finds beside itself, the example
# panel's INI file and tour script, and the guide with its picture. The programs are stripped
# of their debugging information; the import libraries of the two DLLs stay
# out, as only the RUNTIME files are installed.
install(TARGETS vorlanex_sound RUNTIME DESTINATION .)
install(TARGETS vorlanex-panel global_dll RUNTIME DESTINATION vorlanex-panel)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/console.png
        DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/examples/panel/Gauges/cabin_sounds.ini
        DESTINATION example/Gauges)
install(FILES ${PROJECT_SOURCE_DIR}/examples/panel/scripts/cabin_tour.txt
        DESTINATION example/scripts)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Vorlanex_sound)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_SYSTEM_NAME win32)
# The zip's name and its top folder; the tests look for it under this name.
set(VORLANEX_PACKAGE_NAME ${CPACK_PACKAGE_NAME}-${CPACK_PACKAGE_VERSION}-${CPACK_SYSTEM_NAME})
set(CPACK_PACKAGE_FILE_NAME ${VORLANEX_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Sound gauge for Microsoft Flight Simulator 2004 panels")
include(CPack)
