// Writes the two text sources of a synthetic scenario: a route of up to 1,000,000 m with curves,
// gradients, mountains, speed indicator boards, indicator boards, stations, signals, slowdowns
// and code change points spread over it in proportion to its length. Every object is put where
// the compactor accepts it, so that compiling the two files ends with error code 0 for every
// seed; the same seed always gives the same bytes (Windows-1252 text, CR LF line ends).
//
// How validity is kept:
// - all positions are multiples of 50 m and lie between 0 and the route length minus 100 m;
// - every point object (station stopping point, speed indicator board, indicator board, signal,
//   slowdown board, code change point) has a stretch of its own: one occupancy map, filled in a
//   fixed order (stations, slowdowns, boards, signals, code points), is asked before each one;
// - each slowdown owns the stretches from 48 before its start to 14 after its end: nothing else
//   is put there, so the code markers before it, inside it and after it always find room. A
//   signal may stand in that stretch only where the slowdown puts it, with free room before it;
// - stations keep 350 m between zones, 50 m positions and 100 m platforms, and together with
//   the indicator boards they stay within 78; at most 80 mountains.
#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int64_t kMetriMinimi = 1000;
constexpr int64_t kMetriMassimi = 1000000;
constexpr int64_t kTratto = 50;  // metres of one stretch
constexpr int64_t kMaxMontagne = 80;
constexpr int64_t kMaxStazioniECartelli = 78;
constexpr int64_t kInizioOggetti = 500;     // no point object before this position
constexpr int64_t kDistanzaStazioni = 350;  // between the zone of a station and the next one
// The stretches a slowdown keeps for itself, around its start i and its end e.
constexpr int64_t kRiservatiPrima = 48;  // warning board on i - 24, marked stretches, look-back
constexpr int64_t kRiservatiDopo = 14;   // look-ahead for the signal after the end (12)

constexpr const char* kAiuto =
    "Uso: genera_scenario --metri N --nome NOME --treno T --dir CARTELLA [--seme S]\n"
    "\n"
    "Scrive in CARTELLA le due sorgenti di uno scenario di prova: NOME_linea.txt, una linea\n"
    "lunga N metri (da 1000 a 1000000), e NOME_T-.txt, il treno T. Curve, pendenze, montagne,\n"
    "indicatori di velocita', cartelli indicatori, stazioni, segnali, rallentamenti e\n"
    "abbattimenti sono sparsi lungo la linea in proporzione alla sua lunghezza, dove il\n"
    "compattatore li accetta: \"compattatore compile\" delle due sorgenti finisce con\n"
    "codice_errore 0. Lo stesso seme S (predefinito 1) da' sempre gli stessi file.\n"
    "\n"
    "NOME e T possono contenere lettere, cifre, '.', '-' e '_'.\n";

// Pseudo-random numbers fixed by the seed. The engine's sequence is fixed by the language; the
// reduction to a range is done here, because the standard distributions differ between
// libraries and the same seed must give the same scenario everywhere.
class Caso {
 public:
  explicit Caso(uint64_t seme) : motore_(seme) {}

  // A whole number from `da` to `a`, both included.
  int64_t tra(int64_t da, int64_t a) {
    const uint64_t ampiezza = static_cast<uint64_t>(a - da) + 1;
    return da + static_cast<int64_t>(motore_() % ampiezza);
  }
  bool su_cento(int64_t volte) { return tra(0, 99) < volte; }
  template <typename T, size_t N>
  const T& uno_di(const std::array<T, N>& scelte) {
    return scelte[static_cast<size_t>(tra(0, static_cast<int64_t>(N) - 1))];
  }

 private:
  std::mt19937_64 motore_;
};

int64_t giu_a_50(int64_t metri) { return metri / kTratto * kTratto; }

// The stretch of a point object at a position that is a multiple of 50 m.
int64_t tratto_di(int64_t posizione) { return posizione / kTratto + 1; }

