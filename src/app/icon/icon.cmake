# The program icon and the help pages, beside the two programs.
#
# The icon is drawn by the same code as the main window's pictures, through
# the core rasteriser: a small tool built with the build machine's own
# compiler renders the emblem at every size and writes
# build/generated/korvanel.ico, which each edition's resource script names
# as icon 1.
find_program(KORVANEL_HOST_CXX NAMES g++ c++ clang++ REQUIRED)
set(KV_GENERATED ${CMAKE_BINARY_DIR}/generated)
set(KV_ICON ${KV_GENERATED}/korvanel.ico)
set(KV_MAKE_ICON ${KV_GENERATED}/make_icon)
set(KV_ICON_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/make_icon.cpp
  ${PROJECT_SOURCE_DIR}/src/core/raster.cpp
  ${PROJECT_SOURCE_DIR}/src/controls/art/drawings.cpp)
add_custom_command(OUTPUT ${KV_MAKE_ICON}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_GENERATED}
  COMMAND ${KORVANEL_HOST_CXX} -std=c++20 -O2 -I${PROJECT_SOURCE_DIR}/src ${KV_ICON_SOURCES} -o ${KV_MAKE_ICON}
  DEPENDS ${KV_ICON_SOURCES} ${PROJECT_SOURCE_DIR}/src/core/raster.h ${PROJECT_SOURCE_DIR}/src/controls/art/drawings.h
  COMMENT "Building the icon generator")
add_custom_command(OUTPUT ${KV_ICON}
  COMMAND ${KV_MAKE_ICON} ${KV_ICON}
  DEPENDS ${KV_MAKE_ICON}
  COMMENT "Drawing korvanel.ico")
add_custom_target(korvanel_icon DEPENDS ${KV_ICON})

foreach(program korvanel_full korvanel_low)
  add_dependencies(${program} korvanel_icon)
  target_include_directories(${program} PRIVATE ${KV_GENERATED})
endforeach()
set_source_files_properties(
  ${PROJECT_SOURCE_DIR}/src/editions/full/resources.rc
  ${PROJECT_SOURCE_DIR}/src/editions/low/resources.rc
  PROPERTIES OBJECT_DEPENDS ${KV_ICON})

# Help\ beside the programs: the Help command opens Help\index.html.
file(GLOB_RECURSE KV_HELP_FILES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
set(KV_HELP_STAMP ${KV_GENERATED}/help.stamp)
add_custom_command(OUTPUT ${KV_HELP_STAMP}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/help ${CMAKE_BINARY_DIR}/bin/Help
  COMMAND ${CMAKE_COMMAND} -E touch ${KV_HELP_STAMP}
  DEPENDS ${KV_HELP_FILES}
  COMMENT "Copying the help pages to bin/Help")
add_custom_target(korvanel_help ALL DEPENDS ${KV_HELP_STAMP})

# The message table of the event source: the event viewer finds each event
# id's message in the program named by the source's EventMessageFile.
find_program(KV_WINDMC NAMES ${CMAKE_RC_COMPILER_TARGET}windmc x86_64-w64-mingw32-windmc windmc)
set(KV_EVENTS_DIR ${KV_GENERATED}/events)
set(KV_EVENTS_MC ${PROJECT_SOURCE_DIR}/src/app/events/events.mc)
if(KV_WINDMC)
  add_custom_command(OUTPUT ${KV_EVENTS_DIR}/events.rc ${KV_EVENTS_DIR}/MSG00409.bin
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_EVENTS_DIR}
    COMMAND ${KV_WINDMC} -h ${KV_EVENTS_DIR} -r ${KV_EVENTS_DIR} ${KV_EVENTS_MC}
    DEPENDS ${KV_EVENTS_MC}
    COMMENT "Compiling the event message table")
else()
  # Without a message compiler the programs carry no table: the viewer then
  # shows each event's text without a message of its own around it.
  file(WRITE ${KV_EVENTS_DIR}/events.rc "")
endif()
add_custom_target(korvanel_events DEPENDS ${KV_EVENTS_DIR}/events.rc)
foreach(program korvanel_full korvanel_low)
  add_dependencies(${program} korvanel_events)
  target_include_directories(${program} PRIVATE ${KV_EVENTS_DIR})
endforeach()
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/editions/full/resources.rc
                    ${PROJECT_SOURCE_DIR}/src/editions/low/resources.rc
             APPEND PROPERTY OBJECT_DEPENDS ${KV_EVENTS_DIR}/events.rc)
