# The drawings of the calculation windows, and how a build without Qt SVG gets
# them as PNG images: rendered from the very same SVG files by a small host tool
# that uses the build machine's own Qt SVG.
set(DILATANY_DRAWINGS uloop.svg lbend.svg)

# The picture area of the calculation windows in pixels at 100 % scaling, and
# the factor the images are rendered at: 2 keeps them sharp at 200 %.
set(DILATANY_DRAWING_AREA_WIDTH 288)
set(DILATANY_DRAWING_AREA_HEIGHT 208)
set(DILATANY_DRAWING_SCALE 2)

function(_dilatany_drawing_renderer out_var)
  if(TARGET dilatany-render-drawing OR TARGET dilatany_render_drawing_host)
    # Already set up by an earlier call.
  elseif(CMAKE_CROSSCOMPILING)
    # The program's compiler makes no programs for this machine: a separate
    # host build with the machine's compiler and Qt.
    include(ExternalProject)
    if(NOT DEFINED DILATANY_HOST_QT6_DIR)
      if(DEFINED QT_HOST_PATH_CMAKE_DIR)
        set(DILATANY_HOST_QT6_DIR "${QT_HOST_PATH_CMAKE_DIR}/Qt6")
      else()
        set(DILATANY_HOST_QT6_DIR "/usr/lib/${CMAKE_LIBRARY_ARCHITECTURE}/cmake/Qt6")
      endif()
    endif()
    ExternalProject_Add(dilatany_render_drawing_host
      SOURCE_DIR "${PROJECT_SOURCE_DIR}/tools/render-drawing"
      BINARY_DIR "${PROJECT_BINARY_DIR}/host/render-drawing"
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DQt6_DIR=${DILATANY_HOST_QT6_DIR}
                 -DCMAKE_CXX_COMPILER=c++
      INSTALL_COMMAND ""
      BUILD_BYPRODUCTS "${PROJECT_BINARY_DIR}/host/render-drawing/dilatany-render-drawing")
  else()
    find_package(Qt6 REQUIRED COMPONENTS Gui Svg)
    add_executable(dilatany-render-drawing "${PROJECT_SOURCE_DIR}/tools/render-drawing/main.cpp")
    target_link_libraries(dilatany-render-drawing PRIVATE Qt6::Gui Qt6::Svg dilatany_warnings)
  endif()
  if(CMAKE_CROSSCOMPILING)
    set(${out_var} "${PROJECT_BINARY_DIR}/host/render-drawing/dilatany-render-drawing"
        dilatany_render_drawing_host PARENT_SCOPE)
  else()
    set(${out_var} $<TARGET_FILE:dilatany-render-drawing> dilatany-render-drawing PARENT_SCOPE)
  endif()
endfunction()

# Renders each drawing into <binary dir>/drawings-<target>/NAME.png and puts the
# images into the target's resources as :/drawings/NAME.png.
function(dilatany_add_drawing_images target)
  _dilatany_drawing_renderer(renderer)
  list(GET renderer 0 renderer_command)
  list(GET renderer 1 renderer_target)
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/drawings-${target}")
  set(images)
  foreach(svg IN LISTS DILATANY_DRAWINGS)
    get_filename_component(name "${svg}" NAME_WE)
    set(png "${out_dir}/${name}.png")
    add_custom_command(OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${out_dir}"
      COMMAND "${renderer_command}" "${CMAKE_CURRENT_SOURCE_DIR}/${svg}" "${png}"
              ${DILATANY_DRAWING_AREA_WIDTH} ${DILATANY_DRAWING_AREA_HEIGHT} ${DILATANY_DRAWING_SCALE}
      DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${svg}" ${renderer_target}
      COMMENT "Rendering ${svg} into ${name}.png"
      VERBATIM)
    set_source_files_properties("${png}" PROPERTIES QT_RESOURCE_ALIAS "${name}.png" GENERATED TRUE)
    list(APPEND images "${png}")
  endforeach()
  qt_add_resources(${target} "drawing_images_${target}"
    PREFIX "/drawings"
    FILES ${images})
endfunction()
