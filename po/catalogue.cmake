# The catalogue, for every build that holds the core (the desktop's and the
# web page's): msgfmt checks and compiles po/LANG.po, and the compiled files
# are built into a generated source of TARGET.
set(BITWELL_LANGUAGES de fr es pt_BR)
find_program(BITWELL_MSGFMT msgfmt REQUIRED)

function(bitwell_add_catalogue target)
  get_filename_component(po_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR} ABSOLUTE)
  set(mo_dir ${CMAKE_CURRENT_BINARY_DIR}/po)
  file(MAKE_DIRECTORY ${mo_dir})
  set(mo_files "")
  foreach(lang ${BITWELL_LANGUAGES})
    add_custom_command(
      OUTPUT ${mo_dir}/${lang}.mo
      COMMAND ${BITWELL_MSGFMT} --check --check-accelerators=& -o ${mo_dir}/${lang}.mo ${po_dir}/${lang}.po
      DEPENDS ${po_dir}/${lang}.po
      COMMENT "Compiling the ${lang} catalogue" VERBATIM)
    list(APPEND mo_files ${mo_dir}/${lang}.mo)
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/catalogue_data.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DMO_DIR=${mo_dir} "-DLANGUAGES=${BITWELL_LANGUAGES}"
            -P ${po_dir}/embed.cmake
    DEPENDS ${mo_files} ${po_dir}/embed.cmake VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
