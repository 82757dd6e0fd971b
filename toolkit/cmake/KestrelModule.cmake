# Helpers of the toolkit's module folders.
#
#   kestrel_module(<target> EXPORT_NAME <name> [PUBLIC_HEADERS <header>...])
#
# Makes <target> (a library added by the module's CMakeLists.txt) one of
# Kestrel's modules: the alias Kestrel::<name>, C++20 for its users, the
# staged include folder for users in this build and include/ once installed,
# installed with the exported package. Each PUBLIC_HEADERS file (relative to
# the calling folder) is what a user may rely on: it is copied to
# <staged>/kestrel/<path below toolkit/> with its `#include "toolkit/` lines
# turned into `#include "kestrel/`, and installed there. Headers not listed
# are internal: not staged, not installed.
include_guard(GLOBAL)
include(GNUInstallDirs)

set(KESTREL_STAGED_INCLUDE_DIR ${PROJECT_BINARY_DIR}/include)
define_property(GLOBAL PROPERTY KESTREL_PUBLIC_HEADERS
  BRIEF_DOCS "public headers of Kestrel, relative to toolkit/")
define_property(GLOBAL PROPERTY KESTREL_MODULE_TARGETS
  BRIEF_DOCS "the module libraries of Kestrel")

# kestrel_write_if_changed comes with kestrel_embed_files.
include(${KESTREL_EMBED_CMAKE})

# Stages one header (a path below toolkit/, or a generated file with an
# explicit staged path) for users.
function(kestrel_stage_header source rel)
  file(READ "${source}" text)
  string(REPLACE "#include \"toolkit/" "#include \"kestrel/" text "${text}")
  kestrel_write_if_changed("${KESTREL_STAGED_INCLUDE_DIR}/kestrel/${rel}" "${text}")
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${source}")
  get_filename_component(dir "${rel}" DIRECTORY)
  install(FILES "${KESTREL_STAGED_INCLUDE_DIR}/kestrel/${rel}"
          DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/kestrel/${dir} COMPONENT kestrel_dev)
  set_property(GLOBAL APPEND PROPERTY KESTREL_PUBLIC_HEADERS "${rel}")
endfunction()

function(kestrel_module target)
  cmake_parse_arguments(M "" "EXPORT_NAME" "PUBLIC_HEADERS" ${ARGN})
  if(NOT M_EXPORT_NAME)
    message(FATAL_ERROR "kestrel_module(${target}): EXPORT_NAME is required")
  endif()
  get_target_property(type ${target} TYPE)
  set(scope PUBLIC)
  if(type STREQUAL "INTERFACE_LIBRARY")
    set(scope INTERFACE)
  endif()
  add_library(Kestrel::${M_EXPORT_NAME} ALIAS ${target})
  set_target_properties(${target} PROPERTIES EXPORT_NAME ${M_EXPORT_NAME})
  target_compile_features(${target} ${scope} cxx_std_20)
  target_include_directories(${target} ${scope}
    $<BUILD_INTERFACE:${KESTREL_STAGED_INCLUDE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>)
  foreach(h ${M_PUBLIC_HEADERS})
    set(source ${CMAKE_CURRENT_SOURCE_DIR}/${h})
    if(NOT EXISTS ${source})
      message(FATAL_ERROR "kestrel_module(${target}): no such public header: ${source}")
    endif()
    file(RELATIVE_PATH rel ${KESTREL_TOOLKIT_DIR} ${source})
    kestrel_stage_header(${source} ${rel})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY KESTREL_MODULE_TARGETS ${target})
endfunction()

# A public header that includes an internal one would not compile for a
# user: every "toolkit/..." include of a public header must be public too.
function(kestrel_check_public_headers)
  get_property(public GLOBAL PROPERTY KESTREL_PUBLIC_HEADERS)
  set(problems "")
  foreach(rel ${public})
    file(STRINGS "${KESTREL_STAGED_INCLUDE_DIR}/kestrel/${rel}" lines REGEX "^#include \"kestrel/")
    foreach(line ${lines})
      string(REGEX REPLACE "^#include \"kestrel/([^\"]+)\".*" "\\1" inc "${line}")
      if(NOT inc IN_LIST public)
        string(APPEND problems "\n  kestrel/${rel} includes the internal header toolkit/${inc}")
      endif()
    endforeach()
  endforeach()
  if(problems)
    message(FATAL_ERROR "Public headers must include only public headers:${problems}")
  endif()
endfunction()