std::string formato(const char* modello, auto... valori) {
  char testo[256];
  const int n = std::snprintf(testo, sizeof testo, modello, valori...);
  return std::string(testo, static_cast<size_t>(std::clamp(n, 0, int{sizeof testo} - 1)));
}

// Which stretches hold a point object, and which belong to a slowdown's surroundings.
class Occupazione {
 public:
  explicit Occupazione(int64_t stretti)
      : occupato_(static_cast<size_t>(stretti), false),
        riservato_(static_cast<size_t>(stretti), false) {}

  bool libero(int64_t s) const {
    return s >= 0 && s < dimensione() && !occupato_[i(s)] && !riservato_[i(s)];
  }
  void occupa(int64_t s) { occupato_[i(s)] = true; }
  // All stretches from `da` to `a` inside the map and free.
  bool liberi(int64_t da, int64_t a) const {
    for (int64_t s = da; s <= a; ++s) {
      if (!libero(s)) return false;
    }
    return true;
  }
  void riserva(int64_t da, int64_t a) {
    for (int64_t s = da; s <= a; ++s) riservato_[i(s)] = true;
  }

 private:
  int64_t dimensione() const { return static_cast<int64_t>(occupato_.size()); }
  static size_t i(int64_t s) { return static_cast<size_t>(s); }
  std::vector<bool> occupato_;
  std::vector<bool> riservato_;
};

// Splits the positions from `da` to `a` (multiples of 50) into `n` equal parts and, in each part,
// offers its positions to `prova` from a random one onwards, wrapping round, until one is taken.
template <typename F>
void sparpaglia(Caso& caso, int64_t n, int64_t da, int64_t a, F&& prova) {
  if (n <= 0 || a < da) return;
  const int64_t posti = (a - da) / kTratto + 1;
  for (int64_t j = 0; j < n; ++j) {
    const int64_t primo = posti * j / n;
    const int64_t quanti = posti * (j + 1) / n - primo;
    if (quanti <= 0) continue;
    const int64_t via = caso.tra(0, quanti - 1);
    for (int64_t t = 0; t < quanti; ++t) {
      if (prova(da + kTratto * (primo + (via + t) % quanti))) break;
    }
  }
}

// The bounds (multiples of 50) of part j of n equal parts of [da, a].
struct Parte {
  int64_t inizio;
  int64_t fine;
};
Parte parte(int64_t j, int64_t n, int64_t da, int64_t a) {
  const int64_t posti = (a - da) / kTratto + 1;
  return {da + kTratto * (posti * j / n), da + kTratto * (posti * (j + 1) / n - 1)};
}

struct Stazione {
  int64_t posizione = 0;
  int tipo = 0;
  int64_t banchina = 0;
  int opzione = 0;
  int flag_3 = 0;
  std::string intero_12_flag_1;  // items 7 to 9
  std::string intero_345;        // items 10 to 12
  int sosta = 0;                 // stop time in seconds
  bool con_orario = true;
  std::string nome;
  int64_t inizio = 0;  // zone
  int64_t fine = 0;

  void calcola_zona() {
    switch (tipo) {
      case 5:
      case 6:
        inizio = posizione - banchina;
        fine = posizione + 150;
        break;
      case 7:
      case 8:
        inizio = posizione - banchina;
        fine = posizione + banchina;
        break;
      default:
        inizio = posizione - banchina / 2;
        fine = posizione + banchina / 2 + (flag_3 != 0 ? 50 : 0);
        break;
    }
  }
  bool con_fermata() const { return tipo < 25; }
  int64_t tratto_fermata() const { return fine / kTratto - 1; }
};

struct Segnale {
  int64_t posizione;
  std::string riga;
};

class Generatore {
 public:
  Generatore(int64_t metri, uint64_t seme)
      : metri_(metri),
        limite_(giu_a_50(metri) - 100),
        caso_(seme),
        occupazione_((metri + 7000) / kTratto + 1) {}

  void genera() {
    conta();
    stazioni();
    rallentamenti();
    indicatori_velocita();
    cartelli_indicatori();
    segnali();
    abbattimenti();
  }

