# The layers of the code as the build sees them: the core libraries and the
# command-line program link no QtWidgets, and the window parts (widgets) do
# not reach up into the windows (app). The sources keep the same order in
# their includes. A link or an include that breaks this fails the configure
# step, before anything is compiled.

# Every target that `target` links, directly or through the libraries it
# links. Imported targets (Qt, libzip) are named but not entered.
function(trovex_linked_targets target result)
  set(seen "")
  set(queue ${target})
  while(queue)
    list(POP_FRONT queue current)
    if(current IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${current})
    if(NOT TARGET ${current})
      continue()
    endif()
    get_target_property(aliased ${current} ALIASED_TARGET)
    if(aliased)
      list(APPEND queue ${aliased})
      continue()
    endif()
    get_target_property(imported ${current} IMPORTED)
    if(imported)
      continue()
    endif()
    get_target_property(type ${current} TYPE)
    set(properties INTERFACE_LINK_LIBRARIES)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      list(APPEND properties LINK_LIBRARIES)
    endif()
    foreach(property ${properties})
      get_target_property(links ${current} ${property})
      if(NOT links)
        continue()
      endif()
      foreach(link ${links})
        # A static library's private links reach its users as $<LINK_ONLY:x>.
        string(REGEX REPLACE "^\\$<LINK_ONLY:(.+)>$" "\\1" link "${link}")
        if(NOT link MATCHES "\\$<")
          list(APPEND queue ${link})
        endif()
      endforeach()
    endforeach()
  endwhile()
  list(REMOVE_ITEM seen ${target})
  set(${result} ${seen} PARENT_SCOPE)
endfunction()

# Fails when `target` (if it exists) links any of the forbidden targets.
function(trovex_forbid_links target)
  if(NOT TARGET ${target})
    return()
  endif()
  trovex_linked_targets(${target} links)
  foreach(forbidden ${ARGN})
    if(forbidden IN_LIST links)
      set_property(GLOBAL APPEND PROPERTY TROVEX_LAYER_ERRORS "${target} links ${forbidden}")
    endif()
  endforeach()
endfunction()

# The folders of src/, lowest first: a source includes headers of its own
# folder and of the folders below it, never of one above. A link check alone
# misses an include of a header whose code is inline or not yet called, and
# that is how a layer starts to lean on the one above it.
set(TROVEX_LAYER_ORDER textio platform database indexing search viewer lists filelist widgets app
    cli)

# Notes every `"folder/..."` include of a source of `layer` that names a
# folder the layer may not use: one above it, or one of the further folders
# or header paths (such as platform/qt_prompts.h) given after `layer`.
function(trovex_check_includes layer)
  set(src ${CMAKE_SOURCE_DIR}/src)
  list(FIND TROVEX_LAYER_ORDER ${layer} own)
  file(GLOB_RECURSE sources ${src}/${layer}/*.h ${src}/${layer}/*.cpp)
  foreach(source ${sources})
    file(STRINGS ${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[A-Za-z0-9_]+/")
    file(RELATIVE_PATH shown ${CMAKE_SOURCE_DIR} ${source})
    foreach(line ${includes})
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*" "\\1" header "${line}")
      string(REGEX REPLACE "/.*" "" folder "${header}")
      list(FIND TROVEX_LAYER_ORDER ${folder} index)
      if(index GREATER own OR folder IN_LIST ARGN OR header IN_LIST ARGN)
        set_property(GLOBAL APPEND PROPERTY TROVEX_LAYER_ERRORS "${shown} includes ${header}")
      endif()
    endforeach()
  endforeach()
endfunction()

function(trovex_check_layers)
  set_property(GLOBAL PROPERTY TROVEX_LAYER_ERRORS "")

  # The headers of the seams' real implementations, which need widgets.
  set(windowing_headers "")
  if(TARGET trovex_platform_gui)
    get_target_property(gui_sources trovex_platform_gui SOURCES)
    foreach(gui_source ${gui_sources})
      get_filename_component(name ${gui_source} NAME)
      if(name MATCHES "\\.h$")
        list(APPEND windowing_headers platform/${name})
      endif()
    endforeach()
  endif()
  foreach(layer ${TROVEX_LAYER_ORDER})
    if(layer STREQUAL "widgets" OR layer STREQUAL "app")
      trovex_check_includes(${layer})
    else()
      trovex_check_includes(${layer} widgets app ${windowing_headers})
    endif()
  endforeach()

  set(windowing Qt6::Widgets Qt::Widgets trovex_platform_gui trovex_widgets trovex_app)
  foreach(target trovex_textio trovex_jobs trovex_platform trovex_database trovex_indexing trovex_search
                 trovex_viewer trovex_lists trovex_filelist trovex)
    trovex_forbid_links(${target} ${windowing})
  endforeach()
  trovex_forbid_links(trovex_widgets trovex_app)
  get_property(errors GLOBAL PROPERTY TROVEX_LAYER_ERRORS)
  if(errors)
    list(JOIN errors "\n  " text)
    message(FATAL_ERROR "The layers do not hold:\n  ${text}")
  endif()
endfunction()
