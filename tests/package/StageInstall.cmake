# cmake -DBUILD=<build tree> -DSTAGE=<folder> -P StageInstall.cmake
# A fresh folder each time: a file the install rules no longer write must not
# linger from an earlier run.
file(REMOVE_RECURSE ${STAGE})
set(ENV{DESTDIR} ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix /usr
                OUTPUT_QUIET RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "install into ${STAGE} failed")
endif()
# The program loads the office's libraries from its sibling folder
# lib/libreoffice, which on a real system is the office's own.
if(EXISTS /usr/lib/libreoffice)
  file(CREATE_LINK /usr/lib/libreoffice ${STAGE}/usr/lib/libreoffice SYMBOLIC)
endif()
