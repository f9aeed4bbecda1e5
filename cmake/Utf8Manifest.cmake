# Windows programs of the project take their arguments as UTF-8: a manifest sets the process's
# ANSI code page to UTF-8, so that char-based main() and the file names built from its
# arguments keep every character.
enable_language(RC)
function(velkor_utf8_manifest target)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}-utf8.rc)
    file(WRITE ${rc} "1 24 \"${CMAKE_SOURCE_DIR}/cmake/windows/utf8.manifest\"\n")
    target_sources(${target} PRIVATE ${rc})
endfunction()
