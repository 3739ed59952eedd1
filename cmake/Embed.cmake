# qell_embed_text(TARGET INPUT SYMBOL): compiles the text file INPUT into TARGET as the
# string_view SYMBOL, regenerated whenever the file changes.
function(qell_embed_text target input symbol)
  get_filename_component(abs "${input}" ABSOLUTE)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/${symbol}.cpp")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND ${CMAKE_COMMAND} -DINPUT=${abs} -DOUTPUT=${out} -DSYMBOL=${symbol}
            -P ${PROJECT_SOURCE_DIR}/cmake/EmbedText.cmake
    DEPENDS "${abs}" ${PROJECT_SOURCE_DIR}/cmake/EmbedText.cmake
    COMMENT "Embedding ${input}")
  target_sources(${target} PRIVATE "${out}")
endfunction()