  std::vector<std::string> linea() {
    std::vector<std::string> r = {"[generale]"};
    r.push_back(formato("lunghezza percorso,    %lld", ll(metri_)));
    const int64_t due = giu_a_50(metri_ / 3);
    const int64_t tre = giu_a_50(metri_ * 2 / 3);
    r.push_back(formato("progressiva chilometrica uno,    0,    %lld,    1",
                        ll(kTratto * caso_.tra(0, 4000))));
    r.push_back(formato("progressiva chilometrica due,    %lld,    %lld,    1", ll(due),
                        ll(kTratto * caso_.tra(0, 4000))));
    r.push_back(formato("progressiva chilometrica tre,    %lld,    %lld,    1", ll(tre),
                        ll(kTratto * caso_.tra(0, 4000))));
    r.push_back("sfondo uno,    1");
    r.push_back(formato("sfondo due,    %lld", ll(giu_a_50(metri_ * caso_.tra(10, 90) / 100))));
    r.push_back("sfondo tre,    0");
    r.push_back(formato("ripetizione segnali %d codici,    %lld,    %lld",
                        caso_.su_cento(80) ? 9 : 4, ll(giu_a_50(metri_ * 3 / 10)),
                        ll(giu_a_50(metri_ * 8 / 10))));
    r.push_back("[curve]");
    curve(r);
    r.push_back("[pendenze]");
    pendenze(r);
    r.push_back("[montagne]");
    montagne(r);
    r.push_back("[cartelli]");
    r.insert(r.end(), indicatori_.begin(), indicatori_.end());
    r.push_back("[indicazioni]");
    r.insert(r.end(), cartelli_.begin(), cartelli_.end());
    r.push_back("[fine]");
    return r;
  }

  std::vector<std::string> treno() {
    std::vector<std::string> r = {"[generale]"};
    r.push_back(formato("numero vetture,    %lld", ll(caso_.tra(3, 12))));
    r.push_back(formato("percentuale massa frenata,    %lld", ll(5 * caso_.tra(16, 30))));
    r.push_back("sabbia,    100");
    r.push_back(formato("orologio,    %lld               %lld            %lld ", ll(ore_),
                        ll(minuti_), ll(secondi_)));
    r.push_back("[aderenze]");
    profilo(r, "aderenza,  %7lld,    %lld", 20000, 60, 100, 1, 100);
    r.push_back("[vel_limite]");
    profilo(r, "velocita,  %7lld,   %3lld", 6900, 6, 32, 5, 65);
    r.push_back("[stazioni]");
    for (const Stazione& s : stazioni_) r.push_back(riga_stazione(s));
    r.push_back("[rallentamenti]");
    r.insert(r.end(), rallentamenti_.begin(), rallentamenti_.end());
    r.push_back("[segnali]");
    std::sort(segnali_.begin(), segnali_.end(),
              [](const Segnale& a, const Segnale& b) { return a.posizione < b.posizione; });
    for (const Segnale& s : segnali_) r.push_back(s.riga);
    r.push_back("[codici]");
    r.insert(r.end(), abbattimenti_.begin(), abbattimenti_.end());
    r.push_back("[fine]");
    return r;
  }

 private:
  static long long ll(int64_t v) { return static_cast<long long>(v); }

  // One every `metri_per_uno` metres of route, rounded.
  int64_t ogni(int64_t metri_per_uno) const { return (metri_ + metri_per_uno / 2) / metri_per_uno; }

  // Counts in the proportions of a real line; the table limits cap the stations and boards.
  void conta() {
    stazioni_volute_ = 1 + ogni(6900);
    cartelli_voluti_ = ogni(15500);
    const int64_t insieme = stazioni_volute_ + cartelli_voluti_;
    if (insieme > kMaxStazioniECartelli) {
      stazioni_volute_ = kMaxStazioniECartelli * stazioni_volute_ / insieme;
      cartelli_voluti_ = kMaxStazioniECartelli - stazioni_volute_;
    }
  }

