// The TextMate grammars of editor/textmate, run by the engine that such editors run
// (vscode-textmate with the Oniguruma of vscode-oniguruma):
//   node grammatica.js PROGRAMMA PAROLE ESTENSIONE
// PROGRAMMA is compattatore, whose `esempio` writes the embedded scenario's two sources; PAROLE is
// the tool that prints the program's table of keywords; ESTENSIONE is editor/textmate, whose
// manifest names the grammars as an editor finds them. Checks
// - that the manifest gives each kind of source its file names, grammar and configuration;
// - that the keywords of each grammar are the rows of the table, each spelling of each row
//   getting its row's scope, and none getting a keyword's scope in the other source;
// - the scopes of keywords, numbers, separators and headers in the embedded sources (a table of
//   lines, pieces and scopes);
// - hand cases: texts in quotes, open or closed, comments, a decimal comma or point, letter case.
"use strict";

const fs = require("fs");
const os = require("os");
const path = require("path");
const { execFileSync } = require("child_process");
const vsctm = require("vscode-textmate");
const oniguruma = require("vscode-oniguruma");

const [programma, parole, cartella] = process.argv.slice(2);
if (!cartella) {
  console.error("uso: node grammatica.js PROGRAMMA PAROLE ESTENSIONE");
  process.exit(2);
}

const SCOPE = { linea: "source.compattatore.linea", treno: "source.compattatore.treno" };
const NOMI_FILE = { linea: "*_linea.txt", treno: "*-.txt" };
const ALTRA = { linea: "treno", treno: "linea" };

const errori = [];
function errore(messaggio) {
  errori.push(messaggio);
}

const leggiJson = (file) => JSON.parse(fs.readFileSync(path.join(cartella, file), "utf8"));

// The grammars' files by scope name, as the manifest has them; each file has that scope name.
const manifesto = leggiJson("package.json");
const FILE = Object.fromEntries(manifesto.contributes.grammars.map((g) => [g.scopeName, g.path]));
const leggiGrammatica = (scope) => leggiJson(FILE[scope]);
for (const [scope, file] of Object.entries(FILE)) {
  if (leggiGrammatica(scope).scopeName !== scope) errore(`${file}: il nome di scope non è ${scope}`);
}
// Each kind of source: a language by its file names, with its grammar and the configuration.
for (const fonte of ["linea", "treno"]) {
  const lingua = manifesto.contributes.languages.find((l) =>
    (l.filenamePatterns || []).includes(NOMI_FILE[fonte]),
  );
  const grammatica = manifesto.contributes.grammars.find((g) => g.scopeName === SCOPE[fonte]);
  if (!lingua || !grammatica || grammatica.language !== lingua.id) {
    errore(`package.json: nessuna lingua per ${NOMI_FILE[fonte]} con la grammatica ${SCOPE[fonte]}`);
  } else if (leggiJson(lingua.configuration).comments.lineComment !== "--") {
    errore(`${lingua.configuration}: il commento di riga non è "--"`);
  }
}
// The script the manifest starts parses (it runs only inside an editor).
new (require("vm").Script)(fs.readFileSync(path.join(cartella, manifesto.main), "utf8"), {
  filename: manifesto.main,
});

async function registro() {
  const wasm = fs.readFileSync(require.resolve("vscode-oniguruma/release/onig.wasm"));
  await oniguruma.loadWASM(wasm.buffer.slice(wasm.byteOffset, wasm.byteOffset + wasm.byteLength));
  return new vsctm.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (sorgenti) => new oniguruma.OnigScanner(sorgenti),
      createOnigString: (s) => new oniguruma.OnigString(s),
    }),
    loadGrammar: async (scope) => {
      if (!(scope in FILE)) return null;
      const file = path.join(cartella, FILE[scope]);
      return vsctm.parseRawGrammar(fs.readFileSync(file, "utf8"), file);
    },
  });
}

// The tokens of each line of `testo`, carrying the state from line to line as an editor does.
function tokenizza(grammatica, righe) {
  let stato = vsctm.INITIAL;
  return righe.map((riga) => {
    const r = grammatica.tokenizeLine(riga, stato);
    stato = r.ruleStack;
    return r.tokens.map((t) => ({
      inizio: t.startIndex,
      fine: Math.min(t.endIndex, riga.length),
      scopes: t.scopes,
    }));
  });
}

