# Installation: the program, its library of translation specs and maps,
# and the manual page qlx(1), which is built from doc/qlx.sgml with qlx
# itself and the library's docbook-man.ts.
#
# The library directory is <prefix>/share/sgml/otranspec
# (/usr/local/share/sgml/otranspec by default); qlx is compiled with it as
# its default library directory, so `qlx -t docbook-man.ts` finds the
# installed spec without -l or QLX_LIB.

include(GNUInstallDirs)

set(QLX_LIBRARY_DIR "${CMAKE_INSTALL_FULL_DATADIR}/sgml/otranspec")
target_compile_definitions(qlxcore PUBLIC QLX_DEFAULT_LIB_DIR="${QLX_LIBRARY_DIR}")

install(TARGETS qlx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

file(GLOB QLX_LIBRARY_FILES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/lib/*.ts ${PROJECT_SOURCE_DIR}/lib/*.sdata
     ${PROJECT_SOURCE_DIR}/lib/*.cmap ${PROJECT_SOURCE_DIR}/lib/*.dcl)
install(FILES ${QLX_LIBRARY_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/sgml/otranspec)

# The manual page needs onsgmls and the DocBook SGML DTD (Debian: opensp
# and docbook); without them it is neither built nor installed.
set(QLX_MAN_SOURCE ${PROJECT_SOURCE_DIR}/doc/qlx.sgml)
set(QLX_MAN_PAGE ${PROJECT_BINARY_DIR}/doc/qlx.1)
find_program(QLX_ONSGMLS onsgmls)
set(QLX_MAN_OK FALSE)
if(QLX_ONSGMLS)
  execute_process(COMMAND ${QLX_ONSGMLS} -s ${QLX_MAN_SOURCE}
                  RESULT_VARIABLE QLX_MAN_CHECK OUTPUT_QUIET ERROR_VARIABLE QLX_MAN_ERRORS)
  if(QLX_MAN_CHECK EQUAL 0)
    set(QLX_MAN_OK TRUE)
  else()
    message(WARNING "onsgmls cannot parse doc/qlx.sgml (is the DocBook SGML DTD, "
                    "Debian's docbook package, installed?): the manual page is not built.\n"
                    "${QLX_MAN_ERRORS}")
  endif()
else()
  message(WARNING "onsgmls not found: the manual page is not built")
endif()

if(QLX_MAN_OK)
  add_custom_command(
    OUTPUT ${QLX_MAN_PAGE}
    COMMAND ${CMAKE_COMMAND} -DONSGMLS=${QLX_ONSGMLS} -DQLX=$<TARGET_FILE:qlx>
            -DSOURCE=${QLX_MAN_SOURCE} -DLIBDIR=${PROJECT_SOURCE_DIR}/lib -DOUTPUT=${QLX_MAN_PAGE}
            -P ${PROJECT_SOURCE_DIR}/doc/build-man.cmake
    DEPENDS qlx ${QLX_MAN_SOURCE} ${PROJECT_SOURCE_DIR}/doc/build-man.cmake
            ${PROJECT_SOURCE_DIR}/lib/docbook-man.ts ${PROJECT_SOURCE_DIR}/lib/roff.sdata
            ${PROJECT_SOURCE_DIR}/lib/roff.cmap
    COMMENT "qlx(1): doc/qlx.sgml through onsgmls and qlx -t docbook-man.ts"
    VERBATIM)
  add_custom_target(manpage ALL DEPENDS ${QLX_MAN_PAGE})
  install(FILES ${QLX_MAN_PAGE} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
