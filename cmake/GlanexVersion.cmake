# The program's version as data of its executable: a version block in the Windows layout, generated from
# PROJECT_VERSION at build time and linked into the section .glanex_version, where the program and any other
# tool read it from the file. No version text is written in the sources.

# glanex_embed_version(TARGET): gives the executable TARGET its own copy of the block. The generated source is
# compiled into the executable itself, not into a library, so that the linker cannot leave it out.
function(glanex_embed_version target)
  set(source ${CMAKE_CURRENT_BINARY_DIR}/${target}_version_block.cpp)
  set(generator ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/GenerateVersionBlock.cmake)
  add_custom_command(
    OUTPUT ${source}
    COMMAND ${CMAKE_COMMAND} -DVERSION=${PROJECT_VERSION} -DPRODUCT=${PROJECT_NAME} -DOUTPUT=${source}
            -P ${generator}
    DEPENDS ${generator}
    COMMENT "Generating the version block of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${source})
endfunction()
