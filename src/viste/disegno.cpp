#include "viste/disegno.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>

#include "formato/punti_tracciato.h"
#include "io/file_sicuro.h"
#include "model/italiano.h"
#include "viste/descrizione.h"
#include "viste/posizioni.h"

namespace compattatore {
namespace {

// Colours. The route line of the map and the gradient fill of the profile appear nowhere else,
// so that a picture of the page shows where each part is.
constexpr const char* kLinea = "#0b7a75";
constexpr const char* kPendenza = "#c77c3a";
constexpr const char* kPendenzaBordo = "#8d5524";
constexpr const char* kVelocita = "#1565c0";
constexpr const char* kAderenza = "#7b1fa2";
constexpr const char* kStazione = "#263238";
constexpr const char* kSegnale = "#d32f2f";
constexpr const char* kAvviso = "#ffcc80";
constexpr const char* kRallentamento = "#ef6c00";
constexpr const char* kCodice = "#2e7d32";
constexpr const char* kTaglio = "#212121";
constexpr const char* kCartello = "#455a64";
constexpr const char* kGriglia = "#e0e0e0";
constexpr const char* kMontagna[] = {"#d7ccc8", "#bcaaa4", "#8d6e63", "#5d4037"};
// The route's end, on the map and across the profile, and the map's line beyond it (the tail).
constexpr const char* kFine = "#ff1744";
constexpr const char* kCoda = "#9fc9c6";

// Width of both drawings in SVG units (about CSS pixels on a wide screen).
constexpr double kLarghezza = 1600;

std::string xml(std::string_view t) {
  std::string s;
  for (char c : t) {
    switch (c) {
      case '&':
        s += "&amp;";
        break;
      case '<':
        s += "&lt;";
        break;
      case '>':
        s += "&gt;";
        break;
      case '"':
        s += "&quot;";
        break;
      default:
        s += c;
    }
  }
  return s;
}

// Approximate width of a text in the sans-serif font of the page (DejaVu Sans widths by kind of
// character, in em), a little more in bold.
double larghezza_testo(std::string_view t, double corpo, bool grassetto = false) {
  double em = 0;
  for (const char ch : t) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c & 0xC0) == 0x80) continue;  // inside a UTF-8 character
    if (c >= 'A' && c <= 'Z') {
      em += 0.70;
    } else if (c >= '0' && c <= '9') {
      em += 0.64;
    } else if (c == ' ' || c == '.' || c == ',' || c == '\'' || c == '-' || c == 'i' || c == 'l') {
      em += 0.34;
    } else {
      em += 0.60;
    }
  }
  return em * corpo * (grassetto ? 1.12 : 1.0);
}

std::string km_testo(double metri, int decimali = 1) {
  std::string s = formatta("%.*f", decimali, metri / 1000.0);
  std::replace(s.begin(), s.end(), '.', ',');
  return s;
}

// A round step of at least `minimo`: 1, 2 or 5 times a power of ten.
double passo_tondo(double minimo) {
  const double potenza = std::pow(10.0, std::floor(std::log10(std::max(minimo, 1e-9))));
  for (double m : {1.0, 2.0, 5.0, 10.0}) {
    if (m * potenza >= minimo) return m * potenza;
  }
  return 10 * potenza;
}

struct Rettangolo {
  double x0, y0, x1, y1;
  bool tocca(const Rettangolo& r) const { return x0 < r.x1 && r.x0 < x1 && y0 < r.y1 && r.y0 < y1; }
};

// ---------------------------------------------------------------------------------------------
// The map.

// Where a label goes: its anchor and alignment, and where a leader line from its mark ends.
struct Posto {
  PuntoPagina ancora;
  const char* allineamento;
  std::optional<PuntoPagina> richiamo;
};

// The labels of the map, kept apart from one another, from the marks and from the route line,
// within a drawing `larghezza` × `altezza` (less a band at the bottom for the scale and legend).
class Etichette {
 public:
  Etichette(double larghezza, double altezza) : larghezza_(larghezza), altezza_(altezza) {}

  void occupa(const Rettangolo& r) { occupati_.push_back(r); }

  // The route line is no place for a label: a small square every 4 units along it.
  void occupa_linea(const std::vector<PuntoPagina>& linea) {
    for (size_t i = 1; i < linea.size(); ++i) {
      const PuntoPagina a = linea[i - 1];
      const PuntoPagina b = linea[i];
      const double l = std::hypot(b.x - a.x, b.y - a.y);
      for (double t = 0; t <= l; t += 4) {
        const double px = a.x + (b.x - a.x) * t / std::max(l, 1e-9);
        const double py = a.y + (b.y - a.y) * t / std::max(l, 1e-9);
        occupa({px - 2, py - 2, px + 2, py + 2});
      }
    }
  }

  // A free place for a label of `testo` near `p`: beside the route first (along the normal
  // `nrm`, farther and farther with a leader line, `scalini` steps), then above, below, right,
  // left. The place found is taken.
  std::optional<Posto> poni(const PuntoPagina& p, const PuntoPagina& nrm, const std::string& testo,
                            double corpo, bool grassetto, double distanza, int scalini) {
    const double w = larghezza_testo(testo, corpo, grassetto);
    std::vector<std::pair<PuntoPagina, double>> candidati;
    for (int k = 0; k < scalini; ++k) {
      const double d = distanza + k * 1.4 * corpo;
      candidati.push_back({nrm, d});
      candidati.push_back({{-nrm.x, -nrm.y}, d});
    }
    for (const PuntoPagina& d :
         {PuntoPagina{0, -1}, PuntoPagina{0, 1}, PuntoPagina{1, 0}, PuntoPagina{-1, 0}}) {
      candidati.push_back({d, distanza});
    }
    for (const auto& [d, dist] : candidati) {
      const double ax = p.x + d.x * dist;
      const double ay = p.y + d.y * dist;
      // Text to the right of the anchor when the offset points right, and so on.
      const char* ancora = d.x > 0.35 ? "start" : d.x < -0.35 ? "end" : "middle";
      const double sx = d.x > 0.35 ? ax : d.x < -0.35 ? ax - w : ax - w / 2;
      const double base = ay + corpo * (d.y > 0.35 ? 0.9 : d.y < -0.35 ? 0 : 0.35);
      const Rettangolo box{sx - 3, base - corpo, sx + w + 3, base + 0.3 * corpo};
      if (box.x0 < 2 || box.x1 > larghezza_ - 2 || box.y0 < 2 || box.y1 > altezza_ - 30) continue;
      if (!libero(box)) continue;
      occupa(box);
      Posto posto{{ax, base}, ancora, std::nullopt};
      if (dist > distanza) posto.richiamo = PuntoPagina{ax - d.x * 2, ay - d.y * 2};
      return posto;
    }
    return std::nullopt;
  }

