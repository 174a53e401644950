# A Linux program lives in a folder of its own, because tarvo reads its welcome
# picture from beside itself; the command search path reaches it through a
# relative link in bin, which stays right under any prefix and DESTDIR.
set(TARVO_PROGRAM_DIR lib/tarvo)

function(tarvo_install_program target)
  install(TARGETS ${target} RUNTIME DESTINATION ${TARVO_PROGRAM_DIR})
  set(link ${CMAKE_CURRENT_BINARY_DIR}/bin-link/${target})
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/bin-link)
  file(CREATE_LINK ../${TARVO_PROGRAM_DIR}/${target} ${link} SYMBOLIC)
  install(FILES ${link} DESTINATION bin)
endfunction()
