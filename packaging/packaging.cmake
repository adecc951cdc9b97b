# What a Windows user downloads: a portable zip per edition and one per-user
# installer carrying both programs, all under build/packages and named by
# the version numbers of packaging/versions.cmake:
#
#   cmake --build build --target packages
#
# The numbers also make the header that the version resources and the
# edition descriptions read, so the programs, the installer's uninstall
# entry and the file names cannot disagree.
include(${CMAKE_CURRENT_LIST_DIR}/versions.cmake)
set(KV_PACKAGING ${CMAKE_CURRENT_LIST_DIR})
set(KV_PACKAGES ${CMAKE_BINARY_DIR}/packages)

foreach(ed FULL LOW)
  string(REPLACE "." ";" parts ${KV_${ed}_VERSION})
  list(GET parts 0 KV_${ed}_MAJOR)
  list(GET parts 1 KV_${ed}_MINOR)
  list(GET parts 2 KV_${ed}_REVISION)
  set(KV_${ed}_QUAD ${KV_${ed}_VERSION}.${KV_${ed}_BUILD})
endforeach()
configure_file(${KV_PACKAGING}/edition_version.h.in ${KV_GENERATED}/edition_version.h @ONLY)
target_include_directories(korvanel_app PRIVATE ${KV_GENERATED})
set_property(SOURCE ${PROJECT_SOURCE_DIR}/src/editions/full/resources.rc
                    ${PROJECT_SOURCE_DIR}/src/editions/low/resources.rc
             APPEND PROPERTY OBJECT_DEPENDS ${KV_GENERATED}/edition_version.h)

# korvanel_portable_zip(program target title version): <program>-<version>-portable.zip
# holding the folder <program>\ with the program, Help\ and README.txt.
function(korvanel_portable_zip program target title version)
  set(name ${program}-${version}-portable)
  set(stage ${KV_GENERATED}/package-stage/${name})
  set(KV_README_TITLE ${title})
  set(KV_README_VERSION ${version})
  set(KV_README_FOLDER ${program})
  set(KV_README_EXE ${program}.exe)
  set(readme ${KV_GENERATED}/${name}-README.txt)
  configure_file(${KV_PACKAGING}/readme.txt.in ${readme} @ONLY NEWLINE_STYLE CRLF)
  add_custom_command(OUTPUT ${KV_PACKAGES}/${name}.zip
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_PACKAGES}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/${program}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${target}> ${stage}/${program}/${program}.exe
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${PROJECT_SOURCE_DIR}/help ${stage}/${program}/Help
    COMMAND ${CMAKE_COMMAND} -E copy ${readme} ${stage}/${program}/README.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage}
            ${CMAKE_COMMAND} -E tar cf ${KV_PACKAGES}/${name}.zip --format=zip ${program}
    DEPENDS ${target} ${KV_HELP_FILES} ${readme}
    COMMENT "Packing ${name}.zip"
    VERBATIM)
  set_property(GLOBAL APPEND PROPERTY KV_PACKAGE_FILES ${KV_PACKAGES}/${name}.zip)
endfunction()

korvanel_portable_zip(Korvanel korvanel_full "Korvanel" ${KV_FULL_VERSION})
korvanel_portable_zip(KorvanelLow korvanel_low "Korvanel Low-Resource Edition" ${KV_LOW_VERSION})

# korvanel_installer(output version quad [makensis options...]): the installer
# of both programs under the given version; the tests build an older one to
# upgrade from.
find_program(KV_MAKENSIS makensis)
function(korvanel_installer output version quad)
  set(script ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/korvanel.nsi)
  file(GLOB_RECURSE help CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
  add_custom_command(OUTPUT ${output}
    COMMAND ${KV_MAKENSIS} -V2 -DVERSION=${version} -DVERSION_QUAD=${quad}
            -DBIN=${CMAKE_BINARY_DIR}/bin -DHELP=${PROJECT_SOURCE_DIR}/help
            -DICON=${CMAKE_BINARY_DIR}/generated/korvanel.ico -DOUTFILE=${output} ${ARGN} ${script}
    DEPENDS korvanel_full korvanel_low korvanel_icon ${script} ${help}
    COMMENT "Making the installer ${output}"
    VERBATIM)
endfunction()

if(KV_MAKENSIS)
  set(KV_SETUP ${KV_PACKAGES}/Korvanel-${KV_FULL_VERSION}-setup.exe)
  korvanel_installer(${KV_SETUP} ${KV_FULL_VERSION} ${KV_FULL_QUAD})
  set_property(GLOBAL APPEND PROPERTY KV_PACKAGE_FILES ${KV_SETUP})
else()
  message(STATUS "makensis not found: the packages are the portable zips only")
endif()

# korvanel_msi(output version): the per-machine package, made with wixl
# (Debian's msitools) from korvanel.wxs.in; the tests build an older one to
# upgrade from.
find_program(KV_WIXL wixl)
function(korvanel_msi output version)
  set(KV_FULL_VERSION ${version})
  # wixl takes every source relative to the folder of the .wxs.
  file(RELATIVE_PATH KV_MSI_BIN ${KV_GENERATED} ${CMAKE_BINARY_DIR}/bin)
  file(RELATIVE_PATH KV_MSI_ICON ${KV_GENERATED} ${KV_GENERATED}/korvanel.ico)
  file(RELATIVE_PATH KV_MSI_MARKER ${KV_GENERATED} ${KV_PACKAGING}/DataFolder.txt)
  file(GLOB help_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*)
  set(KV_MSI_HELP_FILES "")
  set(n 0)
  foreach(path ${help_files})
    get_filename_component(name ${path} NAME)
    file(RELATIVE_PATH f ${KV_GENERATED} ${path})
    math(EXPR n "${n} + 1")
    string(APPEND KV_MSI_HELP_FILES "              <File Id=\"Help${n}\" Name=\"${name}\" Source=\"${f}\" />\n")
  endforeach()
  get_filename_component(stem ${output} NAME_WE)
  set(wxs ${KV_GENERATED}/${stem}.wxs)
  configure_file(${KV_PACKAGING}/korvanel.wxs.in ${wxs} @ONLY)
  add_custom_command(OUTPUT ${output}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KV_PACKAGES}
    COMMAND ${KV_WIXL} -a x64 -o ${output} ${wxs}
    DEPENDS korvanel_full korvanel_icon ${wxs} ${KV_PACKAGING}/DataFolder.txt ${help_files}
    COMMENT "Making the per-machine package ${output}"
    VERBATIM)
endfunction()

if(KV_WIXL)
  set(KV_MSI ${KV_PACKAGES}/Korvanel-${KV_FULL_VERSION}.msi)
  korvanel_msi(${KV_MSI} ${KV_FULL_VERSION})
  set_property(GLOBAL APPEND PROPERTY KV_PACKAGE_FILES ${KV_MSI})
else()
  message(STATUS "wixl not found: no per-machine package")
endif()

get_property(kv_package_files GLOBAL PROPERTY KV_PACKAGE_FILES)
add_custom_target(packages DEPENDS ${kv_package_files})