 private:
  bool libero(const Rettangolo& r) const {
    return std::none_of(occupati_.begin(), occupati_.end(),
                        [&r](const Rettangolo& o) { return o.tocca(r); });
  }

  double larghezza_;
  double altezza_;
  std::vector<Rettangolo> occupati_;
};

// The points of the plan that hold a value: from 0 up to the first empty or infinite one.
std::vector<PuntoPagina> punti_tracciato_pieni(const Tracciato& t) {
  namespace pt = punti_tracciato;
  const size_t n = pt::numero(t);
  std::vector<PuntoPagina> punti;
  punti.reserve(n);
  for (size_t i = 0; i < n; ++i) {
    const auto x = pt::valore(pt::coordinata(t, 0, i));
    const auto y = pt::valore(pt::coordinata(t, 1, i));
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) break;
    punti.push_back({*x, *y});
  }
  return punti;
}

// The plan placed in the drawing: equal scale on both axes, north (growing coordinate 1) up,
// room for labels around.
struct Inquadratura {
  double x0, y0;  // the plan's smallest coordinates
  double scala;   // drawing units per metre
  double ox, oy;  // where (x0, y0) lands
  double altezza;
  PuntoPagina in_svg(const PuntoPagina& p) const {
    return {ox + (p.x - x0) * scala, oy - (p.y - y0) * scala};
  }
};

std::optional<Inquadratura> inquadra(const std::vector<PuntoPagina>& punti) {
  double x0 = punti[0].x, x1 = x0, y0 = punti[0].y, y1 = y0;
  for (const PuntoPagina& p : punti) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  if (!std::isfinite(x1 - x0) || !std::isfinite(y1 - y0)) return std::nullopt;  // no scale fits
  constexpr double kMargine = 90;
  constexpr double kAltezzaMassima = 720;
  const double dx = std::max(x1 - x0, 1.0);
  const double dy = std::max(y1 - y0, 1.0);
  Inquadratura q{x0, y0, 0, 0, 0, 0};
  q.scala = std::min((kLarghezza - 2 * kMargine) / dx, (kAltezzaMassima - 2 * kMargine) / dy);
  q.altezza = std::max(dy * q.scala + 2 * kMargine, 320.0);
  q.ox = (kLarghezza - dx * q.scala) / 2;
  q.oy = (q.altezza + dy * q.scala) / 2;
  return q;
}

// The map: the route line, stations and signals marked and named where there is room, a scale
// bar and a legend.
class Mappa {
 public:
  // `punti` are taken over and moved into drawing units in place: a long route's points are held
  // once.
  Mappa(const Descrizione& r, std::vector<PuntoPagina> punti, const Inquadratura& q)
      : r_(r), q_(q), etichette_(kLarghezza, q.altezza), disegnati_(std::move(punti)) {
    for (PuntoPagina& p : disegnati_) p = q.in_svg(p);
    // One point per metre: the route ends at the point of its length, the tail runs on.
    const size_t fine = r.lunghezza > 0 ? static_cast<size_t>(r.lunghezza) : disegnati_.size();
    if (fine + 1 < disegnati_.size()) {
      fine_ = disegnati_[fine];
      linea_ = sfoltisci(
          {disegnati_.begin(), disegnati_.begin() + static_cast<ptrdiff_t>(fine) + 1}, 1.0);
      coda_ = sfoltisci({disegnati_.begin() + static_cast<ptrdiff_t>(fine), disegnati_.end()}, 1.0);
    } else {
      linea_ = sfoltisci(disegnati_, 1.0);
    }
  }

  std::string svg() {
    std::string s = formatta(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %.0f %.0f\" role=\"img\" "
        "aria-label=\"Mappa del tracciato\" class=\"mappa\" data-punti=\"%zu\">\n",
        kLarghezza, q_.altezza, linea_.size());
    s += formatta(
        "<rect x=\"0.5\" y=\"0.5\" width=\"%.0f\" height=\"%.0f\" fill=\"#fbfbf8\" "
        "stroke=\"#bdbdbd\"/>\n",
        kLarghezza - 1, q_.altezza - 1);
    s += polilinea(linea_, formatta("stroke=\"%s\" stroke-width=\"3.5\" stroke-linejoin=\"round\" "
                                    "stroke-linecap=\"round\"",
                                    kLinea)) +
         "/>\n";
    if (!coda_.empty()) {
      s += polilinea(coda_,
                     formatta("stroke=\"%s\" stroke-width=\"2\" stroke-dasharray=\"6 4\"", kCoda)) +
           "><title>coda oltre la fine del percorso (7 km)</title></polyline>\n";
    }
    // The scale bar and the legend keep their place; stations first: their names matter most.
    s += scala_e_legenda();
    segni_stazioni();
    etichette_.occupa_linea(linea_);
    etichette_.occupa_linea(coda_);
    fine_percorso();
    nomi_stazioni();
    segnali();
    s += richiami_ + segni_ + nomi_;
    return s + "</svg>\n";
  }

 private:
  // The point of the route at `posizione` metres.
  PuntoPagina punto(int64_t posizione) const {
    const auto i = static_cast<size_t>(
        std::clamp<int64_t>(posizione, 0, static_cast<int64_t>(disegnati_.size()) - 1));
    return disegnati_[i];
  }
  // The direction across the route at `posizione`.
  PuntoPagina normale(int64_t posizione) const {
    const PuntoPagina a = punto(posizione - 200);
    const PuntoPagina b = punto(posizione + 200);
    const double l = std::hypot(b.x - a.x, b.y - a.y);
    if (l < 1e-9) return PuntoPagina{0, -1};
    return PuntoPagina{(a.y - b.y) / l, (b.x - a.x) / l};
  }

  // The opening of a polyline through `punti`, with the attributes `stile`.
  static std::string polilinea(const std::vector<PuntoPagina>& punti, const std::string& stile) {
    std::string s = "<polyline fill=\"none\" " + stile + " points=\"";
    for (const PuntoPagina& p : punti) s += formatta("%.1f,%.1f ", p.x, p.y);
    return s + "\"";
  }

