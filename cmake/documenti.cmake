# Writes one of the files that the packages carry beside the program (cmake -P, at build time):
#   -DCOSA=uscita  -DPROGRAMMA=<compattatore> -DOPZIONE=<--man|--completamento-bash> -DUSCITA=<file>
#       what the program prints with that hidden option;
#   -DCOSA=gzip    -DINGRESSO=<file> -DUSCITA=<file.gz>   gzip -9n, as Debian's packages compress;
#   -DCOSA=html    -DCMARK=<cmark-gfm> -DINGRESSO=<file.md> -DTITOLO=<title> -DUSCITA=<file.html>
#       a page of its own from Markdown, that a browser opens with a double click;
#   -DCOSA=copyright -DINGRESSO=<LICENSE> -DUSCITA=<copyright>
#       the licence as the package's copyright file.
cmake_minimum_required(VERSION 3.25)
if(COSA STREQUAL uscita)
  execute_process(COMMAND "${PROGRAMMA}" "${OPZIONE}" OUTPUT_FILE "${USCITA}"
                  RESULT_VARIABLE esito)
elseif(COSA STREQUAL gzip)
  execute_process(COMMAND gzip -9n -c "${INGRESSO}" OUTPUT_FILE "${USCITA}" RESULT_VARIABLE esito)
elseif(COSA STREQUAL html)
  execute_process(COMMAND "${CMARK}" --extension table --to html "${INGRESSO}" OUTPUT_VARIABLE corpo
                  RESULT_VARIABLE esito)
  file(WRITE "${USCITA}"
       "<!DOCTYPE html>\n<html lang=\"it\">\n<head>\n<meta charset=\"utf-8\">\n"
       "<title>${TITOLO}</title>\n"
       "<style>body{max-width:50em;margin:auto;padding:1em;font-family:sans-serif;"
       "line-height:1.4}table{border-collapse:collapse}td,th{border:1px solid #999;"
       "padding:.2em .4em;vertical-align:top}code,pre{background:#f3f3f3}</style>\n"
       "</head>\n<body>\n${corpo}</body>\n</html>\n")
elseif(COSA STREQUAL copyright)
  # A free-form copyright file: the licence as it stands, under one line that names the program.
  file(READ "${INGRESSO}" licenza)
  file(WRITE "${USCITA}" "compattatore, distribuito con la licenza MIT (Expat):\n\n${licenza}")
  set(esito 0)
else()
  message(FATAL_ERROR "documenti.cmake: COSA sconosciuta '${COSA}'")
endif()
if(NOT esito EQUAL 0)
  file(REMOVE "${USCITA}")
  message(FATAL_ERROR "documenti.cmake: ${COSA} di ${USCITA}: ${esito}")
endif()