  // Stations: the first at 0, the last near the route end, the others evenly in between with
  // some play, each zone at least 350 m after the previous one.
  void stazioni() {
    piazza_stazioni();
    for (const Stazione& s : stazioni_) {
      if (s.con_fermata()) occupazione_.occupa(s.tratto_fermata());
    }
  }

  void piazza_stazioni() {
    ore_ = caso_.tra(5, 9);
    minuti_ = caso_.tra(0, 59);
    secondi_ = 10 * caso_.tra(0, 5);

    Stazione prima = nuova_stazione(0, 8, 400);
    prima.intero_12_flag_1 = "1,1,0";
    prima.intero_345 = "4,1,1";
    prima.sosta = 1;
    prima.nome = maiuscole(nome_di_luogo());
    prima.calcola_zona();
    stazioni_.push_back(prima);

    if (stazioni_volute_ < 2) return;
    const int64_t arretra = kTratto * caso_.tra(0, 6);
    const int64_t banchina = 100 * caso_.tra(3, 5);
    Stazione ultima = nuova_stazione(giu_a_50(metri_) - 200 - arretra, 6, banchina);
    ultima.opzione = 1;
    ultima.intero_12_flag_1 = "1,1,0";
    ultima.intero_345 = "2,1,1";
    ultima.nome = maiuscole(nome_di_luogo());
    ultima.calcola_zona();
    if (ultima.inizio - kDistanzaStazioni < prima.fine) return;

    const int64_t medie = stazioni_volute_ - 2;
    const int64_t passo = ultima.posizione / (medie + 1);
    const int64_t gioco = passo / 4 / kTratto;
    for (int64_t k = 1; k <= medie; ++k) {
      Stazione s = stazione_media(giu_a_50(passo * k) + kTratto * caso_.tra(-gioco, gioco));
      s.calcola_zona();
      const int64_t manca = stazioni_.back().fine + kDistanzaStazioni - s.inizio;
      if (manca > 0) {
        s.posizione += (manca + kTratto - 1) / kTratto * kTratto;
        s.calcola_zona();
      }
      if (s.fine + kDistanzaStazioni > ultima.inizio) continue;
      stazioni_.push_back(s);
    }
    stazioni_.push_back(ultima);
  }

  Stazione nuova_stazione(int64_t posizione, int tipo, int64_t banchina) {
    Stazione s;
    s.posizione = posizione;
    s.tipo = tipo;
    s.banchina = banchina;
    return s;
  }

  Stazione stazione_media(int64_t posizione) {
    static constexpr std::array<int, 10> kTipi = {24, 24, 24, 22, 26, 26, 27, 27, 4, 12};
    const int tipo = caso_.uno_di(kTipi);
    Stazione s = nuova_stazione(posizione, tipo, 300);
    s.intero_12_flag_1 = "0,0,0";
    s.intero_345 = "4,1,1";
    s.nome = nome_di_luogo();
    switch (tipo) {
      case 24:
        s.flag_3 = caso_.su_cento(20) ? 1 : 0;
        s.sosta = 30;
        break;
      case 22:
        s.banchina = 400;
        s.sosta = 30;
        s.nome = maiuscole(s.nome);
        break;
      case 26:
        s.banchina = 100 * caso_.tra(3, 4);
        s.intero_345 = "0,0,0";
        s.con_orario = false;
        s.nome = (caso_.su_cento(30) ? "2\xB0 Bivio " : "P.C. ") + s.nome;
        break;
      case 27:
        s.banchina = 100 * caso_.tra(2, 3);
        s.intero_345 = "0,0,0";
        s.con_orario = false;
        break;
      case 4:
        s.banchina = 100 * caso_.tra(4, 6);
        s.opzione = 1;
        s.intero_12_flag_1 = "4,1,2";
        s.intero_345 = "2,1,1";
        s.sosta = 60;
        s.nome = maiuscole(s.nome);
        break;
      default:  // 12
        s.banchina = 700;
        s.intero_12_flag_1 = "1,1,0";
        s.nome = "P.M. " + s.nome;
        break;
    }
    return s;
  }

