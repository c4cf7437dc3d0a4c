# Reads res/file_types.txt, the one list of the kinds of file Lumo opens, and
# gives what is made from it:
#   LUMO_MIME_TYPES        every MIME type, "a;b;" as a desktop entry lists them
#   LUMO_MEDIA_TYPES_XML   <mediatype> lines of the metainfo's <provides>
#   LUMO_OWN_MIME_XML      <mime-type> elements of the types Lumo defines
# and writes the code's table to generated/res/file_types_table.inc and the
# names of its types, as FileType's enumerators, to file_types_enum.inc.

# "jpeg" as an enumerator: "Jpeg".
function(lumo_capitalized word out)
  string(SUBSTRING ${word} 0 1 first)
  string(TOUPPER ${first} first)
  string(SUBSTRING ${word} 1 -1 rest)
  set(${out} "${first}${rest}" PARENT_SCOPE)
endfunction()

function(lumo_read_file_types list_file)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})
  file(STRINGS ${list_file} lines REGEX "^[^#]")
  set(rows "")
  set(enumerators "")
  set(mime_types "")
  set(media_xml "")
  set(own_xml "")
  foreach(line IN LISTS lines)
    if(NOT line MATCHES "^([^ \t]+)[ \t]+([^ \t]+)[ \t]+(picture|archive|album)[ \t]+([^ \t]+)[ \t]+\"([^\"]*)\"[ \t]*(.*)$")
      message(FATAL_ERROR "${list_file}: cannot read the line \"${line}\"")
    endif()
    set(ext ${CMAKE_MATCH_1})
    set(mime ${CMAKE_MATCH_2})
    set(kind ${CMAKE_MATCH_3})
    set(name ${CMAKE_MATCH_4})
    set(picture_type "${CMAKE_MATCH_5}")
    string(STRIP "${CMAKE_MATCH_6}" description)
    lumo_capitalized(${kind} kind_enumerator)
    lumo_capitalized(${name} type_enumerator)
    string(APPEND rows "    {\"${ext}\", \"${mime}\", FileKind::${kind_enumerator}, FileType::${type_enumerator}, \"${name}\", "
                       "\"${picture_type}\", \"${description}\"},\n")
    string(APPEND enumerators "    ${type_enumerator},\n")
    string(APPEND mime_types "${mime};")
    string(APPEND media_xml "    <mediatype>${mime}</mediatype>\n")
    if(description)
      string(APPEND own_xml "  <mime-type type=\"${mime}\">\n"
                            "    <comment>${description}</comment>\n"
                            "    <generic-icon name=\"image-x-generic\"/>\n"
                            "    <glob pattern=\"*${ext}\"/>\n"
                            "  </mime-type>\n")
    endif()
  endforeach()
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/res/file_types_table.inc
       CONTENT "// Made by cmake/FileTypes.cmake from res/file_types.txt; edit that list.\n${rows}"
       @ONLY)
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/generated/res/file_types_enum.inc
       CONTENT "// Made by cmake/FileTypes.cmake from res/file_types.txt; edit that list.\n${enumerators}"
       @ONLY)
  set(LUMO_MIME_TYPES "${mime_types}" PARENT_SCOPE)
  string(STRIP "${media_xml}" media_xml)
  set(LUMO_MEDIA_TYPES_XML "${media_xml}" PARENT_SCOPE)
  set(LUMO_OWN_MIME_XML "${own_xml}" PARENT_SCOPE)
endfunction()