  // A bar across the line where the route ends, named where there is room.
  void fine_percorso() {
    if (!fine_) return;
    const PuntoPagina p = *fine_;
    const PuntoPagina n = normale(r_.lunghezza);
    segni_ += formatta(
        "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" "
        "stroke-width=\"4\"><title>fine del percorso (%s km)</title></line>\n",
        p.x - 9 * n.x, p.y - 9 * n.y, p.x + 9 * n.x, p.y + 9 * n.y, kFine,
        km_testo(r_.lunghezza).c_str());
    etichette_.occupa({p.x - 10, p.y - 10, p.x + 10, p.y + 10});
    const auto dove = etichette_.poni(p, n, "fine del percorso", 11, false, 14, 4);
    if (!dove) return;
    nomi_ += formatta("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"%s\" class=\"fine\">",
                      dove->ancora.x, dove->ancora.y, dove->allineamento) +
             "fine del percorso</text>\n";
  }

  void segni_stazioni() {
    for (const Stazione& st : r_.stazioni) {
      const PuntoPagina p = punto(st.posizione);
      segni_ += formatta(
                    "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"6\" fill=\"#fff\" stroke=\"%s\" "
                    "stroke-width=\"2.5\"><title>",
                    p.x, p.y, kStazione) +
                xml(st.nome) +
                formatta(" (%s km)</title></circle>\n", km_testo(st.posizione).c_str());
      etichette_.occupa({p.x - 7, p.y - 7, p.x + 7, p.y + 7});
    }
  }

  void nomi_stazioni() {
    for (const Stazione& st : r_.stazioni) {
      const PuntoPagina p = punto(st.posizione);
      const auto dove = etichette_.poni(p, normale(st.posizione), st.nome, 14, true, 12, 6);
      if (!dove) continue;
      if (dove->richiamo) {
        richiami_ +=
            formatta("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#90a4ae\"/>\n",
                     p.x, p.y, dove->richiamo->x, dove->richiamo->y);
      }
      nomi_ += formatta("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"%s\" class=\"nome\">",
                        dove->ancora.x, dove->ancora.y, dove->allineamento) +
               xml(st.nome) + "</text>\n";
    }
  }

  // Signals, named by their chainage.
  void segnali() {
    for (const SegnaleLetto& g : r_.segnali) {
      const int64_t pos = posizione_dell_oggetto(oggetto::segnale, g.tratto);
      const PuntoPagina p = punto(pos);
      const auto c = progressiva(r_, pos);
      const std::string nome =
          c ? km(*c) : formatta("%s km", km_testo(static_cast<double>(pos)).c_str());
      segni_ += formatta("<circle cx=\"%.1f\" cy=\"%.1f\" r=\"3.2\" fill=\"%s\"><title>Segnale ",
                         p.x, p.y, kSegnale) +
                xml(nome) +
                formatta(" (%s km dall'inizio)</title></circle>\n",
                         km_testo(static_cast<double>(pos), 2).c_str());
      const auto dove = etichette_.poni(p, normale(pos), nome, 10, false, 7, 1);
      if (!dove) continue;
      nomi_ += formatta("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"%s\" class=\"segnale\">",
                        dove->ancora.x, dove->ancora.y, dove->allineamento) +
               xml(nome) + "</text>\n";
    }
  }

  // Scale bar and legend, bottom left and right: no label goes on them.
  std::string scala_e_legenda() {
    const double metri_barra = passo_tondo(160 / q_.scala);
    const double barra = metri_barra * q_.scala;
    const double by = q_.altezza - 24;
    const double legenda = kLarghezza - 560;
    etichette_.occupa({14, by - 20, 20 + std::max(barra, 60.0) + 6, by + 10});
    etichette_.occupa({legenda - 6, by - 12, kLarghezza - 4, by + 12});
    std::string s = formatta(
        "<g class=\"scala\"><rect x=\"20\" y=\"%.1f\" width=\"%.1f\" height=\"6\" "
        "fill=\"#424242\"/><text x=\"20\" y=\"%.1f\">%s km</text></g>\n",
        by, barra, by - 6, km_testo(metri_barra, metri_barra < 1000 ? 1 : 0).c_str());
    s += formatta(
        "<g class=\"legenda\" transform=\"translate(%.0f,%.1f)\">"
        "<line x1=\"0\" y1=\"-4\" x2=\"26\" y2=\"-4\" stroke=\"%s\" stroke-width=\"3.5\"/>"
        "<text x=\"32\" y=\"0\">linea</text>"
        "<circle cx=\"92\" cy=\"-4\" r=\"6\" fill=\"#fff\" stroke=\"%s\" stroke-width=\"2.5\"/>"
        "<text x=\"104\" y=\"0\">stazione</text>"
        "<circle cx=\"196\" cy=\"-4\" r=\"3.2\" fill=\"%s\"/>"
        "<text x=\"206\" y=\"0\">segnale (progressiva)</text>"
        "<line x1=\"360\" y1=\"-11\" x2=\"360\" y2=\"3\" stroke=\"%s\" stroke-width=\"4\"/>"
        "<line x1=\"364\" y1=\"-4\" x2=\"388\" y2=\"-4\" stroke=\"%s\" stroke-width=\"2\" "
        "stroke-dasharray=\"6 4\"/><text x=\"394\" y=\"0\">fine del percorso, coda</text></g>\n",
        legenda, by + 6, kLinea, kStazione, kSegnale, kFine, kCoda);
    return s;
  }

  const Descrizione& r_;
  const Inquadratura q_;
  Etichette etichette_;
  std::vector<PuntoPagina> disegnati_;  // every point of the route, in drawing units
  std::vector<PuntoPagina> linea_;      // the same thinned, up to the route's end
  std::vector<PuntoPagina> coda_;       // the tail beyond it, thinned
  std::optional<PuntoPagina> fine_;     // where the route ends
  std::string richiami_, segni_, nomi_;
};

// The map's SVG, or nothing without a plan of at least two points.
std::optional<std::string> mappa(const Modello& m, const Descrizione& r) {
  std::vector<PuntoPagina> punti = punti_tracciato_pieni(m.tracciato);
  if (punti.size() < 2) return std::nullopt;
  const auto q = inquadra(punti);
  if (!q) return std::nullopt;
  return Mappa(r, std::move(punti), *q).svg();
}

// ---------------------------------------------------------------------------------------------
// The profile.

class Profilo {
 public:
  Profilo(const Modello& m, const Descrizione& r)
      : r_(r),
        parti_(parti_percorso(r.lunghezza > 0 ? std::optional<int64_t>(r.lunghezza) : std::nullopt,
                              r.ultimo_tratto)),
        pendenze_(scritte(r.pendenze)),
        velocita_tratte_(scritte(r.velocita)),
        aderenze_(scritte(r.aderenze)) {
    lunghezza_ = std::max<double>(inizio_tratto(m.ultimo_tratto() + 1), 1);
  }

