# Delay-load import libraries of the system DLLs that the first window does
# not need (dialogs, COM): they load when first called. Made at configure
# time from the toolchain's own import libraries.
function(suite_delay_import var dll)
  set(lib /usr/${MINGW_TRIPLE}/lib/lib${dll}.a)
  set(out ${CMAKE_BINARY_DIR}/delay/lib${dll}_delay.a)
  if(NOT EXISTS ${out} OR ${lib} IS_NEWER_THAN ${out})
    execute_process(COMMAND sh ${PROJECT_SOURCE_DIR}/cmake/delay-import.sh ${MINGW_TRIPLE} ${lib} ${dll} ${out}
                    RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "cannot make the delay-load library of ${dll}")
    endif()
  endif()
  set(${var} ${out} PARENT_SCOPE)
endfunction()
