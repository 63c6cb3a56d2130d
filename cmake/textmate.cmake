# The TextMate grammars of editor/textmate, tokenized by the engine that editors of such grammars
# run: the npm packages vscode-textmate and vscode-oniguruma (tests/editor/textmate/package.json,
# versions pinned by its package-lock.json), installed with `npm ci` into <build>/textmate by the
# test TextMate.Pacchetti, again only when the lock file changes. Node and npm are Debian's nodejs
# and npm (scripts/test.sh installs them). Not in the sanitizer build: the test runs the program
# for `esempio` only, so one run per test command is enough.
find_program(COMPATTATORE_NODE node)
find_program(COMPATTATORE_NPM npm)
if(COMPATTATORE_NODE AND COMPATTATORE_NPM AND NOT COMPATTATORE_SANITIZE)
  # The table of keywords, for the check that the grammars' keywords are its rows.
  add_executable(parole_sorgenti tests/strumenti/parole_sorgenti.cpp)
  target_link_libraries(parole_sorgenti PRIVATE compattatore_core)

  set(COMPATTATORE_TEXTMATE_NPM ${CMAKE_BINARY_DIR}/textmate)
  add_test(NAME TextMate.Pacchetti
           COMMAND ${CMAKE_COMMAND} -DNPM=${COMPATTATORE_NPM}
                   -DSORGENTE=${PROJECT_SOURCE_DIR}/tests/editor/textmate
                   -DCARTELLA=${COMPATTATORE_TEXTMATE_NPM} -P ${PROJECT_SOURCE_DIR}/cmake/npm_ci.cmake)
  add_test(NAME TextMate.Grammatiche
           COMMAND ${COMPATTATORE_NODE} ${PROJECT_SOURCE_DIR}/tests/editor/textmate/grammatica.js
                   $<TARGET_FILE:compattatore> $<TARGET_FILE:parole_sorgenti>
                   ${PROJECT_SOURCE_DIR}/editor/textmate)
  set_tests_properties(TextMate.Pacchetti PROPERTIES FIXTURES_SETUP textmate TIMEOUT 300)
  set_tests_properties(TextMate.Grammatiche PROPERTIES
                       FIXTURES_REQUIRED textmate TIMEOUT 60
                       ENVIRONMENT NODE_PATH=${COMPATTATORE_TEXTMATE_NPM}/node_modules)
endif()