  std::string svg() {
    intestazione_ = riga(34);
    stazioni_ = riga(150);
    pendenza_ = riga(150);
    velocita_ = riga(130);
    aderenza_ = riga(70);
    segnali_ = riga(26);
    rallentamenti_ = riga(30);
    codici_ = riga(26);
    cartelli_ = riga(30);
    montagne_ = riga(26);
    asse_ = riga(44);
    legenda_ = riga(70);

    griglia();
    progressive();
    righe_stazioni();
    grafico_pendenza();
    grafico_velocita();
    grafico_aderenza();
    simboli();
    asse_distanze();
    legenda();

    std::string s = formatta(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 %.0f %.0f\" role=\"img\" "
        "aria-label=\"Profilo lungo il percorso\" class=\"profilo\">\n",
        kLarghezza, y_);
    s += formatta(
        "<rect x=\"0.5\" y=\"0.5\" width=\"%.0f\" height=\"%.0f\" fill=\"#fff\" "
        "stroke=\"#bdbdbd\"/>\n",
        kLarghezza - 1, y_ - 1);
    return s + fondo_ + corpo_ + "</svg>\n";
  }

 private:
  struct Riga {
    double y0, y1;
  };
  static constexpr double kSinistra = 176;
  static constexpr double kDestra = 24;

  // The runs of a profile that lines write: the tail's last stretches, which none fills, are left
  // out (their bytes 0 would read as a drop to −100 ‰, 0 km/h and adhesion 0).
  std::vector<Tratta> scritte(const std::vector<Tratta>& tratte) const {
    std::vector<Tratta> r;
    for (const Tratta& t : tratte) {
      if (t.primo >= parti_.primo_senza_profilo) break;
      r.push_back({t.primo, std::min(t.ultimo, parti_.primo_senza_profilo - 1), t.valore});
    }
    return r;
  }

  Riga riga(double altezza) {
    Riga r{y_, y_ + altezza};
    y_ += altezza;
    return r;
  }
  double x(double metri) const {
    return kSinistra + metri / lunghezza_ * (kLarghezza - kSinistra - kDestra);
  }
  void titolo(const Riga& r, const char* testo, const char* sotto = nullptr) {
    const double mezzo = (r.y0 + r.y1) / 2;
    corpo_ += formatta("<text x=\"16\" y=\"%.1f\" class=\"riga\">%s</text>\n",
                       sotto ? mezzo - 2 : mezzo + 4, testo);
    if (sotto)
      corpo_ +=
          formatta("<text x=\"16\" y=\"%.1f\" class=\"unita\">%s</text>\n", mezzo + 13, sotto);
  }
  void separa(const Riga& r) {
    fondo_ +=
        formatta("<line x1=\"%.0f\" y1=\"%.1f\" x2=\"%.0f\" y2=\"%.1f\" stroke=\"#bdbdbd\"/>\n",
                 12.0, r.y1, kLarghezza - 12, r.y1);
  }

  // Vertical lines every few km, and at every station, across the plots.
  void griglia() {
    const double passo = passo_tondo(lunghezza_ / 26);
    for (double p = 0; p <= lunghezza_; p += passo) {
      fondo_ += formatta("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\"/>\n",
                         x(p), pendenza_.y0, x(p), montagne_.y1, kGriglia);
    }
    for (const Stazione& st : r_.stazioni) {
      fondo_ += formatta(
          "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#b0bec5\" "
          "stroke-dasharray=\"3 3\"/>\n",
          x(st.posizione), stazioni_.y1 - 6, x(st.posizione), montagne_.y1);
    }
    // The tail, shaded, from a line at the route's end.
    if (r_.lunghezza > 0 && r_.lunghezza < lunghezza_) {
      const double f = x(r_.lunghezza);
      fondo_ += formatta(
          "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#f5f5f5\"/>\n", f,
          pendenza_.y0, x(lunghezza_) - f, montagne_.y1 - pendenza_.y0);
      corpo_ += formatta(
          "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"%s\" "
          "stroke-width=\"2\"><title>fine del percorso (%s km); oltre, la coda di 7 km"
          "</title></line>\n",
          f, stazioni_.y0, f, montagne_.y1, kFine, km_testo(r_.lunghezza).c_str());
      corpo_ += formatta(
          "<text x=\"%.1f\" y=\"%.1f\" class=\"nota\" text-anchor=\"end\">fine del "
          "percorso</text>\n<text x=\"%.1f\" y=\"%.1f\" class=\"nota\">coda</text>\n",
          f - 4, stazioni_.y0 + 12, f + 4, pendenza_.y0 + 12);
    }
    for (const Riga* r : {&intestazione_, &stazioni_, &pendenza_, &velocita_, &aderenza_, &segnali_,
                          &rallentamenti_, &codici_, &cartelli_, &montagne_}) {
      separa(*r);
    }
  }

  // The kilometric chainage on top: ticks at round values within each section.
  void progressive() {
    const Riga& r = intestazione_;
    titolo(r, "Progressiva", "km");
    if (r_.sezioni.empty()) {
      corpo_ += formatta(
          "<text x=\"%.0f\" y=\"%.1f\" class=\"nota\">nessuna progressiva "
          "chilometrica</text>\n",
          kSinistra, r.y1 - 12);
      return;
    }
    const double passo = passo_tondo(lunghezza_ / 26);
    std::vector<std::pair<double, double>> tacche;  // x, chainage
    for (size_t i = 0; i < r_.sezioni.size(); ++i) {
      const SezioneKm& z = r_.sezioni[i];
      const double da = std::max<double>(z.inizio, 0);
      const double a = std::min<double>(
          i + 1 < r_.sezioni.size() ? r_.sezioni[i + 1].inizio : lunghezza_, lunghezza_);
      if (a <= da) continue;
      // Chainage c at position p: c = base - p (running down) or base + p (up).
      const bool giu = z.verso == 1;
      const double base = giu ? z.progressiva - 100.0 : z.progressiva;
      const auto posizione = [&](double c) { return giu ? base - c : c - base; };
      const double c0 = std::max(giu ? base - a : base + da, 0.0);
      const double c1 = giu ? base - da : base + a;
      corpo_ += formatta(
          "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#37474f\" "
          "stroke-width=\"2\"/>\n",
          x(da), r.y0 + 4, x(da), r.y1);
      for (double c = std::ceil(c0 / passo) * passo; c <= c1; c += passo) {
        const double px = x(posizione(c));
        corpo_ +=
            formatta("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#37474f\"/>\n",
                     px, r.y1 - 8, px, r.y1);
        if (px > x(da) + 14) tacche.push_back({px, c});
      }
    }
    std::sort(tacche.begin(), tacche.end());
    double ultima_x = -1e9;
    for (const auto& [px, c] : tacche) {
      if (px - ultima_x < 34) continue;
      corpo_ +=
          formatta("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" class=\"km\">%s</text>\n",
                   px, r.y1 - 12, km_testo(c, 0).c_str());
      ultima_x = px;
    }
  }

