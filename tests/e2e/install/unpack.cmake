# Unpacks each portable zip of PACKAGES into a folder of its own name under
# OUT, as a user would before starting the program.
file(REMOVE_RECURSE ${OUT})
file(GLOB zips ${PACKAGES}/*-portable.zip)
if(NOT zips)
  message(FATAL_ERROR "no portable zip in ${PACKAGES}")
endif()
foreach(zip ${zips})
  get_filename_component(name ${zip} NAME)
  string(REGEX REPLACE "\\.zip$" "" name ${name})
  file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${OUT}/${name})
endforeach()