// Whether `pezzo`, at its first place in `riga`, is made of whole tokens that all carry a scope
// `atteso` (or one below it); or, for `atteso` null, carries no scope but the grammar's own,
// `scope`.
function verifica(grammatica, scope, riga, pezzo, atteso, contesto) {
  const [token] = tokenizza(grammatica, [riga]);
  const inizio = riga.indexOf(pezzo);
  if (inizio < 0) {
    errore(`${contesto}: "${pezzo}" non è in "${riga}"`);
    return;
  }
  const fine = inizio + pezzo.length;
  const dentro = token.filter((t) => t.fine > inizio && t.inizio < fine);
  const descrivi = () =>
    token
      .map((t) => `${JSON.stringify(riga.slice(t.inizio, t.fine))} ${t.scopes.slice(1).join(" ")}`)
      .join("\n    ");
  // A piece that gets a scope is whole tokens; a plain one may share its token with blanks.
  const bordi =
    atteso === null ||
    (dentro.length > 0 && dentro[0].inizio === inizio && dentro[dentro.length - 1].fine === fine);
  const ha = (t) =>
    atteso === null
      ? t.scopes.length === 1 && t.scopes[0] === scope
      : t.scopes.some((s) => s === atteso || s.startsWith(atteso + "."));
  if (!bordi || !dentro.every(ha)) {
    const come = atteso ?? "senza scope";
    errore(`${contesto}: "${pezzo}" in "${riga}" non è ${come}; i token:\n    ${descrivi()}`);
  }
}

// Every spelling of every row of the table: its row's scope in its source, a plain item in the
// other; the rows of the grammar's keyword rule are the table's rows.
function controllaTabella(grammatiche, tabella) {
  for (const fonte of ["linea", "treno"]) {
    const parole = leggiGrammatica(SCOPE[fonte]).repository.parole.captures;
    const nellaGrammatica = Object.values(parole)
      .map((c) => c.name.replace(/^keyword\.other\.|\.compattatore$/g, ""))
      .sort();
    const nellaTabella = tabella[fonte]
      .filter((r) => r.genere === "parola")
      .map((r) => r.nome)
      .sort();
    if (JSON.stringify(nellaGrammatica) !== JSON.stringify(nellaTabella)) {
      errore(`${fonte}: parole della grammatica ${nellaGrammatica}, della tabella ${nellaTabella}`);
    }
    for (const riga of tabella[fonte]) {
      for (const forma of riga.forme) {
        const contesto = `tabella, ${fonte}, ${riga.nome}`;
        if (riga.genere === "intestazione") {
          const sezione = "entity.name.section.compattatore";
          verifica(grammatiche[fonte], SCOPE[fonte], forma, forma, sezione, contesto);
          continue;
        }
        const linea = `${forma},  100`;
        const parola = `keyword.other.${riga.nome}.compattatore`;
        verifica(grammatiche[fonte], SCOPE[fonte], linea, forma, parola, contesto);
        const altra = grammatiche[ALTRA[fonte]];
        const [token] = tokenizza(altra, [linea]);
        if (token.some((t) => t.scopes.some((s) => s.startsWith("keyword.")))) {
          errore(`${contesto}: "${forma}" è una parola chiave anche nel sorgente ${ALTRA[fonte]}`);
        }
      }
    }
  }
}