  void righe_stazioni() {
    const Riga& r = stazioni_;
    titolo(r, "Stazioni");
    double ultima = -1e9;  // where the last name drawn stands
    for (const Stazione& st : r_.stazioni) {
      const double px = x(st.posizione);
      corpo_ += formatta("<path d=\"M%.1f %.1f l-5 -8 h10 z\" fill=\"%s\"><title>", px, r.y1 - 2,
                         kStazione) +
                xml(st.nome) + "</title></path>\n";
      // A name on its side is one line high: closer than that to the last one, it would sit on
      // it, and only the mark's tooltip names the station.
      if (px - ultima < 14) continue;
      ultima = px;
      std::string nome = st.nome;
      if (larghezza_testo(nome, 12) > r.y1 - r.y0 - 20) {
        // Cut at a character boundary to fit the row.
        std::string corto;
        for (size_t i = 0; i < nome.size(); ++i) {
          corto += nome[i];
          if (larghezza_testo(corto, 12) > r.y1 - r.y0 - 30 &&
              (i + 1 == nome.size() || (static_cast<unsigned char>(nome[i + 1]) & 0xC0) != 0x80)) {
            break;
          }
        }
        nome = corto + "…";
      }
      corpo_ += formatta("<text transform=\"translate(%.1f,%.1f) rotate(-90)\" class=\"stazione\">",
                         px + 4, r.y1 - 14) +
                xml(nome) + "<title>" + xml(st.nome) +
                formatta(" – %s km", km_testo(st.posizione, 2).c_str()) +
                (st.orario ? ", " + ora(st.orario) : std::string()) + "</title></text>\n";
    }
  }

  // A step plot of one profile, in the rows `r`, between `minimo` and `massimo`.
  std::string gradini(const std::vector<Tratta>& tratte, const Riga& r, double minimo,
                      double massimo, bool chiuso) {
    const double alto = r.y0 + 10;
    const double basso = r.y1 - 10;
    const auto y = [&](double v) {
      return basso -
             (std::clamp(v, minimo, massimo) - minimo) / (massimo - minimo) * (basso - alto);
    };
    std::string d;
    for (const Tratta& t : tratte) {
      const double a = x(inizio_tratto(t.primo));
      const double b = x(inizio_tratto(t.ultimo + 1));
      d += formatta("%s%.1f %.1f H%.1f ", d.empty() ? "M" : "L", a, y(t.valore), b);
    }
    if (chiuso && !tratte.empty()) {
      d += formatta("V%.1f H%.1f Z", y(0), x(inizio_tratto(tratte.front().primo)));
    }
    return d;
  }

  void assi_y(const Riga& r, double minimo, double massimo, double passo, const char* unita) {
    const double alto = r.y0 + 10;
    const double basso = r.y1 - 10;
    for (double v = std::ceil(minimo / passo) * passo; v <= massimo + 1e-9; v += passo) {
      const double y = basso - (v - minimo) / (massimo - minimo) * (basso - alto);
      fondo_ +=
          formatta("<line x1=\"%.0f\" y1=\"%.1f\" x2=\"%.0f\" y2=\"%.1f\" stroke=\"%s\"%s/>\n",
                   kSinistra, y, kLarghezza - kDestra, y, v == 0 ? "#9e9e9e" : kGriglia,
                   v == 0 ? "" : " stroke-dasharray=\"2 3\"");
      corpo_ +=
          formatta("<text x=\"%.0f\" y=\"%.1f\" text-anchor=\"end\" class=\"scala\">%.0f</text>\n",
                   kSinistra - 4, y + 4, v);
    }
    (void)unita;
  }

  void grafico_pendenza() {
    const Riga& r = pendenza_;
    titolo(r, "Pendenza", "‰ (salita +)");
    // Every gradient a line writes stays in view: the axis reaches the steepest.
    int massimo = 10;
    for (const Tratta& t : pendenze_) massimo = std::max(massimo, std::abs(t.valore));
    const double m = std::ceil(massimo / 10.0) * 10;
    assi_y(r, -m, m, m > 50 ? 20 : m > 20 ? 10 : 5, "‰");
    corpo_ += formatta(
        "<path d=\"%s\" fill=\"%s\" fill-opacity=\"1\" stroke=\"%s\" "
        "stroke-width=\"0.8\"/>\n",
        gradini(pendenze_, r, -m, m, true).c_str(), kPendenza, kPendenzaBordo);
  }

  void grafico_velocita() {
    const Riga& r = velocita_;
    titolo(r, "Velocità massima", "km/h");
    int massimo = 100;
    for (const Tratta& t : velocita_tratte_) massimo = std::max(massimo, t.valore);
    const double m = std::ceil(massimo / 20.0) * 20;
    assi_y(r, 0, m, m > 100 ? 40 : 20, "km/h");
    corpo_ += formatta("<path d=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"2\"/>\n",
                       gradini(velocita_tratte_, r, 0, m, false).c_str(), kVelocita);
    // The value of each step, where there is room.
    double ultima = -1e9;
    for (const Tratta& t : velocita_tratte_) {
      const double a = x(inizio_tratto(t.primo));
      const double b = x(inizio_tratto(t.ultimo + 1));
      if (b - a < 22 || a < ultima || t.valore == 0) continue;
      const double y = r.y1 - 10 - t.valore / m * (r.y1 - r.y0 - 20);
      corpo_ += formatta("<text x=\"%.1f\" y=\"%.1f\" class=\"valore\" fill=\"%s\">%d</text>\n",
                         a + 2, y - 4, kVelocita, t.valore);
      ultima = a + 24;
    }
  }

