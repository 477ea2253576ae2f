# Run by CPack on the staged tree before it packs it: strips the program
# as Debian's dh_strip does. CPACK_STRIP_FILES has already dropped the
# symbols; the compiler's .comment and any .note section go too.
set(program ${CPACK_TEMPORARY_DIRECTORY}/${CPACK_TESSALY_PROGRAM})
execute_process(COMMAND ${CPACK_TESSALY_STRIP} --remove-section=.comment --remove-section=.note ${program}
                RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "could not strip ${program}")
endif()
