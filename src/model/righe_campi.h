// The fields of the two compiled records, one row each, in the order the files store them: a
// stretch of `tratti` (15 bytes) and an entry of `elenco` (34 bytes and its text). Every other
// place that names a field is an expansion of these rows: the structs of the model
// (model/modello.h), the tables of fields with their lookups (model/campi.h), the writers and
// readers of the compiled files, the comparison and the views.
//
// A numeric row is N(nome, tipo, posizione, fattore, spostamento, unita, significato):
//   nome         the field's name, as the code, the views and the JSON keys spell it;
//   tipo         its stored type (uint8_t, int16_t, int32_t): width, signedness and range;
//   posizione    its byte offset in the record; in an entry, the fields after the text are given
//                with an empty text, and lie the text's length further on;
//   fattore, spostamento
//                how the stored number relates to the author's unit:
//                value = stored × fattore + spostamento (`pendenza` 100 is 0 ‰);
//   unita        the author's unit (a name of `Unita`, model/campi.h);
//   significato  what the field holds, in Italian, short.
// The text of an entry is T(nome, tipo_lunghezza, posizione, significato): a length of type
// `tipo_lunghezza` at `posizione`, then as many bytes of Windows-1252 text.
#pragma once

// clang-format off
#define COMPATTATORE_CAMPI_TRATTO(N)                                                               \
  N(oggetto, uint8_t, 0, 1, 0, nessuna,                                                            \
    "tipo dell'oggetto puntuale del tratto (0 = nessuno)")                                         \
  N(valore_1, int16_t, 1, 1, 0, nessuna,                                                           \
    "primo valore dell'oggetto (secondo il tipo)")                                                 \
  N(valore_2, int16_t, 3, 1, 0, nessuna,                                                           \
    "secondo valore dell'oggetto (secondo il tipo)")                                               \
  N(valore_3, int16_t, 5, 1, 0, nessuna,                                                           \
    "terzo valore dell'oggetto (secondo il tipo)")                                                 \
  N(valore_4, int16_t, 7, 1, 0, nessuna,                                                           \
    "quarto valore dell'oggetto (secondo il tipo)")                                                \
  N(tempo_segnale, uint8_t, 9, 1, 0, nessuna,                                                      \
    "tempo di un segnale con sx 2 (gli 8 bit bassi); 0 altrimenti")                                \
  N(preavviso, uint8_t, 10, 1, 0, nessuna,                                                         \
    "preavviso: (sx·3 + dx)·10 + k prima di un segnale, 80 + k prima di un punto di fermata")      \
  N(montagna, uint8_t, 11, 1, 0, nessuna,                                                          \
    "tipo della montagna che copre il tratto (0 = nessuna)")                                       \
  N(velocita, uint8_t, 12, 5, 0, km_h,                                                             \
    "velocità massima del treno, a passi di 5 km/h")                                               \
  N(pendenza, uint8_t, 13, 1, -100, per_mille,                                                     \
    "pendenza più 100 (100 = piano, 65 = discesa del 35 per mille)")                               \
  N(aderenza, uint8_t, 14, 1, 0, nessuna,                                                          \
    "aderenza del tratto")

#define COMPATTATORE_CAMPI_VOCE(N, T)                                                              \
  N(tipo_voce, uint8_t, 0, 1, 0, nessuna,                                                          \
    "tipo della voce (per una stazione, il suo tipo)")                                             \
  N(campo_1, int32_t, 1, 1, 0, nessuna,                                                            \
    "primo numero a 32 bit (secondo la voce)")                                                     \
  N(campo_2, int32_t, 5, 1, 0, nessuna,                                                            \
    "secondo numero a 32 bit (secondo la voce)")                                                   \
  N(campo_3, int32_t, 9, 1, 0, nessuna,                                                            \
    "terzo numero a 32 bit (secondo la voce)")                                                     \
  N(opzione, uint8_t, 13, 1, 0, nessuna,                                                           \
    "opzione (secondo la voce)")                                                                   \
  T(testo, uint16_t, 14,                                                                           \
    "testo: la sua lunghezza a 16 bit, poi i suoi byte in Windows-1252")                           \
  N(intero_1, int16_t, 16, 1, 0, nessuna,                                                          \
    "primo intero a 16 bit (secondo la voce)")                                                     \
  N(intero_2, int16_t, 18, 1, 0, nessuna,                                                          \
    "secondo intero a 16 bit (secondo la voce)")                                                   \
  N(intero_3, int16_t, 20, 1, 0, nessuna,                                                          \
    "terzo intero a 16 bit (secondo la voce)")                                                     \
  N(intero_4, int16_t, 22, 1, 0, nessuna,                                                          \
    "quarto intero a 16 bit (secondo la voce)")                                                    \
  N(intero_5, int16_t, 24, 1, 0, nessuna,                                                          \
    "quinto intero a 16 bit (secondo la voce)")                                                    \
  N(flag_1, uint8_t, 26, 1, 0, nessuna,                                                            \
    "primo byte (secondo la voce)")                                                                \
  N(flag_2, uint8_t, 27, 1, 0, nessuna,                                                            \
    "secondo byte (secondo la voce)")                                                              \
  N(flag_3, uint8_t, 28, 1, 0, nessuna,                                                            \
    "terzo byte (secondo la voce)")                                                                \
  N(flag_4, uint8_t, 29, 1, 0, nessuna,                                                            \
    "quarto byte (secondo la voce)")                                                               \
  N(orario, int32_t, 30, 1, 0, secondi_del_giorno,                                                 \
    "orario in secondi dalla mezzanotte (ore·3600 + minuti·60 + secondi)")
// clang-format on