  void grafico_aderenza() {
    const Riga& r = aderenza_;
    titolo(r, "Aderenza");
    int massimo = 100;
    for (const Tratta& t : aderenze_) massimo = std::max(massimo, t.valore);
    const double m = std::ceil(massimo / 50.0) * 50;
    assi_y(r, 0, m, m, "");
    corpo_ += formatta("<path d=\"%s\" fill=\"none\" stroke=\"%s\" stroke-width=\"2\"/>\n",
                       gradini(aderenze_, r, 0, m, false).c_str(), kAderenza);
  }

  void simboli() {
    riga_segnali();
    riga_rallentamenti();
    riga_codici();
    riga_cartelli();
    riga_montagne();
  }

  void riga_segnali() {
    titolo(segnali_, "Segnali");
    const double ys = (segnali_.y0 + segnali_.y1) / 2;
    for (const SegnaleLetto& g : r_.segnali) {
      const int64_t p = posizione_dell_oggetto(oggetto::segnale, g.tratto);
      const auto c = progressiva(r_, p);
      corpo_ += formatta(
          "<path d=\"M%.1f %.1f l-5 9 h10 z\" fill=\"%s\"><title>Segnale %s (%s km dal"
          "l'inizio)</title></path>\n",
          x(static_cast<double>(p)), ys - 6, kSegnale, c ? km(*c).c_str() : "",
          km_testo(static_cast<double>(p), 2).c_str());
    }
  }

  // Each slowdown from its warning board to its start, then from its start to its end.
  void riga_rallentamenti() {
    titolo(rallentamenti_, "Rallentamenti");
    const Riga& rr = rallentamenti_;
    double ultima = -1e9;  // where the last speed written ends
    for (const RallentamentoLetto& ra : r_.rallentamenti) {
      const auto pos = [](const std::optional<int32_t>& s, uint8_t o) {
        return s ? std::optional<double>(posizione_dell_oggetto(o, *s)) : std::nullopt;
      };
      const auto avviso = pos(ra.avviso, oggetto::avviso_rallentamento);
      const auto inizio = pos(ra.inizio, oggetto::inizio_rallentamento);
      const auto fine = pos(ra.fine, oggetto::fine_rallentamento);
      if (avviso && (inizio || fine)) {
        corpo_ += formatta(
            "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"10\" fill=\"%s\"/>\n", x(*avviso),
            rr.y0 + 12, std::max(x(inizio.value_or(*fine)) - x(*avviso), 1.0), kAvviso);
      }
      if (inizio || fine) {
        const double a = x(inizio.value_or(*fine));
        const double b = x(fine.value_or(*inizio));
        corpo_ += formatta(
            "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"10\" fill=\"%s\">"
            "<title>Rallentamento a %d km/h</title></rect>\n",
            a, rr.y0 + 12, std::max(b - a, 2.0), kRallentamento, ra.velocita);
        // The speed above, unless it would sit on the one before.
        const std::string v = std::to_string(ra.velocita);
        const double w = larghezza_testo(v, 10, true);
        if ((a + b) / 2 - w / 2 < ultima + 2) continue;
        ultima = (a + b) / 2 + w / 2;
        corpo_ += formatta(
            "<text x=\"%.1f\" y=\"%.1f\" class=\"valore\" text-anchor=\"middle\">%s</text>\n",
            (a + b) / 2, rr.y0 + 10, v.c_str());
      }
    }
  }

  void riga_codici() {
    titolo(codici_, "Codici");
    const double yc = (codici_.y0 + codici_.y1) / 2;
    for (const PuntoCodice& c : r_.punti_codice) {
      const double px = x(static_cast<double>(posizione_dell_oggetto(
          c.taglio ? oggetto::taglio_codice : oggetto::cambio_codice, c.tratto)));
      if (c.taglio) {
        corpo_ += formatta(
            "<path d=\"M%.1f %.1f l8 8 m0 -8 l-8 8\" stroke=\"%s\" stroke-width=\"1.6\">"
            "<title>Taglio del codice</title></path>\n",
            px - 4, yc - 4, kTaglio);
      } else {
        corpo_ += formatta(
            "<path d=\"M%.1f %.1f l4 5 l-4 5 l-4 -5 z\" fill=\"%s\"><title>Cambio di "
            "codice: %d</title></path>\n",
            px, yc - 5, kCodice, c.codice);
      }
    }
  }

  // Indicator boards and speed indicator boards share a row.
  void riga_cartelli() {
    titolo(cartelli_, "Cartelli");
    const double yk = (cartelli_.y0 + cartelli_.y1) / 2;
    for (const Cartello& c : r_.cartelli) {
      corpo_ +=
          formatta(
              "<rect x=\"%.1f\" y=\"%.1f\" width=\"9\" height=\"9\" fill=\"%s\"><title>",
              x(static_cast<double>(posizione_dell_oggetto(oggetto::cartello, c.tratto))) - 4.5,
              yk - 4.5, kCartello) +
          xml(c.testo) + "</title></rect>\n";
    }
    for (const IndicatoreVelocita& iv : r_.indicatori) {
      const double px =
          x(static_cast<double>(posizione_dell_oggetto(oggetto::indicatore_velocita, iv.tratto)));
      corpo_ += formatta(
          "<circle cx=\"%.1f\" cy=\"%.1f\" r=\"5\" fill=\"#fff\" stroke=\"%s\" "
          "stroke-width=\"2\"><title>Indicatore di velocità massima: A %d, B %d, C %d "
          "km/h</title></circle>\n",
          px, yk, kSegnale, iv.prima(0), iv.prima(1), iv.prima(2));
    }
  }

  void riga_montagne() {
    titolo(montagne_, "Montagne");
    const Riga& rm = montagne_;
    for (const Montagna& mo : r_.montagne) {
      const double a = x(inizio_tratto(mo.primo));
      const double b = x(inizio_tratto(mo.ultimo + 1));
      corpo_ += formatta(
          "<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"10\" fill=\"%s\">"
          "<title>Montagna di tipo %u</title></rect>\n",
          a, rm.y0 + 8, std::max(b - a, 1.5), kMontagna[std::min<int>(mo.tipo, 3)],
          unsigned{mo.tipo});
    }
  }

  void asse_distanze() {
    const Riga& r = asse_;
    titolo(r, "Distanza", "km dall'inizio");
    const double passo = passo_tondo(lunghezza_ / 26);
    for (double p = 0; p <= lunghezza_; p += passo) {
      corpo_ +=
          formatta("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#37474f\"/>\n",
                   x(p), r.y0, x(p), r.y0 + 6);
      corpo_ +=
          formatta("<text x=\"%.1f\" y=\"%.1f\" text-anchor=\"middle\" class=\"km\">%s</text>\n",
                   x(p), r.y0 + 20, km_testo(p, 0).c_str());
    }
    corpo_ +=
        formatta("<line x1=\"%.0f\" y1=\"%.1f\" x2=\"%.0f\" y2=\"%.1f\" stroke=\"#37474f\"/>\n",
                 kSinistra, r.y0, kLarghezza - kDestra, r.y0);
  }

