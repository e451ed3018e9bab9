# The program's resources: icon, manifest, version information and the layout
# pictures. Included by app/CMakeLists.txt in the cross tree. Defines
# TABULON_RC (the generated .rc file) and the target tabulon_pictures that
# makes the layout picture blobs.
set(_res ${CMAKE_SOURCE_DIR}/resources)
set(_out ${CMAKE_BINARY_DIR}/resources)
file(MAKE_DIRECTORY ${_out})

# resource name, picture file, picture kind
set(_pictures
  PIC_BG bg.png TPngGraphic
  PIC_LOGO logo.bmp TBitmap
  PIC_CLOSE_NORMAL close_normal.png TPngGraphic
  PIC_CLOSE_HIGHLIGHT close_highlight.png TPngGraphic
  PIC_CLOSE_DOWN close_down.png TPngGraphic
  PIC_MINI_NORMAL mini_normal.png TPngGraphic
  PIC_MINI_HIGHLIGHT mini_highlight.png TPngGraphic
  PIC_MINI_DOWN mini_down.png TPngGraphic
  PIC_APPTODESK apptodesk.bmp TBitmap
  PIC_ADDTODESK addtodesk.bmp TBitmap)

set(TABULON_PICTURE_LINES "")
set(_blobs "")
list(LENGTH _pictures _n)
math(EXPR _last "${_n} - 1")
foreach(_i RANGE 0 ${_last} 3)
  math(EXPR _j "${_i} + 1")
  math(EXPR _k "${_i} + 2")
  list(GET _pictures ${_i} _name)
  list(GET _pictures ${_j} _file)
  list(GET _pictures ${_k} _class)
  # The picture as drawn for 96 DPI, and its variants at 150 % and 200 %
  # (file and resource names end in _150 and _200).
  get_filename_component(_stem ${_file} NAME_WLE)
  get_filename_component(_ext ${_file} LAST_EXT)
  foreach(_variant "" _150 _200)
    set(_blob ${_out}/${_name}${_variant}.bin)
    set(_input ${_res}/pictures/${_stem}${_variant}${_ext})
    add_custom_command(OUTPUT ${_blob}
      COMMAND ${CMAKE_COMMAND} -DCLASS=${_class} -DINPUT=${_input}
              -DOUTPUT=${_blob} -P ${_res}/LayoutPicture.cmake
      DEPENDS ${_input} ${_res}/LayoutPicture.cmake
      VERBATIM)
    list(APPEND _blobs ${_blob})
    string(APPEND TABULON_PICTURE_LINES "${_name}${_variant} RCDATA \"${_blob}\"\n")
  endforeach()
endforeach()
add_custom_target(tabulon_pictures DEPENDS ${_blobs})

# The pages of site/ as HTML resources (type 23, RT_HTML), named by their
# file names in capitals: the panel shows them as res://<program>/<name>.
set(_pages B90d.htm B90a.htm B90b.htm)
set(TABULON_PAGE_LINES "")
set(TABULON_PAGES "")
foreach(_page ${_pages})
  string(TOUPPER ${_page} _name)
  list(APPEND TABULON_PAGES ${CMAKE_SOURCE_DIR}/site/${_page})
  string(APPEND TABULON_PAGE_LINES "${_name} 23 \"${CMAKE_SOURCE_DIR}/site/${_page}\"\n")
endforeach()

set(TABULON_ICON ${_res}/Tabulon.ico)
# Windows refuses to start a program whose manifest names another machine type
# (for itself or for Common Controls): the manifest and the version
# information say which build this is.
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(TABULON_MANIFEST_ARCH amd64)
  set(TABULON_FILE_DESCRIPTION "Tabulon (64-bit)")
else()
  set(TABULON_MANIFEST_ARCH x86)
  set(TABULON_FILE_DESCRIPTION "Tabulon (32-bit)")
endif()
set(TABULON_MANIFEST ${_out}/Tabulon.manifest)
configure_file(${_res}/Tabulon.manifest.in ${TABULON_MANIFEST} @ONLY)
set(TABULON_RC ${_out}/Tabulon.rc)
# Tests that build the main window link the same resources.
set_property(GLOBAL PROPERTY TABULON_RC ${TABULON_RC})
configure_file(${_res}/Tabulon.rc.in ${TABULON_RC} @ONLY)
set_source_files_properties(${TABULON_RC} PROPERTIES
  OBJECT_DEPENDS "${_blobs};${TABULON_PAGES};${TABULON_ICON};${TABULON_MANIFEST}")
