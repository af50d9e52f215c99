# Writes OUTPUT, a C++ source holding the version block of PRODUCT at VERSION (major.minor.patch.tweak) in the
# Windows VS_VERSIONINFO layout, placed in the section .glanex_version. Run as
#   cmake -DVERSION=2.2.1.20 -DPRODUCT=Glanex -DOUTPUT=file.cpp -P GenerateVersionBlock.cmake
# Every structure is little-endian and starts on a 32-bit boundary; keys and texts are UTF-16LE ending in a
# zero. Bytes are kept as lists of "0xNN" items, which the source then spells out as an array.

cmake_minimum_required(VERSION 3.25)

foreach(required VERSION PRODUCT OUTPUT)
  if(NOT DEFINED ${required})
    message(FATAL_ERROR "GenerateVersionBlock.cmake needs -D${required}=...")
  endif()
endforeach()

# Parameters that name the caller's lists start with an underscore, so that they cannot hide a caller's
# variable of the same name.

# The program speaks French and writes Windows-1252: its one translation.
set(language 0x040C)
set(code_page 0x04E4)
set(string_table_key "040C04E4")

set(text_type 1)
set(binary_type 0)

# append_le(BYTES VALUE WIDTH): appends VALUE to the list BYTES as WIDTH little-endian bytes.
function(append_le _bytes value width)
  set(result ${${_bytes}})
  foreach(unused RANGE 1 ${width})
    # The 0x100 gives every byte two hex digits; the SUBSTRING drops its leading 1.
    math(EXPR byte "(${value} & 0xFF) | 0x100" OUTPUT_FORMAT HEXADECIMAL)
    string(SUBSTRING "${byte}" 3 2 digits)
    list(APPEND result 0x${digits})
    math(EXPR value "${value} >> 8")
  endforeach()
  set(${_bytes} ${result} PARENT_SCOPE)
endfunction()

# append_utf16(BYTES TEXT): appends the ASCII TEXT as UTF-16LE with its terminating zero.
function(append_utf16 _bytes text)
  set(result ${${_bytes}})
  string(HEX "${text}" hex)
  string(REGEX MATCHALL ".." units "${hex}")
  foreach(unit IN LISTS units)
    # A byte from 80 up would be part of a UTF-8 sequence, which this simple widening would garble.
    if(unit MATCHES "^[89a-f]")
      message(FATAL_ERROR "Version texts must be ASCII: '${text}'")
    endif()
    list(APPEND result 0x${unit} 0x00)
  endforeach()
  list(APPEND result 0x00 0x00)
  set(${_bytes} ${result} PARENT_SCOPE)
endfunction()

# pad_to_32_bits(BYTES): appends zeros until the length of BYTES is a multiple of 4.
function(pad_to_32_bits _bytes)
  set(result ${${_bytes}})
  list(LENGTH result size)
  math(EXPR padding "(4 - ${size} % 4) % 4")
  if(padding GREATER 0)
    foreach(unused RANGE 1 ${padding})
      list(APPEND result 0x00)
    endforeach()
  endif()
  set(${_bytes} ${result} PARENT_SCOPE)
endfunction()

# append_child(CHILDREN NODE): appends the bytes of NODE to CHILDREN on the next 32-bit boundary.
function(append_child _children _node)
  set(result ${${_children}})
  pad_to_32_bits(result)
  list(APPEND result ${${_node}})
  set(${_children} ${result} PARENT_SCOPE)
endfunction()

# version_node(OUT KEY TYPE VALUE_LENGTH VALUE CHILDREN): the bytes of one structure — wLength, wValueLength,
# wType, szKey, padding, Value, padding, Children — into OUT. VALUE and CHILDREN name byte lists; VALUE_LENGTH
# counts UTF-16 units for a text value and bytes otherwise, as the layout wants.
function(version_node out key type value_length _value_list _children_list)
  # wLength comes first but is known last: a placeholder keeps the padding below counted from the start.
  set(node 0x00 0x00)
  append_le(node ${value_length} 2)
  append_le(node ${type} 2)
  append_utf16(node "${key}")
  pad_to_32_bits(node)
  list(APPEND node ${${_value_list}})
  if(${_children_list})
    pad_to_32_bits(node)
    list(APPEND node ${${_children_list}})
  endif()
  list(LENGTH node size)
  if(size GREATER 0xFFFF)
    message(FATAL_ERROR "The version structure '${key}' does not fit its 16-bit length")
  endif()
  set(length "")
  append_le(length ${size} 2)
  list(REMOVE_AT node 0 1)
  set(${out} ${length} ${node} PARENT_SCOPE)
