# Windows-only targets: the window, the application shell and the editor itself.
add_library(zemlo_ui STATIC
  ui/about.cpp
  ui/accessible.cpp
  ui/announce.cpp
  ui/binding.cpp
  ui/commands.cpp
  ui/container.cpp
  ui/defaults.cpp
  ui/error_box.cpp
  ui/fonts.cpp
  ui/form_builder.cpp
  ui/glyphs.cpp
  ui/help.cpp
  ui/keyboard.cpp
  ui/labels.cpp
  ui/layout.cpp
  ui/main_window.cpp
  ui/message_box.cpp
  ui/ole.cpp
  ui/system_library.cpp)
target_link_libraries(zemlo_ui PUBLIC zemlo_settings zemlo_slider_math zemlo_jpeg comctl32 gdi32 user32 uuid)
target_include_directories(zemlo_ui PUBLIC ${CMAKE_BINARY_DIR}/generated)

# Resources shared by the editor and the window tests: icon, manifest, version.
set(ZEMLO_RC ${CMAKE_SOURCE_DIR}/ui/resources/app.rc)
set_source_files_properties(${ZEMLO_RC} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/ui/resources/app.manifest;${CMAKE_SOURCE_DIR}/ui/resources/zemlo.ico;${CMAKE_SOURCE_DIR}/ui/resources/about.jpg")

# The application shell: above the window, which knows nothing of it.
add_library(zemlo_app STATIC app/event_loop.cpp)
target_link_libraries(zemlo_app PUBLIC zemlo_ui)

add_executable(zemlo-config WIN32 app/main.cpp ${ZEMLO_RC})
target_link_libraries(zemlo-config PRIVATE zemlo_app)
# The link map tells what the exe holds: the release lists the notices by it.
target_link_options(zemlo-config PRIVATE -municode -s -Wl,--gc-sections
                    -Wl,-Map=${CMAKE_BINARY_DIR}/zemlo-config.map)
set_target_properties(zemlo-config PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
