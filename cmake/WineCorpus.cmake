# The corpus of real type libraries the tests read: the files Wine ships.
# wine32:i386 puts the 32-bit ones in i386-windows; the 64-bit ones in
# x86_64-windows come with wine64 and are always there once the test
# dependencies are installed. The archive cannot always give wine32:i386,
# so every corpus found is used and at least one is required.
#
#   VELBROOK_WINE_CORPORA      folders found, 32-bit first
#   VELBROOK_WINE_CORPUS_DIR   the first of them, for tests of named files
#   VELBROOK_WINE_CORPUS_FILES every .tlb, .dll, .ocx and .exe in them
#   VELBROOK_WINE_CORPUS_FLOOR least number of libraries with a type library
#                              a corpus test must read in each folder, so that
#                              a corpus that went missing fails the test
set(VELBROOK_WINE_CORPUS_FLOOR 40)
set(VELBROOK_WINE_CORPORA)
foreach(dir /usr/lib/i386-linux-gnu/wine/i386-windows
            /usr/lib/x86_64-linux-gnu/wine/x86_64-windows)
  if(EXISTS ${dir}/stdole2.tlb)
    list(APPEND VELBROOK_WINE_CORPORA ${dir})
  endif()
endforeach()
if(NOT VELBROOK_WINE_CORPORA)
  message(FATAL_ERROR "No Wine type library corpus (i386-windows or x86_64-windows): "
                      "run scripts/install-deps.sh --tests, or configure with -DVELBROOK_TESTS=OFF")
endif()
list(GET VELBROOK_WINE_CORPORA 0 VELBROOK_WINE_CORPUS_DIR)
set(VELBROOK_WINE_CORPUS_FILES)
foreach(dir ${VELBROOK_WINE_CORPORA})
  file(GLOB files ${dir}/*.tlb ${dir}/*.dll ${dir}/*.ocx ${dir}/*.exe)
  list(LENGTH files count)
  message(STATUS "Wine corpus: ${dir} (${count} files)")
  list(APPEND VELBROOK_WINE_CORPUS_FILES ${files})
endforeach()
# For scripts that run outside CTest (the fuzz run): one folder per line.
string(REPLACE ";" "\n" corpora_lines "${VELBROOK_WINE_CORPORA}")
file(WRITE ${CMAKE_BINARY_DIR}/wine-corpora.txt "${corpora_lines}\n")