// Lines of the embedded sources: the line as written, a piece of it, the scope the piece gets.
const ESEMPIO = [
  ["linea", "[generale]", "generale", "entity.name.section.compattatore"],
  ["linea", "[generale]", "[", "punctuation.definition.section.begin.compattatore"],
  ["linea", "lunghezza percorso,    124000", "lunghezza percorso", "keyword.other.lunghezza_percorso"],
  ["linea", "lunghezza percorso,    124000", ",", "punctuation.separator.comma"],
  ["linea", "lunghezza percorso,    124000", "124000", "constant.numeric.integer"],
  ["linea", "progressiva chilometrica due,    39100,    135150,    1", "progressiva chilometrica due", "keyword.other.progressiva_due"],
  ["linea", "progressiva chilometrica due,    39100,    135150,    1", "135150", "constant.numeric.integer"],
  ["linea", "sfondo tre,    0", "sfondo tre", "keyword.other.sfondo_tre"],
  ["linea", "ripetizione segnali 9 codici,    46400,    106850", "ripetizione segnali 9 codici", "keyword.other.ripetizione_segnali"],
  ["linea", "[curve]", "[curve]", "entity.name.section"],
  ["linea", "curvas3,  4200,  500", "curvas3", "keyword.other.curva"],
  ["linea", "curvas3,  4200,  500", "4200", "constant.numeric.integer"],
  ["linea", "[pendenze]", "pendenze", "entity.name.section"],
  ["linea", "pendenza,  5000,   -5", "pendenza", "keyword.other.pendenza"],
  ["linea", "pendenza,  5000,   -5", "-5", "constant.numeric.integer"],
  ["linea", "[fine]", "[fine]", "entity.name.section"],
  ["treno", "[generale]", "generale", "entity.name.section"],
  ["treno", "numero vetture,    6", "numero vetture", "keyword.other.numero_vetture"],
  ["treno", "percentuale massa frenata,    120", "120", "constant.numeric.integer"],
  ["treno", "orologio,    6               13            40 ", "orologio", "keyword.other.orologio"],
  ["treno", "orologio,    6               13            40 ", "13", "constant.numeric.integer"],
  ["treno", "[vel_limite]", "vel_limite", "entity.name.section"],
  ["treno", "velocita,    2050,    95", "velocita", "keyword.other.velocita"],
  ["treno", "velocita,    2050,    95", "2050", "constant.numeric.integer"],
  ["treno", "stazione,   12400, 24,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,   6,23, 0, Montefiascone", "stazione", "keyword.other.stazione"],
  ["treno", "stazione,   12400, 24,  300,  0, 0, 0,  0,0,0,  4,1,1,   30,   6,23, 0, Montefiascone", "Montefiascone", null],
  ["treno", "stazione,   46650, 26,  400,  0, 0, 0,  0,0,0,  0,0,0,    0,   0, 0, 0, 2° Bivio Orte Nord", "2° Bivio Orte Nord", null],
  ["treno", "rallentamento,   46350,    80, 1950, 1,  0,  80", "rallentamento", "keyword.other.rallentamento"],
  ["treno", "segnale,   10000,   2, 4, 1,  0, 0,    0,  0,0,0, 0", "segnale", "keyword.other.segnale"],
  ["treno", "[codici]", "codici", "entity.name.section"],
  ["treno", "abbattimento,   46500,   270", "abbattimento", "keyword.other.abbattimento"],
  ["treno", "abbattimento,   46500,   270", "270", "constant.numeric.integer"],
  ["treno", "[fine]", "fine", "entity.name.section"],
];

// Lines written by hand: source, line, piece, scope (null: the grammar's own scope only).
const A_MANO = [
  // A text in quotes holds commas; one left open is invalid to the line end.
  ["linea", 'cartello_indicatore, 1000, "(Ponte, Fiume)(Tevere)"', '"(Ponte, Fiume)(Tevere)"', "string.quoted.double"],
  ["linea", 'cartello_indicatore, 1000, "(Ponte, Fiume)', '"(Ponte, Fiume)', "invalid.illegal.unclosed-string"],
  ["treno", 'stazione, 0, 8, 400, 0,0,0, 1,1,0, 4,1,1, 1, 6,14,0, "Orte, scalo', '"Orte, scalo', "invalid.illegal.unclosed-string"],
  // A decimal comma is two numbers, as the reader takes it; a point or an exponent one.
  ["linea", "pendenza, 1000, 12,5", "12", "constant.numeric.integer"],
  ["linea", "pendenza, 1000, 12,5", "5", "constant.numeric.integer"],
  ["linea", "pendenza, 1000, 12.5", "12.5", "constant.numeric.decimal"],
  ["linea", "pendenza, 1000, 1e3", "1e3", "constant.numeric.decimal"],
  ["linea", "pendenza, +1000, 5", "+1000", "constant.numeric.integer"],
  ["treno", "velocita, 2050, 95km", "95km", null],
  // Comment lines, keywords in them too.
  ["linea", "-- curve --", "-- curve --", "comment.line.double-dash"],
  ["treno", "  -- stazione, 100, 8", "-- stazione, 100, 8", "comment.line.double-dash"],
  // Letter case: ignored but where the table says it counts.
  ["linea", "PENDENZA, 0, 0", "PENDENZA", "keyword.other.pendenza"],
  ["linea", "CurvaS2, 0, 100", "CurvaS2", "keyword.other.curva"],
  ["linea", "SFONDO UNO, 1", "SFONDO UNO", null],
  ["treno", "VELOCITÀ, 0, 65", "VELOCITÀ", "keyword.other.velocita"],
  // A keyword is the whole first item: inside another item, or after blanks, it is not one.
  ["treno", "numero vetture bis, 6", "numero vetture bis", null],
  ["treno", "sabbia 100", "sabbia", null],
  ["linea", "curva, 0, 100", "curva", null],
  ["treno", "\tsabbia ,100", "sabbia", "keyword.other.sabbia"],
];

