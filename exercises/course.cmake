# The built-in course: every exercises/*.bwx, in the order of their names,
# embedded into one generated source. Include it and add
# ${BITWELL_COURSE_CPP} to a target (the core, and the web page's core).
get_filename_component(BITWELL_COURSE_DIR ${CMAKE_CURRENT_LIST_DIR} ABSOLUTE)
file(GLOB BITWELL_COURSE_FILES CONFIGURE_DEPENDS ${BITWELL_COURSE_DIR}/*.bwx)
list(SORT BITWELL_COURSE_FILES)
string(REPLACE ";" "|" bitwell_course_arg "${BITWELL_COURSE_FILES}")
set(BITWELL_COURSE_CPP ${CMAKE_CURRENT_BINARY_DIR}/BuiltinExercises.cpp)
add_custom_command(
  OUTPUT ${BITWELL_COURSE_CPP}
  COMMAND ${CMAKE_COMMAND} -DOUT=${BITWELL_COURSE_CPP} "-DFILES=${bitwell_course_arg}"
          -P ${BITWELL_COURSE_DIR}/embed.cmake
  DEPENDS ${BITWELL_COURSE_FILES} ${BITWELL_COURSE_DIR}/embed.cmake
  COMMENT "Embedding the built-in course" VERBATIM)
