# Run by CPack on the staging tree of each package, before the .deb files
# are written: adds what Debian asks of every package and `cmake --install`
# has no use for. Man pages are compressed (gzip -n, so the bytes do not
# depend on the time of the build); each package gets the copyright file
# and a changelog in /usr/share/doc/<package>, and the lintian overrides of
# packaging/ for the choices made on purpose.

string(TIMESTAMP changelog_date "%a, %d %b %Y %H:%M:%S +0000" UTC)

foreach(component IN LISTS CPACK_COMPONENTS_ALL)
  string(TOUPPER ${component} upper)
  set(package ${CPACK_DEBIAN_${upper}_PACKAGE_NAME})
  set(usr ${CPACK_TEMPORARY_DIRECTORY}/${component}${CPACK_PACKAGING_INSTALL_PREFIX})
  if(NOT IS_DIRECTORY ${usr})
    message(FATAL_ERROR "no staging tree for ${component} at ${usr}")
  endif()

  file(GLOB_RECURSE manuals ${usr}/share/man/*.[1-9])
  foreach(manual IN LISTS manuals)
    execute_process(COMMAND gzip -9nf ${manual} COMMAND_ERROR_IS_FATAL ANY)
  endforeach()

  set(doc ${usr}/share/doc/${package})
  file(MAKE_DIRECTORY ${doc})
  file(COPY ${CPACK_TABULO_SOURCE_DIR}/packaging/copyright DESTINATION ${doc})
  file(WRITE ${doc}/changelog
"${package} (${CPACK_PACKAGE_VERSION}) unstable; urgency=medium

  * Built from the Tabulo source tree.

 -- ${CPACK_PACKAGE_CONTACT}  ${changelog_date}
")
  execute_process(COMMAND gzip -9nf ${doc}/changelog COMMAND_ERROR_IS_FATAL ANY)

  set(overrides ${CPACK_TABULO_SOURCE_DIR}/packaging/${package}.lintian-overrides)
  if(EXISTS ${overrides})
    file(MAKE_DIRECTORY ${usr}/share/lintian/overrides)
    file(COPY_FILE ${overrides} ${usr}/share/lintian/overrides/${package})
  endif()
  file(CHMOD_RECURSE ${doc} FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
endforeach()
