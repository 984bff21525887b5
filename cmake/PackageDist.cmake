# cmake -DDIST=<program folder> -DSTAGE=<scratch folder> -DNAME=<folder in the zip>
#       -DZIP=<zip file> -DFILES=<paths in the program folder> -P PackageDist.cmake
# Run in STAGE. The files are linked (copied where links fail) into STAGE/NAME, then zipped.
file(REMOVE_RECURSE ${STAGE}/${NAME})
set(paths)
foreach(f IN LISTS FILES)
  if(NOT EXISTS ${DIST}/${f})
    message(FATAL_ERROR "${DIST}/${f} is missing from the program folder")
  endif()
  get_filename_component(dir ${STAGE}/${NAME}/${f} DIRECTORY)
  file(MAKE_DIRECTORY ${dir})
  file(CREATE_LINK ${DIST}/${f} ${STAGE}/${NAME}/${f} COPY_ON_ERROR)
  list(APPEND paths ${NAME}/${f})
endforeach()
file(REMOVE ${ZIP}.tmp)
file(ARCHIVE_CREATE OUTPUT ${ZIP}.tmp PATHS ${paths} FORMAT zip)
file(RENAME ${ZIP}.tmp ${ZIP})
