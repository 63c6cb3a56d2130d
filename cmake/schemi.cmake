# The JSON documents that the program prints, validated against their schemas in doc/: each
# schema gets one test that runs the built program on a table of cases (see
# tests/strumenti/valida_json.py for the form of the table) and validates every output with
# Python's jsonschema (Debian's python3-jsonschema). Linux only: the Windows build runs its tests
# under Wine, without Python.
#
#   compattatore_schema(NOME SCHEMA CASI)   adds the test "Schema.NOME"
find_package(Python3 REQUIRED COMPONENTS Interpreter)

function(compattatore_schema nome schema casi)
  add_test(NAME Schema.${nome}
           COMMAND Python3::Interpreter ${PROJECT_SOURCE_DIR}/tests/strumenti/valida_json.py
                   --programma $<TARGET_FILE:compattatore>
                   --schema ${PROJECT_SOURCE_DIR}/${schema}
                   --casi ${PROJECT_SOURCE_DIR}/${casi})
endfunction()