  std::string nome_di_luogo() {
    static constexpr std::array<std::string_view, 12> kPrima = {
        "Monte",  "San",   "Borgo", "Villa", "Porto", "Castel",
        "Poggio", "Colle", "Ponte", "Torre", "Rocca", "Pian"};
    static constexpr std::array<std::string_view, 12> kDopo = {
        "Alto",  "Basso", "Nuovo",  "Vecchio", "Rosso",   "Verde",
        "Fiume", "Lago",  "Marina", "Bosco",   "Cerreto", "d'Arno"};
    std::string nome(caso_.uno_di(kPrima));
    nome += " ";
    nome += caso_.uno_di(kDopo);
    if (caso_.su_cento(10)) nome += "-" + std::string(caso_.uno_di(kDopo));
    return nome;
  }

  static std::string maiuscole(std::string s) {
    for (char& c : s) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
  }

  std::string riga_stazione(const Stazione& s) {
    int64_t ore = 0, minuti = 0, secondi = 0;
    if (s.con_orario) {
      // About 100 km/h from the start clock, one minute more per station.
      const int64_t t = (ore_ * 60 + minuti_) * 60 + secondi_ + s.posizione * 36 / 1000 +
                        60 * static_cast<int64_t>(stazioni_scritte_);
      ore = t / 3600;
      minuti = t / 60 % 60;
      secondi = t % 60 / 10 * 10;
    }
    ++stazioni_scritte_;
    return formato(
        "stazione,  %7lld, %2d,  %3lld,  %d, 0, %d,  %s,  %s,   %3d,   %lld,%2lld,%2lld, %s",
        ll(s.posizione), s.tipo, ll(s.banchina), s.opzione, s.flag_3, s.intero_12_flag_1.c_str(),
        s.intero_345.c_str(), s.sosta, ll(ore), ll(minuti), ll(secondi), s.nome.c_str());
  }

  // Slowdowns, about one every 20 km, each with the stretches around it kept free.
  void rallentamenti() {
    const int64_t n = (metri_ + 10000) / 20000;
    static constexpr std::array<int, 7> kVelocita = {30, 50, 50, 60, 80, 100, 120};
    for (int64_t j = 0; j < n; ++j) {
      const Parte p = parte(j, n, 3000, limite_);
      if (p.fine < p.inizio) continue;
      const int64_t lunghezza = kTratto * caso_.tra(4, 40);
      const int64_t posti = (p.fine - p.inizio) / kTratto + 1;
      const int64_t via = caso_.tra(0, posti - 1);
      for (int64_t t = 0; t < posti; ++t) {
        const int64_t x = p.inizio + kTratto * ((via + t) % posti);
        const int64_t i = tratto_di(x);
        const int64_t e = tratto_di(x + lunghezza);
        const int64_t da = i - kRiservatiPrima;
        const int64_t a = e + kRiservatiDopo;
        if (da < tratto_di(kInizioOggetti) || a > tratto_di(limite_)) continue;
        if (!occupazione_.liberi(da, a)) continue;
        metti_rallentamento(x, lunghezza, caso_.uno_di(kVelocita));
        break;
      }
    }
  }