  void legenda() {
    const Riga& r = legenda_;
    std::string s =
        formatta("<g class=\"legenda\" transform=\"translate(%.0f,%.1f)\">", kSinistra, r.y0 + 24);
    double lx = 0;
    double ly = 0;
    const auto voce = [&](const std::string& simbolo, const char* testo) {
      const double w = 30 + larghezza_testo(testo, 12) + 26;
      if (lx + w > kLarghezza - kSinistra - kDestra) {
        lx = 0;
        ly += 24;
      }
      s += formatta("<g transform=\"translate(%.1f,%.1f)\">", lx, ly) + simbolo +
           formatta("<text x=\"26\" y=\"4\">%s</text></g>", testo);
      lx += w;
    };
    voce(formatta("<rect x=\"0\" y=\"-6\" width=\"20\" height=\"10\" fill=\"%s\"/>", kPendenza),
         "pendenza (sopra lo zero: salita)");
    voce(formatta("<line x1=\"0\" y1=\"0\" x2=\"20\" y2=\"0\" stroke=\"%s\" stroke-width=\"2\"/>",
                  kVelocita),
         "velocità massima del treno");
    voce(formatta("<line x1=\"0\" y1=\"0\" x2=\"20\" y2=\"0\" stroke=\"%s\" stroke-width=\"2\"/>",
                  kAderenza),
         "aderenza");
    voce(formatta("<path d=\"M10 4 l-5 -8 h10 z\" fill=\"%s\"/>", kStazione), "stazione");
    voce(formatta("<path d=\"M10 -5 l-5 9 h10 z\" fill=\"%s\"/>", kSegnale), "segnale");
    voce(formatta("<rect x=\"0\" y=\"-5\" width=\"10\" height=\"10\" fill=\"%s\"/><rect x=\"10\" "
                  "y=\"-5\" width=\"10\" height=\"10\" fill=\"%s\"/>",
                  kAvviso, kRallentamento),
         "rallentamento: dall'avviso all'inizio, poi fino alla fine");
    voce(formatta("<path d=\"M10 -5 l4 5 l-4 5 l-4 -5 z\" fill=\"%s\"/>", kCodice),
         "cambio di codice");
    voce(formatta("<path d=\"M6 -4 l8 8 m0 -8 l-8 8\" stroke=\"%s\" stroke-width=\"1.6\"/>",
                  kTaglio),
         "taglio del codice");
    voce(formatta("<rect x=\"5.5\" y=\"-4.5\" width=\"9\" height=\"9\" fill=\"%s\"/>", kCartello),
         "cartello indicatore");
    voce(formatta(
             "<circle cx=\"10\" cy=\"0\" r=\"5\" fill=\"#fff\" stroke=\"%s\" stroke-width=\"2\"/>",
             kSegnale),
         "indicatore di velocità massima");
    voce(formatta(
             "<rect x=\"0\" y=\"-5\" width=\"7\" height=\"10\" fill=\"%s\"/><rect x=\"7\" y=\"-5\" "
             "width=\"7\" height=\"10\" fill=\"%s\"/><rect x=\"14\" y=\"-5\" width=\"6\" "
             "height=\"10\" fill=\"%s\"/>",
             kMontagna[1], kMontagna[2], kMontagna[3]),
         "montagna, tipo 1, 2, 3");
    voce(formatta("<line x1=\"10\" y1=\"-7\" x2=\"10\" y2=\"7\" stroke=\"%s\" "
                  "stroke-width=\"2\"/>",
                  kFine),
         "fine del percorso (oltre: la coda di 7 km)");
    s += "</g>\n";
    corpo_ += s;
  }

  const Descrizione& r_;
  const PartiPercorso parti_;
  const std::vector<Tratta> pendenze_, velocita_tratte_, aderenze_;  // as lines write them
  double lunghezza_;
  double y_ = 0;
  Riga intestazione_{}, stazioni_{}, pendenza_{}, velocita_{}, aderenza_{}, segnali_{},
      rallentamenti_{}, codici_{}, cartelli_{}, montagne_{}, asse_{}, legenda_{};
  std::string fondo_;  // grid, drawn first
  std::string corpo_;
};

