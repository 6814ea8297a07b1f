# A layer is one folder of sources compiled into one static library. Sources are globbed so
# that adding a unit to a layer needs no edit here; CONFIGURE_DEPENDS re-globs on each build.
#
# A layer exports an include root of its own, a build-tree folder that holds only a link to
# the layer's source folder under the layer's path ("foundation/X.h",
# "Shared/Windows/MFC/Dialogs/X.h"): a unit sees the layers its target links and no other
# folder of the repository.
function(tsr_add_layer name dir)
  file(GLOB sources CONFIGURE_DEPENDS ${dir}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    set(kind PUBLIC)
  else()
    add_library(${name} INTERFACE)
    set(kind INTERFACE)
  endif()
  file(RELATIVE_PATH path ${PROJECT_SOURCE_DIR} ${dir})
  set(root ${PROJECT_BINARY_DIR}/include-roots/${name})
  set(link ${root}/${path})
  if(NOT IS_SYMLINK ${link})
    get_filename_component(parent ${link} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    file(CREATE_LINK ${dir} ${link} RESULT failed SYMBOLIC)
    if(failed)
      message(FATAL_ERROR "Cannot link ${link} to ${dir} (${failed}); the layers' include roots need symbolic links")
    endif()
  endif()
  target_include_directories(${name} ${kind} ${root})
  cmake_parse_arguments(arg "" "" "LINKS;PRIVATE_LINKS" ${ARGN})
  if(arg_LINKS)
    target_link_libraries(${name} ${kind} ${arg_LINKS})
  endif()
  if(arg_PRIVATE_LINKS AND sources)
    target_link_libraries(${name} PRIVATE ${arg_PRIVATE_LINKS})
  endif()
endfunction()
