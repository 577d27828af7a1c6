# Builds the manual page: onsgmls -b utf-8 SOURCE | QLX -t docbook-man.ts > OUTPUT,
# with the spec and maps taken from the source library LIBDIR.  Any message
# of either program fails the build: the page must come out clean.
#   cmake -DONSGMLS=... -DQLX=... -DSOURCE=... -DLIBDIR=... -DOUTPUT=... -P build-man.cmake
get_filename_component(outdir ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${outdir})
execute_process(
  COMMAND ${ONSGMLS} -b utf-8 ${SOURCE}
  COMMAND ${QLX} -l ${LIBDIR} -t docbook-man.ts
  OUTPUT_FILE ${OUTPUT}.tmp
  ERROR_VARIABLE errors
  RESULTS_VARIABLE results)
if(NOT results STREQUAL "0;0" OR NOT errors STREQUAL "")
  file(REMOVE ${OUTPUT}.tmp)
  message(FATAL_ERROR "building ${OUTPUT} failed (exit statuses ${results}):\n${errors}")
endif()
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