constexpr const char* kStile = R"(
body { font-family: "DejaVu Sans", "Liberation Sans", Arial, sans-serif; color: #212121;
       background: #fff; margin: 16px 20px; }
header h1 { font-size: 22px; margin: 0 0 4px; }
header p { font-size: 14px; margin: 0 0 14px; color: #455a64; }
h2 { font-size: 16px; margin: 10px 0 6px; color: #37474f; }
svg { display: block; width: 100%; max-width: 1600px; height: auto; }
svg text { font-family: inherit; font-size: 12px; fill: #212121; }
svg text.nome { font-size: 14px; font-weight: bold; paint-order: stroke; stroke: #fbfbf8;
                stroke-width: 4px; }
svg text.fine { font-size: 11px; fill: #d50000; paint-order: stroke; stroke: #fbfbf8;
                stroke-width: 3px; }
svg text.segnale { font-size: 10px; fill: #b71c1c; paint-order: stroke; stroke: #fbfbf8;
                   stroke-width: 3px; }
svg text.riga { font-size: 13px; font-weight: bold; }
svg text.unita, svg text.scala, svg text.nota { font-size: 11px; fill: #616161; }
svg text.km { font-size: 11px; }
svg text.valore { font-size: 10px; font-weight: bold; }
svg text.stazione { font-size: 12px; }
table { border-collapse: collapse; font-size: 13px; margin-top: 4px; }
th, td { border-bottom: 1px solid #e0e0e0; padding: 3px 10px; text-align: right; }
th { background: #eceff1; }
td.nome, th.nome { text-align: left; }
section { margin-bottom: 12px; }
@page { size: A4 landscape; margin: 10mm; }
@media print {
  body { margin: 0; }
  header h1 { font-size: 16px; }
  section.figura { break-after: page; }
  svg { width: 100%; max-height: 170mm; }
}
)";

}  // namespace

std::vector<PuntoPagina> sfoltisci(const std::vector<PuntoPagina>& punti, double passo) {
  if (punti.size() <= 2) return punti;
  // Step 1: at least `passo` between kept points.
  std::vector<PuntoPagina> radi{punti.front()};
  for (size_t i = 1; i + 1 < punti.size(); ++i) {
    const PuntoPagina& u = radi.back();
    if (std::hypot(punti[i].x - u.x, punti[i].y - u.y) >= passo) radi.push_back(punti[i]);
  }
  radi.push_back(punti.back());
  // Step 2: Ramer-Douglas-Peucker with tolerance passo / 3, without recursion.
  const double tolleranza = passo / 3;
  std::vector<bool> tieni(radi.size(), false);
  tieni.front() = tieni.back() = true;
  std::vector<std::pair<size_t, size_t>> pila{{0, radi.size() - 1}};
  while (!pila.empty()) {
    const auto [a, b] = pila.back();
    pila.pop_back();
    if (b <= a + 1) continue;
    const PuntoPagina& p = radi[a];
    const PuntoPagina& q = radi[b];
    const double lx = q.x - p.x;
    const double ly = q.y - p.y;
    const double l = std::hypot(lx, ly);
    double peggiore = -1;
    size_t dove = a;
    for (size_t i = a + 1; i < b; ++i) {
      const double d = l < 1e-12 ? std::hypot(radi[i].x - p.x, radi[i].y - p.y)
                                 : std::abs(lx * (p.y - radi[i].y) - ly * (p.x - radi[i].x)) / l;
      if (d > peggiore) {
        peggiore = d;
        dove = i;
      }
    }
    if (peggiore > tolleranza) {
      tieni[dove] = true;
      pila.push_back({a, dove});
      pila.push_back({dove, b});
    }
  }
  std::vector<PuntoPagina> linea;
  for (size_t i = 0; i < radi.size(); ++i) {
    if (tieni[i]) linea.push_back(radi[i]);
  }
  return linea;
}

std::string pagina_percorso(const Modello& m) {
  const Descrizione r = descrivi(m, true);
  const std::string nome = testo_leggibile(m.elenco[voce::intestazione].testo);
  const std::string treno = testo_leggibile(m.elenco[voce::treno].testo);

  std::string h =
      "<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"it\">\n"
      "<head>\n<meta charset=\"utf-8\"/>\n<title>" +
      xml(nome) + " – treno " + xml(treno) + "</title>\n<style>" + kStile +
      "</style>\n</head>\n<body>\n";
  h += "<header><h1>" + xml(nome) + " – treno " + xml(treno) + "</h1>\n<p>";
  const auto n = [](size_t k) { return static_cast<int64_t>(k); };
  h += "percorso di " + km_testo(r.lunghezza) + " km · " +
       quanti(n(r.stazioni.size()), "stazione", "stazioni") + " · " +
       quanti(n(r.segnali.size()), "segnale", "segnali") + " · " +
       quanti(n(r.rallentamenti.size()), "rallentamento", "rallentamenti") + " · massa frenata " +
       std::to_string(r.massa_frenata) + "% · " + quanti(r.vetture, "vettura", "vetture") + " · " +
       formatta("orologio alla partenza %d:%02d:%02d", r.orologio[0], r.orologio[1], r.orologio[2]);
  h += "</p></header>\n";

  if (const auto mp = mappa(m, r)) {
    h += "<section class=\"figura\" id=\"mappa\">\n<h2>Mappa del tracciato</h2>\n" + *mp +
         "</section>\n";
  }
  h += "<section class=\"figura\" id=\"profilo\">\n<h2>Profilo lungo il percorso</h2>\n" +
       Profilo(m, r).svg() + "</section>\n";

  h += "<section id=\"orario\">\n<h2>Orario</h2>\n<table>\n<thead><tr><th>voce</th>"
       "<th class=\"nome\">stazione</th><th>km dall'inizio</th><th>progressiva</th><th>tipo</th>"
       "<th>arrivo</th><th>sosta</th></tr></thead>\n<tbody>\n";
  for (const Stazione& st : r.stazioni) {
    const auto c = progressiva(r, st.posizione);
    h += formatta("<tr><td>%d</td><td class=\"nome\">", st.voce) + xml(st.nome) + "</td><td>" +
         km_testo(st.posizione, 2) + "</td><td>" + (c ? km(*c) : "–") + "</td><td>" +
         std::to_string(st.tipo) + "</td><td>" + (st.orario ? ora(st.orario) : "–") + "</td><td>" +
         std::to_string(st.sosta) + " s</td></tr>\n";
  }
  h += "</tbody>\n</table>\n</section>\n</body>\n</html>\n";
  return h;
}

void scrivi_pagina(const std::filesystem::path& file, const Modello& m) {
  scrivi_file(file, pagina_percorso(m));
}

namespace {

// `nome` as a piece of a URL: every byte but letters, digits and "-._~" as %XX. What is left is
// safe in a JavaScript string and in XML alike.
std::string in_url(const std::string& nome) {
  std::string u;
  for (const unsigned char c : nome) {
    if (std::isalnum(c) != 0 || c == '-' || c == '.' || c == '_' || c == '~') {
      u += static_cast<char>(c);
    } else {
      u += formatta("%%%02X", c);
    }
  }
  return u;
}

// The version of a page: its content, in short.
std::string versione(const std::string& pagina) {
  return formatta("%016llx",
                  static_cast<unsigned long long>(std::hash<std::string_view>{}(pagina)));
}

}  // namespace

std::filesystem::path file_versione(const std::filesystem::path& file) {
  return file.parent_path() / (file.filename().string() + ".versione.js");
}

void scrivi_pagina_osservata(const std::filesystem::path& file, const Modello& m) {
  std::string h = pagina_percorso(m);
  const std::string v = versione(h);
  h.insert(h.rfind("</body>"),
           "<script>\n"
           "(function () {\n"
           "  var propria = \"" +
               v +
               "\";\n"
               "  window.compattatoreVersione = function (v) { if (v !== propria) "
               "location.reload(); };\n"
               "  setInterval(function () {\n"
               "    var s = document.createElement(\"script\");\n"
               "    s.src = \"" +
               in_url(file_versione(file).filename().string()) +
               "?\" + Date.now();\n"
               "    s.onload = s.onerror = function () { s.remove(); };\n"
               "    document.head.appendChild(s);\n"
               "  }, 1000);\n"
               "})();\n"
               "</script>\n");
  scrivi_file(file, h);
  scrivi_file(file_versione(file), "compattatoreVersione(\"" + v + "\");\n");
}

}  // namespace compattatore
