# Runs the frame writer into OUT and checks that every file in FILES equals the
# one shipped in SHIPPED.
file(REMOVE_RECURSE "${OUT}")
execute_process(COMMAND "${WRITER}" "${OUT}" RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the frame writer failed: ${result}")
endif()
foreach(file IN LISTS FILES)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${OUT}/${file}" "${SHIPPED}/${file}"
                  RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "${file} differs from what the writer makes now; run the target make_default_frames")
  endif()
endforeach()
