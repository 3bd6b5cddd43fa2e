# Type libraries for OLE control libraries, made with widl from our .idl.
#
# qv_typelib(<target> <idl>) compiles <idl> into <name>.tlb, <name>.h (interface
# declarations) and <name>_i.c (GUID definitions) in the current binary folder,
# adds the GUIDs to <target> and puts the folder on its include path so the .rc
# can embed the library with `1 TYPELIB "<name>.tlb"`.
# Any widl warning fails the build: widl's "duplicate uuid" warning comes with
# a corrupt LIBID in the .tlb.
#
# Run as a script (cmake -P) this file is the widl step itself.
if(CMAKE_SCRIPT_MODE_FILE)
  foreach(mode t h u)
    execute_process(COMMAND ${WIDL} -m32 -I${IDL_DIR} -L${TLB_DIR} -${mode} -o ${OUT_${mode}} ${IDL}
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR out MATCHES "warning")
      message(FATAL_ERROR "widl -${mode} ${IDL}:\n${out}")
    endif()
  endforeach()
  return()
endif()

set(QV_OLE_SCRIPT ${CMAKE_CURRENT_LIST_FILE})

function(qv_typelib target idl)
  get_filename_component(name ${idl} NAME_WE)
  get_filename_component(idl_abs ${idl} ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR})
  find_program(QV_WIDL NAMES i686-w64-mingw32-widl widl REQUIRED)
  add_custom_command(
    OUTPUT ${out}/${name}.tlb ${out}/${name}.h ${out}/${name}_i.c
    COMMAND ${CMAKE_COMMAND} -DWIDL=${QV_WIDL} -DIDL=${idl_abs}
            -DIDL_DIR=/usr/include/wine/wine/windows
            -DTLB_DIR=/usr/lib/i386-linux-gnu/wine/i386-windows
            -DOUT_t=${out}/${name}.tlb -DOUT_h=${out}/${name}.h -DOUT_u=${out}/${name}_i.c
            -P ${QV_OLE_SCRIPT}
    DEPENDS ${idl_abs} ${QV_OLE_SCRIPT}
    COMMENT "widl ${name}.idl"
    VERBATIM)
  add_custom_target(${target}_typelib DEPENDS ${out}/${name}.tlb ${out}/${name}.h)
  add_dependencies(${target} ${target}_typelib)
  target_sources(${target} PRIVATE ${out}/${name}_i.c)
  target_include_directories(${target} PRIVATE ${out})
  # windres reads the .tlb through the include path; make it rebuild with it.
  set_property(SOURCE ${ARGN} APPEND PROPERTY OBJECT_DEPENDS ${out}/${name}.tlb)
endfunction()
