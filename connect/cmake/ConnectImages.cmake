# Draws connect's images from imagegen/images.txt at build time and compiles them
# into the object library connect_images (the ":/img/..." resources). A cross build takes
# the drawing program of a native build (CONNECT_HOST_IMAGEGEN).
if(CMAKE_CROSSCOMPILING)
  set(CONNECT_HOST_IMAGEGEN "" CACHE FILEPATH "connect_imagegen of a native build")
  if(NOT EXISTS "${CONNECT_HOST_IMAGEGEN}")
    message(FATAL_ERROR "CONNECT_HOST_IMAGEGEN names no native connect_imagegen: '${CONNECT_HOST_IMAGEGEN}'")
  endif()
  add_executable(connect_imagegen IMPORTED)
  set_target_properties(connect_imagegen PROPERTIES IMPORTED_LOCATION ${CONNECT_HOST_IMAGEGEN})
else()
  add_executable(connect_imagegen imagegen/main.cpp imagegen/ImageDrawing.cpp)
  target_link_libraries(connect_imagegen PRIVATE Qt5::Gui)
endif()

set(connect_images_dir ${CMAKE_CURRENT_BINARY_DIR}/images)
set(connect_images_manifest ${CMAKE_CURRENT_SOURCE_DIR}/imagegen/images.txt)
set(connect_images_cpp ${CMAKE_CURRENT_BINARY_DIR}/qrc_connect_images.cpp)

add_custom_command(
  OUTPUT ${connect_images_dir}/images.qrc
  COMMAND ${CMAKE_COMMAND} -E env ${CONNECT_RUN_ENVIRONMENT}
          $<TARGET_FILE:connect_imagegen> ${connect_images_manifest} ${connect_images_dir}
  DEPENDS connect_imagegen ${CONNECT_HOST_IMAGEGEN} ${connect_images_manifest}
  COMMENT "Drawing connect's images")

add_custom_command(
  OUTPUT ${connect_images_cpp}
  COMMAND Qt5::rcc -name connect_images -o ${connect_images_cpp} ${connect_images_dir}/images.qrc
  DEPENDS ${connect_images_dir}/images.qrc
  COMMENT "Compiling connect's image resources")

add_library(connect_images OBJECT ${connect_images_cpp})
target_link_libraries(connect_images PRIVATE Qt5::Core)
