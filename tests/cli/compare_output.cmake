# Runs one command of dilatany-check and compares its exit status, standard
# output and standard error byte for byte with the expected ones. Set by the
# generated script that includes this one: command, working_directory,
# stdin (may be empty), expected_status, expected_out, expected_err (a file
# that need not exist: then nothing may be written to standard error), actual.
set(input_option)
if(stdin)
  set(input_option INPUT_FILE ${stdin})
endif()
execute_process(COMMAND ${command}
                WORKING_DIRECTORY ${working_directory}
                ${input_option}
                OUTPUT_FILE ${actual}.out
                ERROR_FILE ${actual}.err
                RESULT_VARIABLE status)

set(failed FALSE)
if(NOT status STREQUAL expected_status)
  message(SEND_ERROR "exit status ${status}, expected ${expected_status}")
  set(failed TRUE)
endif()
if(NOT EXISTS ${expected_err})
  set(expected_err ${actual}.no-err)
  file(WRITE ${expected_err} "")
endif()
foreach(stream out err)
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${expected_${stream}} ${actual}.${stream}
                  RESULT_VARIABLE different)
  if(different)
    file(READ ${actual}.${stream} got HEX)
    file(READ ${expected_${stream}} wanted HEX)
    message(SEND_ERROR "std${stream} differs from ${expected_${stream}}\n  got (hex):      ${got}\n  expected (hex): ${wanted}")
    set(failed TRUE)
  endif()
endforeach()
if(failed)
  string(JOIN " " shown ${command})
  message(FATAL_ERROR "command: ${shown}")
endif()