endfunction()

# string_node(OUT KEY TEXT): a String structure holding TEXT.
function(string_node out key text)
  string(LENGTH "${text}" characters)
  math(EXPR units "${characters} + 1")
  set(text_bytes "")
  append_utf16(text_bytes "${text}")
  set(no_children "")
  version_node(node "${key}" ${text_type} ${units} text_bytes no_children)
  set(${out} ${node} PARENT_SCOPE)
endfunction()

if(NOT VERSION MATCHES "^([0-9]+)(\\.([0-9]+))?(\\.([0-9]+))?(\\.([0-9]+))?$")
  message(FATAL_ERROR "VERSION must read major[.minor[.patch[.tweak]]], not '${VERSION}'")
endif()
set(version_parts "${CMAKE_MATCH_1}" "${CMAKE_MATCH_3}" "${CMAKE_MATCH_5}" "${CMAKE_MATCH_7}")
set(numbers "")
foreach(part IN LISTS version_parts)
  if(part STREQUAL "")
    set(part 0)
  endif()
  if(part GREATER 0xFFFF)
    message(FATAL_ERROR "Each part of VERSION must fit 16 bits: '${VERSION}'")
  endif()
  list(APPEND numbers ${part})
endforeach()
list(GET numbers 0 major)
list(GET numbers 1 minor)
list(GET numbers 2 patch)
list(GET numbers 3 tweak)
math(EXPR version_high "(${major} << 16) | ${minor}")
math(EXPR version_low "(${patch} << 16) | ${tweak}")

# VS_FIXEDFILEINFO: the same version as numbers, for tools that read no text.
set(fixed_info "")
foreach(field
    0xFEEF04BD       # dwSignature
    0x00010000       # dwStrucVersion
    ${version_high}  # dwFileVersionMS
    ${version_low}   # dwFileVersionLS
    ${version_high}  # dwProductVersionMS
    ${version_low}   # dwProductVersionLS
    0x3F             # dwFileFlagsMask
    0                # dwFileFlags: a release build
    0                # dwFileOS: VOS_UNKNOWN, there is no Windows under it
    1                # dwFileType: VFT_APP
    0                # dwFileSubtype
    0                # dwFileDateMS
    0)               # dwFileDateLS
  append_le(fixed_info ${field} 4)
endforeach()
list(LENGTH fixed_info fixed_info_size)

set(no_value "")

string_node(file_version "FileVersion" "${VERSION}")
string_node(product_name "ProductName" "${PRODUCT}")
string_node(product_version "ProductVersion" "${VERSION}")
set(strings "")
append_child(strings file_version)
append_child(strings product_name)
append_child(strings product_version)
version_node(string_table "${string_table_key}" ${text_type} 0 no_value strings)
version_node(string_file_info "StringFileInfo" ${text_type} 0 no_value string_table)

set(translation "")
append_le(translation ${language} 2)
append_le(translation ${code_page} 2)
set(no_children "")
version_node(translation_var "Translation" ${binary_type} 4 translation no_children)
version_node(var_file_info "VarFileInfo" ${text_type} 0 no_value translation_var)

set(root_children "")
append_child(root_children string_file_info)
append_child(root_children var_file_info)
version_node(block "VS_VERSION_INFO" ${binary_type} ${fixed_info_size} fixed_info root_children)

# Twelve bytes to a line keeps the generated source readable in a diff.
set(array_lines "")
set(line "")
set(count 0)
foreach(byte IN LISTS block)
  string(APPEND line "${byte}, ")
  math(EXPR count "${count} + 1")
  if(count EQUAL 12)
    string(STRIP "${line}" line)
    string(APPEND array_lines "    ${line}\n")
    set(line "")
    set(count 0)
  endif()
endforeach()
if(NOT line STREQUAL "")
  string(STRIP "${line}" line)
  string(APPEND array_lines "    ${line}\n")
endif()

# `used` keeps the compiler from dropping the unreferenced array, `retain` keeps a section-collecting linker
# from doing the same; the array is read from the executable file, never through its name.
file(WRITE "${OUTPUT}"
"// Generated by cmake/GenerateVersionBlock.cmake from the project's version ${VERSION}; edits are lost.
// The executable's version block in the Windows VS_VERSIONINFO layout, in a section of its own.
alignas(4) [[gnu::used, gnu::retain, gnu::section(\".glanex_version\")]] static const unsigned char versionBlock[] = {
${array_lines}};
")
