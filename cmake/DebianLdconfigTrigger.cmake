# Run by CPack on the finished .deb files. CPack gives a package with a
# shared library maintainer scripts that call ldconfig; Debian instead asks
# for dpkg's ldconfig trigger, which runs it once for all packages of an
# installation. The package is unpacked, the two scripts (they hold nothing
# but that call) are replaced by the trigger, and it is packed again.

foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/ldconfig-trigger)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  if(EXISTS ${tree}/DEBIAN/postinst)
    foreach(script postinst postrm)
      file(STRINGS ${tree}/DEBIAN/${script} commands REGEX "^[ \t]*[a-z]")
      list(FILTER commands EXCLUDE REGEX "^[ \t]*(set -e|if \\[ \"\\$1\" = \"[a-z]+\" \\]; then|fi|ldconfig)$")
      if(commands)
        message(FATAL_ERROR "${script} of ${deb} does more than call ldconfig: ${commands}")
      endif()
      file(REMOVE ${tree}/DEBIAN/${script})
    endforeach()
    file(WRITE ${tree}/DEBIAN/triggers "activate-noawait ldconfig\n")
    execute_process(COMMAND dpkg-deb --root-owner-group -b ${tree} ${deb}
      OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE ${tree})
endforeach()
