# Run by CPack after it made the Debian package: rebuilds it without the
# postinst and postrm scripts CPack wrote, which only call ldconfig. The
# package's libraries are private (in the program folder, opened by full
# path), so the shared library cache has nothing to learn from them.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  if(NOT deb MATCHES "\\.deb$")
    continue()
  endif()
  set(tree ${CPACK_TOPLEVEL_DIRECTORY}/noldconfig)
  file(REMOVE_RECURSE ${tree})
  execute_process(COMMAND dpkg-deb -R ${deb} ${tree} COMMAND_ERROR_IS_FATAL ANY)
  foreach(script postinst postrm)
    set(path ${tree}/DEBIAN/${script})
    if(EXISTS ${path})
      file(STRINGS ${path} commands REGEX "^[^#]")
      list(FILTER commands EXCLUDE REGEX "^[ \t]*(set -e|ldconfig|if|fi|then|$)")
      if(NOT commands STREQUAL "")
        message(FATAL_ERROR "${script} does more than call ldconfig: ${commands}")
      endif()
      file(REMOVE ${path})
    endif()
  endforeach()
  execute_process(COMMAND dpkg-deb --root-owner-group -Zxz --build ${tree} ${deb}
                  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
  file(REMOVE_RECURSE ${tree})
endforeach()
