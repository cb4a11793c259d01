# The catalogue, for every build that holds the core (the desktop's and the
# web page's): msgfmt checks and compiles po/LANG.po, and the compiled files
# are built into a generated source of TARGET.
#   bitwell_add_catalogue(TARGET [LEAVE_OUT CONTEXT…])
# LEAVE_OUT names contexts whose texts TARGET never shows (the page has no
# command line): msggrep takes them out before compiling.
set(BITWELL_LANGUAGES de fr es pt_BR)
find_program(BITWELL_MSGFMT msgfmt REQUIRED)
find_program(BITWELL_MSGGREP msggrep REQUIRED)

function(bitwell_add_catalogue target)
  cmake_parse_arguments(PARSE_ARGV 1 arg "" "" "LEAVE_OUT")
  get_filename_component(po_dir ${CMAKE_CURRENT_FUNCTION_LIST_DIR} ABSOLUTE)
  set(mo_dir ${CMAKE_CURRENT_BINARY_DIR}/po)
  file(MAKE_DIRECTORY ${mo_dir})
  set(mo_files "")
  foreach(lang ${BITWELL_LANGUAGES})
    set(po ${po_dir}/${lang}.po)
    set(kept "")
    if(arg_LEAVE_OUT)
      list(JOIN arg_LEAVE_OUT "|" contexts)
      set(po ${mo_dir}/${lang}.po)
      set(kept COMMAND ${BITWELL_MSGGREP} --invert-match --msgctxt --extended-regexp
                       --regexp=^\(${contexts}\)$ -o ${po} ${po_dir}/${lang}.po)
    endif()
    add_custom_command(
      OUTPUT ${mo_dir}/${lang}.mo
      ${kept}
      COMMAND ${BITWELL_MSGFMT} --check --check-accelerators=& -o ${mo_dir}/${lang}.mo ${po}
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
