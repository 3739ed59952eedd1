# Resources stored in a module's own section (docs/package-resources.md), made by the
# qell-resources tool and regenerated whenever an input or the tool changes.

# qell_add_resources(TARGET target RESOURCES NAME KIND LANGUAGE FILE [NAME KIND LANGUAGE FILE …])
# Gives TARGET a resource section holding each FILE's bytes as resource NAME. KIND is
# raw, icon or version; LANGUAGE is neutral or four hexadecimal digits (0409); FILE is
# relative to the current source directory. The module's code finds them with
# FindModuleResource (platform/rtl/PackageResources.h).
function(qell_add_resources)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "TARGET" "RESOURCES")
  list(LENGTH ARG_RESOURCES count)
  math(EXPR extra "${count} % 4")
  if(NOT ARG_TARGET OR count EQUAL 0 OR NOT extra EQUAL 0)
    message(FATAL_ERROR "qell_add_resources: give TARGET, and RESOURCES as NAME KIND LANGUAGE FILE for each resource")
  endif()
  set(args "")
  set(files "")
  math(EXPR last "${count} - 1")
  foreach(i RANGE 0 ${last} 4)
    math(EXPR file_index "${i} + 3")
    list(SUBLIST ARG_RESOURCES ${i} 3 fields)
    list(GET ARG_RESOURCES ${file_index} file)
    get_filename_component(file "${file}" ABSOLUTE)
    list(APPEND args ${fields} "${file}")
    list(APPEND files "${file}")
  endforeach()
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_resources.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND qell-resources section "${out}" ${args}
    DEPENDS qell-resources ${files}
    COMMENT "Resource section of ${ARG_TARGET}"
    VERBATIM)
  target_sources(${ARG_TARGET} PRIVATE "${out}")
endfunction()

# qell_package_records(DEFINITION file.package DIRECTORY dir)
# Makes the package records DESCRIPTION.bin, PACKAGEINFO.bin, PACKAGEOPTIONS.bin and
# VERSION.bin in dir from the package definition (tools/PackageDefinition.h), for a
# target of the current directory to use as resources.
function(qell_package_records)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "DEFINITION;DIRECTORY" "")
  get_filename_component(definition "${ARG_DEFINITION}" ABSOLUTE)
  file(MAKE_DIRECTORY "${ARG_DIRECTORY}")
  set(records DESCRIPTION PACKAGEINFO PACKAGEOPTIONS VERSION)
  list(TRANSFORM records PREPEND "${ARG_DIRECTORY}/")
  list(TRANSFORM records APPEND ".bin")
  add_custom_command(
    OUTPUT ${records}
    COMMAND qell-resources records "${definition}" "${ARG_DIRECTORY}"
    DEPENDS qell-resources "${definition}"
    COMMENT "Package records from ${ARG_DEFINITION}"
    VERBATIM)
endfunction()

# qell_add_package_resources(TARGET target DEFINITION file.package [RESOURCES …])
# A package's resources: DESCRIPTION, PACKAGEINFO, PACKAGEOPTIONS and the version block
# "1" made from the package definition, the drawn MAINICON, and any further RESOURCES
# as for qell_add_resources. The icon and the version block are in the version block's
# language (PackageLanguage, platform/rtl/PackageRecords.h).
function(qell_add_package_resources)
  cmake_parse_arguments(PARSE_ARGV 0 ARG "" "TARGET;DEFINITION" "RESOURCES")
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${ARG_TARGET}_records")
  qell_package_records(DEFINITION "${ARG_DEFINITION}" DIRECTORY "${dir}")
  add_custom_command(
    OUTPUT "${dir}/MAINICON.ico"
    COMMAND qell-resources icon "${dir}/MAINICON.ico"
    DEPENDS qell-resources
    COMMENT "Package icon of ${ARG_TARGET}"
    VERBATIM)
  qell_add_resources(TARGET ${ARG_TARGET} RESOURCES
    DESCRIPTION raw neutral "${dir}/DESCRIPTION.bin"
    PACKAGEINFO raw neutral "${dir}/PACKAGEINFO.bin"
    PACKAGEOPTIONS raw neutral "${dir}/PACKAGEOPTIONS.bin"
    MAINICON icon 0409 "${dir}/MAINICON.ico"
    1 version 0409 "${dir}/VERSION.bin"
    ${ARG_RESOURCES})
endfunction()
