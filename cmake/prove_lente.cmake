# Read by ctest after the list of compattatore_tests (CMakeLists.txt adds it): the tests that take
# well over a second (measured with `ctest --test-dir build -j2`) get the label "lento", which the
# edit-compile-test loop `scripts/test.sh --rapido` (the test preset "rapido") leaves out. They run
# the program as a process by the dozen or kill it (CorseSicure, Percorsi), open a browser
# (Browser), sweep generated scenarios (DecompilaGenerati, and the readers' round trip), fail
# every system call of a command in turn (Spazzate), check the states a crash leaves on the disk
# (StatiDelDisco), start Python to validate documents against their schema
# (Mostra.JsonSecondoLoSchema), or watch a folder while its files change and open the watched
# page in a browser (Osserva: each waits for its lines at most 20 s, and has a timeout of its own).
# `scripts/test.sh` runs every test.
foreach(prova IN LISTS compattatore_tests_TESTS)
  if(prova MATCHES "^(CorseSicure|Percorsi|Browser|DecompilaGenerati|Spazzate|StatiDelDisco)\\."
     OR prova STREQUAL "LetturaEScrittura.AndataERitornoDegliScenariGenerati"
     OR prova STREQUAL "Mostra.JsonSecondoLoSchema")
    set_tests_properties("${prova}" PROPERTIES LABELS lento)
  endif()
  if(prova MATCHES "^Osserva\\.")
    set_tests_properties("${prova}" PROPERTIES TIMEOUT 60)
  endif()
  if(prova STREQUAL "Osserva.UnaCompilazionePerRafficaELaPaginaSiRicarica"
     OR prova STREQUAL "Osserva.UnErroreLasciaIFileComeUnaCorsaEUnSorgenteToltoSiAttende"
     OR prova STREQUAL "Osserva.LaPaginaSiRicaricaInChromium")
    set_tests_properties("${prova}" PROPERTIES LABELS lento)
  endif()
endforeach()