async function main() {
  const reg = await registro();
  const grammatiche = {
    linea: await reg.loadGrammar(SCOPE.linea),
    treno: await reg.loadGrammar(SCOPE.treno),
  };

  // The table's rows, one a line: source, kind, name, spellings, separated by tabs.
  const tabella = { linea: [], treno: [] };
  for (const riga of execFileSync(parole, { encoding: "utf8" }).split("\n").filter((r) => r)) {
    const [fonte, genere, nome, ...forme] = riga.split("\t");
    tabella[fonte].push({ genere, nome, forme });
  }
  controllaTabella(grammatiche, tabella);

  // The embedded scenario as `esempio` writes it (Windows-1252: its accents are Latin-1's).
  const esempio = fs.mkdtempSync(path.join(os.tmpdir(), "grammatica-"));
  try {
    execFileSync(programma, ["esempio", esempio], { stdio: "ignore" });
    const file = fs.readdirSync(esempio);
    const sorgenti = {
      linea: file.find((f) => f.endsWith("_linea.txt")),
      treno: file.find((f) => f.endsWith("-.txt")),
    };
    const righe = {};
    for (const fonte of ["linea", "treno"]) {
      if (!sorgenti[fonte]) throw new Error(`esempio non ha scritto il sorgente ${fonte}: ${file}`);
      righe[fonte] = fs.readFileSync(path.join(esempio, sorgenti[fonte]), "latin1").split(/\r\n|\n|\r/);
      // Every line of the source: no token left without a scope the grammar knows of, and no
      // invalid one.
      tokenizza(grammatiche[fonte], righe[fonte]).forEach((token, n) => {
        if (token.some((t) => t.scopes.some((s) => s.startsWith("invalid.")))) {
          errore(`${sorgenti[fonte]}:${n + 1}: segnata come non valida: "${righe[fonte][n]}"`);
        }
      });
    }
    for (const [fonte, riga, pezzo, scope] of ESEMPIO) {
      if (!righe[fonte].includes(riga)) {
        errore(`${sorgenti[fonte]}: manca la riga "${riga}"`);
        continue;
      }
      verifica(grammatiche[fonte], SCOPE[fonte], riga, pezzo, scope, sorgenti[fonte]);
    }
  } finally {
    fs.rmSync(esempio, { recursive: true, force: true });
  }

  for (const [fonte, riga, pezzo, scope] of A_MANO) {
    verifica(grammatiche[fonte], SCOPE[fonte], riga, pezzo, scope, `a mano, ${fonte}`);
  }
  // An open quote ends with its line: the next line is read afresh.
  const [, dopo] = tokenizza(grammatiche.linea, ['cartello_indicatore, 1000, "(Ponte', "pendenza, 0, 0"]);
  if (!dopo[0].scopes.some((s) => s.startsWith("keyword.other.pendenza"))) {
    errore("dopo una virgoletta aperta la riga seguente non è letta da capo");
  }

  if (errori.length > 0) {
    for (const e of errori) console.error(e);
    console.error(`${errori.length} errori`);
    process.exit(1);
  }
  console.log("grammatiche TextMate: tutto come atteso");
}

main().catch((e) => {
  for (const x of errori) console.error(x);
  console.error(e);
  process.exit(1);
});
