# zu_add_resources(<target> <manifest> [DATA_DIR <dir>] [DEPENDS <file or target>...])
#
# DEPENDS names the steps that make the data when the build makes it; given, they replace the
# manifest's files as what the embedding waits for.
# Compiles the resources a manifest names into <target>: each line `NAME TYPE "file"` (TYPE one
# of BITMAP, WAVE, RCDATA, ICON; the file relative to DATA_DIR, by default the manifest's folder)
# becomes an entry of platform::programResources(), replacing the empty default of zu::zumain.
# The window takes its icon from the ICON named MAIN; zuDraw::LoadObject and zuSound::LoadObject
# find a BITMAP or WAVE by name. Lines starting with # or // are comments.
function(zu_add_resources target manifest)
  cmake_parse_arguments(PARSE_ARGV 2 ARG "" "DATA_DIR" "DEPENDS")
  get_filename_component(manifest "${manifest}" ABSOLUTE)
  if(NOT ARG_DATA_DIR)
    get_filename_component(ARG_DATA_DIR "${manifest}" DIRECTORY)
  endif()
  if(TARGET zu::zuembed)
    set(embed zu::zuembed)
    set(embedFile $<TARGET_FILE:zu::zuembed>)
  else()
    set(embed zuembed)
    set(embedFile zuembed)
  endif()
  # Rebuild when a named file changes: the manifest's quoted names, read at configure time.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${manifest}")
  file(STRINGS "${manifest}" lines REGEX "\"[^\"]+\"")
  set(files)
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*[A-Za-z0-9_]+[ \t]+[A-Za-z0-9_]+[ \t]+\"([^\"]+)\"")
      string(REPLACE "\\" "/" file "${CMAKE_MATCH_1}")
      list(APPEND files "${ARG_DATA_DIR}/${file}")
    endif()
  endforeach()
  if(ARG_DEPENDS)  # the data may be made by the build; then the files come from those steps
    set(files)
  endif()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${embed} "${manifest}" "${ARG_DATA_DIR}" "${out}"
    DEPENDS ${embedFile} "${manifest}" ${files} ${ARG_DEPENDS}
    COMMENT "Embedding the resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()
