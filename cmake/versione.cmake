# Writes the header of the commit the program is built from, at every build (cmake -P):
#   cmake -DSORGENTI=<the sources> -DUSCITA=<header> -P cmake/versione.cmake
# The commit is git's short hash, with "-modificato" when the tracked files differ from it, or
# "sconosciuto" for sources without git (a tarball). The header is rewritten only when it changes,
# so that a build without a new commit compiles nothing again.
set(commit sconosciuto)
find_program(COMPATTATORE_GIT git)
if(COMPATTATORE_GIT AND EXISTS "${SORGENTI}/.git")
  execute_process(COMMAND "${COMPATTATORE_GIT}" -C "${SORGENTI}" rev-parse --short=12 HEAD
                  OUTPUT_VARIABLE hash OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE esito
                  ERROR_QUIET)
  if(esito EQUAL 0 AND hash)
    set(commit ${hash})
    execute_process(COMMAND "${COMPATTATORE_GIT}" -C "${SORGENTI}" status --porcelain
                            --untracked-files=no
                    OUTPUT_VARIABLE modifiche RESULT_VARIABLE esito ERROR_QUIET)
    if(NOT esito EQUAL 0 OR modifiche)
      string(APPEND commit -modificato)
    endif()
  endif()
endif()
message(VERBOSE "commit: ${commit}")
if(USCITA)
  file(CONFIGURE OUTPUT "${USCITA}" CONTENT "#define COMPATTATORE_COMMIT \"${commit}\"\n" @ONLY)
endif()
