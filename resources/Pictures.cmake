# SPDX-License-Identifier: GPL-3.0-or-later
# The pictures are drawn as SVG (make_pictures.py) and rendered here, once, at
# one and two device pixels per pixel, as raw pixels kept uncompressed in the
# program: at start-up it shows them as they lie, with no SVG to parse, no
# image to decode and no SVG library to load.
add_executable(render_picture ${CMAKE_CURRENT_LIST_DIR}/render_picture.cpp)
target_link_libraries(render_picture PRIVATE Qt6::Gui Qt6::Svg)

set(QUILLORA_PICTURES_DIR ${CMAKE_CURRENT_BINARY_DIR}/pictures)
set(quillora_pictures)

# render_picture(<drawing> <name in the program> <width> <height> <scales>...)
function(render_picture drawing name width height)
  foreach(scale IN LISTS ARGN)
    math(EXPR w "${width} * ${scale}")
    math(EXPR h "${height} * ${scale}")
    set(suffix "")
    if(NOT scale EQUAL 1)
      set(suffix "@${scale}x")
    endif()
    set(png ${QUILLORA_PICTURES_DIR}/${name}${suffix}.qpic)
    get_filename_component(dir ${png} DIRECTORY)
    add_custom_command(OUTPUT ${png}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
      COMMAND render_picture ${CMAKE_CURRENT_LIST_DIR}/${drawing} ${w} ${h} ${png}
      DEPENDS render_picture ${CMAKE_CURRENT_LIST_DIR}/${drawing}
      VERBATIM)
    list(APPEND quillora_pictures ${png})
  endforeach()
  set(quillora_pictures ${quillora_pictures} PARENT_SCOPE)
endfunction()

# Toolbar pictures: 480 twips, 32 pixels at the usual 96 dots per inch.
foreach(picture imgFileNewButton imgFileOpenButton imgFileSaveButton imgCutButton imgCopyButton imgPasteButton)
  render_picture(toolbar/${picture}Up.svg toolbar/${picture}Up 32 32 1 2)
  render_picture(toolbar/${picture}Dn.svg toolbar/${picture}Dn 32 32 1 2)
endforeach()
foreach(picture imgViewBtn imgPrintBtn)
  render_picture(toolbar/${picture}Up.svg toolbar/${picture}Up 32 32 1 2)
  render_picture(toolbar/${picture}Dwn.svg toolbar/${picture}Dwn 32 32 1 2)
endforeach()

# Flags at their pixel sizes in the status bar.
render_picture(flags/us.svg flags/us 53 27 1 2)
render_picture(flags/fr.svg flags/fr 46 27 1 2)
render_picture(flags/es.svg flags/es 52 32 1 2)
render_picture(flags/de.svg flags/de 53 27 1 2)
render_picture(flags/it.svg flags/it 46 27 1 2)

# Window icons, at the sizes a title bar, a task switcher and the About box ask
# for (IconSizes in resources/Pictures.h).
foreach(size 16 32 48)
  render_picture(icons/quillora.svg icons/quillora-${size} ${size} ${size} 1)
  render_picture(icons/document.svg icons/document-${size} ${size} ${size} 1)
endforeach()

qt_add_resources(quillora_ground quillora_pictures PREFIX "/" BASE ${QUILLORA_PICTURES_DIR}
  OPTIONS --no-compress FILES ${quillora_pictures})