  void metti_rallentamento(int64_t x, int64_t lunghezza, int velocita) {
    const int64_t i = tratto_di(x);
    const int64_t e = tratto_di(x + lunghezza);
    const int64_t avviso = i - 24;
    const bool tutto_il_treno = caso_.su_cento(50);
    const bool marcati = caso_.su_cento(50);
    const int cartello = caso_.su_cento(50) ? velocita : 0;
    occupazione_.riserva(i - kRiservatiPrima, e + kRiservatiDopo);
    occupazione_.occupa(avviso);
    occupazione_.occupa(i);
    occupazione_.occupa(e);
    if (marcati) {
      for (int64_t k = 1; k <= 4; ++k) occupazione_.occupa(avviso - k);
    }
    rallentamenti_.push_back(formato("rallentamento,  %7lld,    %3d, %4lld, %d,  %d,  %d", ll(x),
                                     velocita, ll(lunghezza), tutto_il_treno ? 1 : 0,
                                     marcati ? 1 : 0, cartello));
    // A signal in the 1000 m before the warning board, and one in the 600 m after the end, each
    // with the two stretches before it free for its code marker.
    if (caso_.su_cento(70)) segnale_su(avviso - caso_.tra(8, 20));
    if (caso_.su_cento(70)) segnale_su(e + caso_.tra(2, 12));
  }

  void segnale_su(int64_t tratto) {
    occupazione_.occupa(tratto);
    const int64_t posizione = (tratto - 1) * kTratto;
    segnali_.push_back({posizione, riga_segnale(posizione)});
  }

  std::string riga_segnale(int64_t posizione) {
    // One draw per statement: the order in which function arguments are evaluated is not fixed,
    // and the same seed must give the same file with every compiler.
    if (caso_.su_cento(30)) {
      const int64_t s2 = caso_.tra(0, 2);
      const int64_t dx = caso_.tra(0, 1);
      return formato("segnale,  %7lld,   1, 1, %lld,  0, 0,    %lld,  %lld,0,0, 0", ll(posizione),
                     ll(s2), ll(dx), ll(dx));
    }
    static constexpr std::array<int, 6> kTempi = {0, 0, 0, 110, 210, 250};
    std::array<int64_t, 8> v{};
    static constexpr std::array<int64_t, 8> kMassimi = {7, 4, 1, 2, 2, 3, 2, 1};
    for (size_t k = 0; k < v.size(); ++k) v[k] = caso_.tra(k == 0 ? 2 : 0, kMassimi[k]);
    const int tempo = caso_.uno_di(kTempi);
    return formato("segnale,  %7lld,   2, %lld, %lld,  %lld, %lld,    %lld,  %lld,%lld,%lld, %d",
                   ll(posizione), ll(v[0]), ll(v[1]), ll(v[2]), ll(v[3]), ll(v[4]), ll(v[5]),
                   ll(v[6]), ll(v[7]), tempo);
  }

  // Takes the stretch of a point object at `posizione` when it is free.
  bool prendi(int64_t posizione) {
    const int64_t s = tratto_di(posizione);
    if (!occupazione_.libero(s)) return false;
    occupazione_.occupa(s);
    return true;
  }

  void indicatori_velocita() {
    sparpaglia(caso_, ogni(6500), kInizioOggetti, limite_, [this](int64_t p) {
      if (!prendi(p)) return false;
      const int64_t a = 5 * caso_.tra(6, 32);
      const int64_t b = a + 5 * caso_.tra(0, 2);
      const int64_t c = b + 5 * caso_.tra(0, 2);
      const int64_t strisce = caso_.su_cento(80) ? 0 : caso_.tra(1, 2);
      if (caso_.su_cento(70)) {
        indicatori_.push_back(
            formato("indicatori_vmax,  %lld,  %lld,  %lld,  %lld,  %lld,  ,  ,  ,  0", ll(p), ll(a),
                    ll(b), ll(c), ll(strisce)));
      } else {
        indicatori_.push_back(
            formato("indicatori_vmax,  %lld,  %lld,  %lld,  %lld,  %lld,  %lld,  %lld,  %lld,  0",
                    ll(p), ll(a), ll(b), ll(c), ll(strisce), ll(a), ll(b), ll(c)));
      }
      return true;
    });
  }

