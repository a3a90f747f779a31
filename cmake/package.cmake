# The release package for panel authors, a zip made by CPack from the win32
# build:
#   cmake --build --preset win32 --target package
# It holds what an author installs or runs and nothing else: the module, the
# panel tool with the GLOBAL.DLL stand-in it finds beside itself, the example
# aircraft whole with its artwork, and the guide with its picture. The programs are stripped
# of their debugging information; the import libraries of the two DLLs stay
# out, as only the RUNTIME files are installed.
install(TARGETS vorlanex_sound RUNTIME DESTINATION .)
install(TARGETS vorlanex-panel global_dll RUNTIME DESTINATION vorlanex-panel)
install(FILES ${PROJECT_SOURCE_DIR}/docs/guide.md ${PROJECT_SOURCE_DIR}/docs/console.png
        ${PROJECT_SOURCE_DIR}/docs/console-panel.png DESTINATION .)

# The example is a simulator's root folder of its own, so the guide's commands
# run in it as printed: the aircraft's panel.cfg with its folder of gauges, the
# INI file and the tour scripts from examples/, the cabinet packed at build
# time, the module where the simulator finds it, and the WAV files written by
# our own make_example_sounds (under the cross build's emulator).
set(example_sounds ${CMAKE_BINARY_DIR}/example-sounds)
set(example_sound_files)
foreach(sound chime fan door seatbelt door_open door_close relay engine)
  list(APPEND example_sound_files ${example_sounds}/Sound/Cabin/${sound}.wav)
endforeach()
add_custom_command(OUTPUT ${example_sound_files}
  COMMAND make_example_sounds ${example_sounds}
  DEPENDS make_example_sounds
  COMMENT "Writing the example's WAV files"
  VERBATIM)
add_custom_target(example_sounds ALL DEPENDS ${example_sound_files})
# Its artwork, drawn by make_example_images: the windows' backgrounds beside
# panel.cfg and the images of the folder's gauges beside them (the cabinet's
# are packed in it).
set(example_images ${CMAKE_BINARY_DIR}/example-images)
set(example_image_files ${example_images}/Aircraft/Cabin/panel/main_panel.bmp
                        ${example_images}/Aircraft/Cabin/panel/door_panel.bmp)
foreach(image chime_button chime_button_lit chime_button_down battery_switch battery_switch_off
              battery_switch_on sound_off sound_off_lit tachometer tachometer_needle volume_readout)
  list(APPEND example_image_files ${example_images}/Aircraft/Cabin/panel/Cabin/${image}.bmp)
endforeach()
add_custom_command(OUTPUT ${example_image_files}
  COMMAND make_example_images ${example_images}
  DEPENDS make_example_images
  COMMENT "Drawing the example's images"
  VERBATIM)
add_custom_target(example_images ALL DEPENDS ${example_image_files})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/examples/panel/ DESTINATION example)
install(DIRECTORY ${example_images}/ DESTINATION example)
install(FILES ${CMAKE_BINARY_DIR}/example-cabinet/cabin_switches.cab DESTINATION example/Gauges)
install(TARGETS vorlanex_sound RUNTIME DESTINATION example/Gauges)
install(FILES ${example_sound_files} DESTINATION example/Sound/Cabin)

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
