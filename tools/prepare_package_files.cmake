# Run by CPack on the staged files of each package (CPACK_PRE_BUILD_SCRIPTS).
# Every folder gets rwxr-xr-x whatever the umask of the build, as packages
# must. For the .deb it compresses the manual page and the changelog with
# gzip -9n as Debian's policy asks: no name and no time stamp in the
# stream, so the bytes depend on the content alone; the other packages keep
# them plain. Those files come from CPACK_VARISIFT_DEB_COMPRESSED, relative
# to the package's prefix.
file(GLOB_RECURSE staged_folders LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(path ${staged_folders})
  if(IS_DIRECTORY "${path}")
    file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ
                                     WORLD_EXECUTE)
  endif()
endforeach()

if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()
foreach(document ${CPACK_VARISIFT_DEB_COMPRESSED})
  set(staged "${CPACK_TEMPORARY_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}/${document}")
  if(NOT EXISTS "${staged}")
    message(FATAL_ERROR "${document} is not among the staged files of the .deb")
  endif()
  execute_process(COMMAND "${CPACK_VARISIFT_GZIP}" -9nf "${staged}" RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip -9n ${staged} failed (${status})")
  endif()
endforeach()