  void cartelli_indicatori() {
    static constexpr std::array<std::string_view, 10> kTesti = {
        "(Ponte Fiume)(  Tevere   )",
        "(1\xB0 BIVIO)(NORD)",
        "(Galleria)",
        "(Doppio Bivio)(Innesto   )",
        "(Dev. U.         )(Scalo Merci)(Innesto L. Merci)",
        "(Viadotto)",
        "(2\xB0 BIVIO)(SUD)",
        "(Posto di Blocco)",
        "(Fine Linea)(Banalizzata)",
        "(Scalo)"};
    sparpaglia(caso_, cartelli_voluti_, kInizioOggetti, limite_, [this](int64_t p) {
      if (!prendi(p)) return false;
      cartelli_.push_back(formato("cartello_indicatore,  %lld,   %s", ll(p),
                                  std::string(caso_.uno_di(kTesti)).c_str()));
      return true;
    });
  }

  void segnali() {
    sparpaglia(caso_, ogni(2800), kInizioOggetti, limite_, [this](int64_t p) {
      if (!prendi(p)) return false;
      segnali_.push_back({p, riga_segnale(p)});
      return true;
    });
  }

  // Code change points (270 and a few other values) and code cuts ("AC"), on stretch p / 50.
  void abbattimenti() {
    sparpaglia(caso_, ogni(7300), kInizioOggetti, limite_, [this](int64_t p) {
      const int64_t s = p / kTratto;
      if (!occupazione_.libero(s)) return false;
      occupazione_.occupa(s);
      const int64_t scelta = caso_.tra(0, 9);
      if (scelta < 2) {
        abbattimenti_.push_back(formato("abbattimento,  %7lld,   AC", ll(p)));
      } else {
        abbattimenti_.push_back(
            formato("abbattimento,  %7lld,   %d", ll(p), scelta < 9 ? 270 : 75));
      }
      return true;
    });
  }

  // Curves, one per part of the route, starting in the first half of their part and ending
  // inside it.
  void curve(std::vector<std::string>& r) {
    const int64_t n = ogni(1650);
    for (int64_t j = 0; j < n; ++j) {
      const Parte p = parte(j, n, 200, limite_);
      const int64_t posti = (p.fine - p.inizio) / kTratto;
      if (posti < 2) continue;
      const int64_t inizio = p.inizio + kTratto * caso_.tra(0, posti / 2);
      const int64_t classe = caso_.tra(1, 6);
      const int64_t massimo = std::min<int64_t>((p.fine - inizio) / kTratto, classe >= 5 ? 6 : 52);
      const int64_t lunghezza = kTratto * caso_.tra(1, std::max<int64_t>(1, massimo));
      r.push_back(formato("curva%c%lld,  %lld,  %lld", caso_.su_cento(50) ? 'd' : 's', ll(classe),
                          ll(inizio), ll(lunghezza)));
    }
  }

  // Gradients as a bounded random walk, level at the start.
  void pendenze(std::vector<std::string>& r) {
    r.push_back("pendenza,   0,    0");
    int64_t valore = 0;
    sparpaglia(caso_, ogni(2000), 100, limite_, [&](int64_t p) {
      valore = std::clamp<int64_t>(valore + caso_.tra(-8, 8), -35, 35);
      r.push_back(formato("pendenza,  %lld,   %lld", ll(p), ll(valore)));
      return true;
    });
  }

  // Mountains, at most 80, each inside its own part of the route.
  void montagne(std::vector<std::string>& r) {
    static constexpr std::array<int, 4> kTipi = {1, 2, 11, 12};
    const int64_t n = std::min(kMaxMontagne, ogni(6200));
    for (int64_t j = 0; j < n; ++j) {
      const Parte p = parte(j, n, 0, limite_);
      const int64_t posti = (p.fine - p.inizio) / kTratto;
      if (posti < 3) continue;
      const int64_t inizio = p.inizio + kTratto * caso_.tra(0, posti / 2);
      const int64_t massimo = std::min<int64_t>((p.fine - inizio) / kTratto, 40);
      const int64_t fine = inizio + kTratto * caso_.tra(1, massimo);
      r.push_back(
          formato("montagna,   %lld,  %lld,  %d", ll(inizio), ll(fine), caso_.uno_di(kTipi)));
    }
  }

