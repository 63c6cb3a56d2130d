# `npm ci` of the package.json and package-lock.json of SORGENTE into CARTELLA, unless CARTELLA
# already holds the packages of the same lock file:
#   cmake -DNPM=npm -DSORGENTE=... -DCARTELLA=... -P npm_ci.cmake
set(installato ${CARTELLA}/package-lock.installato.json)
if(EXISTS ${installato})
  execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${SORGENTE}/package-lock.json
                          ${installato} RESULT_VARIABLE diverso)
  if(diverso EQUAL 0)
    return()
  endif()
endif()
file(REMOVE ${installato})
file(COPY ${SORGENTE}/package.json ${SORGENTE}/package-lock.json DESTINATION ${CARTELLA})
execute_process(COMMAND ${NPM} ci --no-audit --no-fund WORKING_DIRECTORY ${CARTELLA}
                RESULT_VARIABLE stato)
if(NOT stato EQUAL 0)
  message(FATAL_ERROR "npm ci in ${CARTELLA}: ${stato}")
endif()
file(COPY_FILE ${SORGENTE}/package-lock.json ${installato})
