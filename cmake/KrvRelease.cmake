# krv_release_program(<target> DESCRIPTION <text> [GUI] [MANIFEST <file.in>])
# What users get of a program: on Windows a version resource (and, with
# MANIFEST, the embedded manifest; with GUI, the Windows subsystem); on every
# platform a stripped copy in <build>/release/ with its debug information
# beside it (<program>.debug, found through the debug link), which is what
# `cmake --install` and the packages take.
foreach(part PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    set(KRV_VERSION_${part} 0)
  else()
    set(KRV_VERSION_${part} ${PROJECT_VERSION_${part}})
  endif()
endforeach()
set(KRV_VERSION4 "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${KRV_VERSION_PATCH}.${KRV_VERSION_TWEAK}")
set(KRV_RELEASE_DIR ${CMAKE_BINARY_DIR}/release)

function(krv_release_program target)
  cmake_parse_arguments(R "GUI" "DESCRIPTION;MANIFEST" "" ${ARGN})
  if(WIN32)
    set(KRV_NAME ${target})
    set(KRV_DESCRIPTION "${R_DESCRIPTION}")
    set(KRV_MANIFEST_RESOURCE "")
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
    if(R_MANIFEST)
      set(manifest ${CMAKE_CURRENT_BINARY_DIR}/${target}.manifest)
      configure_file(${R_MANIFEST} ${manifest} @ONLY)
      # 1 is the manifest a process is created with, 24 the type RT_MANIFEST.
      set(KRV_MANIFEST_RESOURCE "1 24 \"${manifest}\"")
      set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS ${manifest})
    endif()
    configure_file(${CMAKE_SOURCE_DIR}/packaging/version.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    if(R_GUI)
      set_target_properties(${target} PROPERTIES WIN32_EXECUTABLE ON)
    endif()
  endif()
  set(name $<TARGET_FILE_NAME:${target}>)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KRV_RELEASE_DIR}
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}> ${KRV_RELEASE_DIR}/${name}.debug
    COMMAND ${CMAKE_OBJCOPY} --strip-all --add-gnu-debuglink=${KRV_RELEASE_DIR}/${name}.debug
            $<TARGET_FILE:${target}> ${KRV_RELEASE_DIR}/${name}
    VERBATIM)
  if(WIN32)
    install(PROGRAMS ${KRV_RELEASE_DIR}/${name} DESTINATION .)
  else()
    install(PROGRAMS ${KRV_RELEASE_DIR}/${name} DESTINATION bin)
  endif()
endfunction()