  // A profile of the train file (adhesion or speed): a value from 0, then one per part.
  void profilo(std::vector<std::string>& r, const char* modello, int64_t metri_per_uno,
               int64_t minimo, int64_t massimo, int64_t unita, int64_t iniziale) {
    r.push_back(formato(modello, 0LL, ll(iniziale)));
    sparpaglia(caso_, ogni(metri_per_uno), kTratto, limite_, [&](int64_t p) {
      r.push_back(formato(modello, ll(p), ll(unita * caso_.tra(minimo, massimo))));
      return true;
    });
  }

  const int64_t metri_;
  const int64_t limite_;
  Caso caso_;
  Occupazione occupazione_;
  int64_t stazioni_volute_ = 0;
  int64_t cartelli_voluti_ = 0;
  int64_t ore_ = 0, minuti_ = 0, secondi_ = 0;
  size_t stazioni_scritte_ = 0;
  std::vector<Stazione> stazioni_;
  std::vector<std::string> rallentamenti_;
  std::vector<Segnale> segnali_;
  std::vector<std::string> indicatori_;
  std::vector<std::string> cartelli_;
  std::vector<std::string> abbattimenti_;
};

bool scrivi(const fs::path& file, const std::vector<std::string>& righe) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  for (const std::string& r : righe) out << r << "\r\n";
  out.close();
  if (!out) {
    std::cerr << "genera_scenario: impossibile scrivere '" << file.string() << "'\n";
    return false;
  }
  return true;
}

bool nome_valido(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '-' || c == '_';
  });
}

template <typename T>
bool numero(std::string_view testo, T& valore) {
  const auto [fine, errore] = std::from_chars(testo.data(), testo.data() + testo.size(), valore);
  return errore == std::errc{} && fine == testo.data() + testo.size();
}

int errore_uso(const std::string& messaggio) {
  std::cerr << "genera_scenario: " << messaggio << "\nUsa 'genera_scenario --help' per l'uso.\n";
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  int64_t metri = -1;
  uint64_t seme = 1;
  std::string nome, treno, cartella;
  for (int k = 1; k < argc; ++k) {
    const std::string_view a = argv[k];
    if (a == "--help" || a == "-h") {
      std::cout << kAiuto;
      return 0;
    }
    if (a != "--metri" && a != "--seme" && a != "--nome" && a != "--treno" && a != "--dir") {
      return errore_uso("opzione sconosciuta '" + std::string(a) + "'");
    }
    if (k + 1 >= argc) return errore_uso("manca il valore di '" + std::string(a) + "'");
    const std::string_view v = argv[++k];
    if (a == "--metri") {
      if (!numero(v, metri) || metri < kMetriMinimi || metri > kMetriMassimi) {
        return errore_uso("--metri vuole un numero da 1000 a 1000000, non '" + std::string(v) +
                          "'");
      }
    } else if (a == "--seme") {
      if (!numero(v, seme)) return errore_uso("--seme vuole un numero intero non negativo");
    } else if (a == "--nome") {
      nome = v;
    } else if (a == "--treno") {
      treno = v;
    } else {
      cartella = v;
    }
  }
  if (metri < 0) return errore_uso("manca --metri");
  if (!nome_valido(nome)) return errore_uso("--nome vuole lettere, cifre, '.', '-' o '_'");
  if (!nome_valido(treno)) return errore_uso("--treno vuole lettere, cifre, '.', '-' o '_'");
  if (cartella.empty()) return errore_uso("manca --dir");

  std::error_code ec;
  fs::create_directories(cartella, ec);
  if (ec) {
    std::cerr << "genera_scenario: impossibile creare la cartella '" << cartella
              << "': " << ec.message() << "\n";
    return 1;
  }
  Generatore g(metri, seme);
  g.genera();
  const fs::path dir(cartella);
  if (!scrivi(dir / (nome + "_linea.txt"), g.linea())) return 1;
  if (!scrivi(dir / (nome + "_" + treno + "-.txt"), g.treno())) return 1;
  return 0;
}
