# Fails, saying how to bring it up to date, when the stored layout the Windows
# build embeds (CHECKED_IN) is not the one tools/layoutbuilder makes from the
# artwork (BUILT):
#   cmake -DBUILT=build/app/TFrmMain.dfm -DCHECKED_IN=packaging/windows/TFrmMain.dfm -P CompareLayout.cmake
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files "${BUILT}" "${CHECKED_IN}" RESULT_VARIABLE differ)
if(differ)
  message(FATAL_ERROR "${CHECKED_IN} is not the layout the artwork makes; the Windows build embeds it, "
                      "so copy the new one there: cp ${BUILT} ${CHECKED_IN}")
endif()
