#!/usr/bin/env python3
"""The language server driven as an editor drives it: JSON-RPC over its standard streams.

Usage: protocollo.py PROGRAMMA [--lenti] [CASO...]

With no case named, every case but the slow ones ("lento_..."); with --lenti, the slow ones.

Each case starts `PROGRAMMA lsp` in a temporary folder holding a small scenario, speaks the
protocol to it and checks the answers. Exit status 0 when every case passed.
"""

import contextlib
import json
import os
import queue
import subprocess
import sys
import tempfile
import threading
import time
import traceback
import urllib.parse

ATTESA = 10  # seconds to wait for an answer before the case fails

LINEA = [
    "[generale]",
    "lunghezza percorso,    10000",
    "[curve]",
    "pendenza,  2000,  12",
    "cartello_indicatore,  5000,  (Ponte)",
    "[fine]",
]
TRENO = [
    "[generale]",
    "numero vetture, 6",
    "stazione,  1000, 24, 300, 0, 0, 0, 0,0,0, 0,0,0, 30, 6,0,0, Alfa",
    "segnnale,  3000, 2, 4, 1, 0, 0, 0, 0,0,0, 0",
    "[fine]",
    "riferimento fine del file",
]


def testo(righe):
    return "".join(r + "\r\n" for r in righe)


def uri(percorso):
    return "file://" + urllib.parse.quote(os.path.abspath(percorso))


class Cliente:
    def __init__(self, programma, cartella):
        self.processo = subprocess.Popen(
            [programma, "lsp"], cwd=cartella, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
            stderr=subprocess.PIPE)
        self.arrivi = queue.Queue()
        self.notifiche = []
        self.prossimo_id = 1
        threading.Thread(target=self._leggi, daemon=True).start()

    def _leggi(self):
        out = self.processo.stdout
        while True:
            lunghezza = None
            while True:
                riga = out.readline()
                if not riga:
                    self.arrivi.put(None)
                    return
                riga = riga.strip()
                if not riga:
                    break
                nome, _, valore = riga.partition(b":")
                if nome.lower() == b"content-length":
                    lunghezza = int(valore)
            self.arrivi.put(json.loads(out.read(lunghezza)))

    def manda_byte(self, byte):
        self.processo.stdin.write(byte)
        self.processo.stdin.flush()

    def manda(self, messaggio):
        corpo = json.dumps(messaggio).encode("utf-8")
        self.manda_byte(b"Content-Length: %d\r\n\r\n" % len(corpo) + corpo)

    def notifica(self, metodo, parametri):
        self.manda({"jsonrpc": "2.0", "method": metodo, "params": parametri})

    def prossimo(self, scadenza):
        resto = scadenza - time.monotonic()
        if resto <= 0:
            raise AssertionError("nessuna risposta in tempo")
        try:
            m = self.arrivi.get(timeout=resto)
        except queue.Empty:
            raise AssertionError("nessuna risposta in tempo") from None
        if m is None:
            raise AssertionError("il server ha chiuso l'uscita")
        return m

    def risposta(self, id_atteso):
        scadenza = time.monotonic() + ATTESA
        while True:
            m = self.prossimo(scadenza)
            if m.get("id") == id_atteso and "method" not in m:
                return m
            self.notifiche.append(m)

    def chiedi(self, metodo, parametri):
        id_ = self.prossimo_id
        self.prossimo_id += 1
        self.manda({"jsonrpc": "2.0", "id": id_, "method": metodo, "params": parametri})
        m = self.risposta(id_)
        if "error" in m:
            raise AssertionError("%s: errore %s" % (metodo, m["error"]))
        return m["result"]

    def inizia(self):
        r = self.chiedi("initialize", {"processId": None, "rootUri": None, "capabilities": {}})
        self.notifica("initialized", {})
        self.capacita = r["capabilities"]

    def diagnostiche(self, uri_file, condizione=lambda d: True):
        """The next diagnostics published for `uri_file` that meet `condizione`."""
        scadenza = time.monotonic() + ATTESA
        while True:
            for i, m in enumerate(self.notifiche):
                if (m.get("method") == "textDocument/publishDiagnostics"
                        and m["params"]["uri"] == uri_file
                        and condizione(m["params"]["diagnostics"])):
                    del self.notifiche[: i + 1]
                    self.versione_diagnostiche = m["params"].get("version")
                    return m["params"]["diagnostics"]
            self.notifiche.append(self.prossimo(scadenza))

    def apri(self, uri_file, contenuto, versione=1):
        self.notifica("textDocument/didOpen", {"textDocument": {
            "uri": uri_file, "languageId": "compattatore", "version": versione,
            "text": contenuto}})

    def cambia(self, uri_file, versione, cambi):
        self.notifica("textDocument/didChange", {
            "textDocument": {"uri": uri_file, "version": versione}, "contentChanges": cambi})

    def chiudi(self, shutdown=True):
        if shutdown:
            assert self.chiedi("shutdown", None) is None
        self.notifica("exit", None)
        return self.processo.wait(timeout=ATTESA)

    def termina(self):
        if self.processo.poll() is None:
            self.processo.kill()
            self.processo.wait()


@contextlib.contextmanager
def sessione(programma, cartella):
    """A server past `initialize`, which must end with status 0 after `shutdown` and `exit`."""
    c = Cliente(programma, cartella)
    try:
        c.inizia()
        yield c
        controlla(c.chiudi() == 0, "stato d'uscita dopo shutdown ed exit")
    finally:
        c.termina()


def cartella_con_scenario(cartella, linea=LINEA, treno=TRENO):
    lf = os.path.join(cartella, "P_linea.txt")
    tf = os.path.join(cartella, "P_7-.txt")
    with open(lf, "wb") as f:
        f.write(testo(linea).encode("cp1252"))
    with open(tf, "wb") as f:
        f.write(testo(treno).encode("cp1252"))
    return lf, tf


def applica(contenuto, modifiche):
    """The text after the protocol's TextEdits (on one line each, ASCII)."""
    righe = contenuto.split("\r\n")
    for m in sorted(modifiche, key=lambda m: (m["range"]["start"]["line"],
                                               m["range"]["start"]["character"]), reverse=True):
        s, e = m["range"]["start"], m["range"]["end"]
        assert s["line"] == e["line"]
        r = righe[s["line"]]
        righe[s["line"]] = r[: s["character"]] + m["newText"] + r[e["character"]:]
    return "\r\n".join(righe)


def controlla(condizione, messaggio):
    if not condizione:
        raise AssertionError(messaggio)


# The cases. Each gets the program and a folder holding the scenario P (line and train 7).

def caso_parola_sbagliata_diagnostica_hover_completamento_correzione(programma, cartella):
    lf, tf = cartella_con_scenario(cartella)
    with sessione(programma, cartella) as c:
        capacita = c.capacita
        controlla(capacita["textDocumentSync"]["change"] == 2, capacita)
        contenuto = testo(TRENO)
        c.apri(uri(tf), contenuto)
        diagnostiche = c.diagnostiche(uri(tf), lambda d: len(d) > 0)
        sbagliata = [d for d in diagnostiche if d.get("code") == "parola-sconosciuta"]
        controlla(len(sbagliata) == 1, diagnostiche)
        d = sbagliata[0]
        controlla(d["range"] == {"start": {"line": 3, "character": 0},
                                 "end": {"line": 3, "character": 8}}, d)
        controlla(d["severity"] == 2, d)
        controlla(d["message"].startswith(
            "'segnnale' non è una parola chiave del file del treno: la riga è ignorata; "
            "forse intendevi 'segnale'?"), d["message"])
        controlla("\nrimedio: " in d["message"], d["message"])

        # Hover: a keyword's line, a value's meaning and what is stored.
        h = c.chiedi("textDocument/hover", {"textDocument": {"uri": uri(tf)},
                                            "position": {"line": 2, "character": 2}})
        controlla("`stazione, P, tipo, L," in h["contents"]["value"], h)
        h = c.chiedi("textDocument/hover", {"textDocument": {"uri": uri(tf)},
                                            "position": {"line": 2, "character": 12}})
        controlla(h["range"] == {"start": {"line": 2, "character": 11},
                                 "end": {"line": 2, "character": 15}}, h)
        controlla("**P** di `stazione`" in h["contents"]["value"], h)
        controlla("letto come 1000" in h["contents"]["value"], h)

        # Completion: the train's keywords with their values as a snippet.
        voci = c.chiedi("textDocument/completion", {"textDocument": {"uri": uri(tf)},
                                                    "position": {"line": 3, "character": 3}})
        per_nome = {v["label"]: v for v in voci}
        controlla("segnale" in per_nome and "stazione" in per_nome, list(per_nome))
        controlla("pendenza" not in per_nome, "una parola della linea proposta nel treno")
        controlla("[fine]" in per_nome, list(per_nome))
        controlla(per_nome["segnale"]["textEdit"]["newText"].startswith(
            "segnale, ${1:P}, ${2:sx}"), per_nome["segnale"])

        # The quick fix replaces the misspelt keyword.
        azioni = c.chiedi("textDocument/codeAction", {
            "textDocument": {"uri": uri(tf)},
            "range": {"start": {"line": 3, "character": 0}, "end": {"line": 3, "character": 0}},
            "context": {"diagnostics": [d]}})
        sostituzioni = [a for a in azioni if a["title"] == "sostituisci con 'segnale'"]
        controlla(len(sostituzioni) == 1, azioni)
        nuovo = applica(contenuto, sostituzioni[0]["edit"]["changes"][uri(tf)])
        controlla(nuovo.split("\r\n")[3].startswith("segnale,  3000"), nuovo)

        # Outline: the station by name and position.
        simboli = c.chiedi("textDocument/documentSymbol", {"textDocument": {"uri": uri(tf)}})
        nomi = [s["name"] for s in simboli] + [f["name"] for s in simboli
                                               for f in s.get("children", [])]
        controlla("Alfa (1000 m)" in nomi, nomi)


def caso_virgola_decimale_e_virgolette(programma, cartella):
    linea = list(LINEA)
    linea[3] = "pendenza,  2000,  12,5"
    linea[4] = 'cartello_indicatore,  5000,  "(Ponte)'
    lf, tf = cartella_con_scenario(cartella, linea=linea)
    with sessione(programma, cartella) as c:
        contenuto = testo(linea)
        c.apri(uri(lf), contenuto)
        c.diagnostiche(uri(lf), lambda d: any(x.get("code") == "virgola-decimale" for x in d))
        azioni = c.chiedi("textDocument/codeAction", {
            "textDocument": {"uri": uri(lf)},
            "range": {"start": {"line": 3, "character": 0}, "end": {"line": 4, "character": 0}},
            "context": {"diagnostics": []}})
        per_titolo = {a["title"]: a for a in azioni}
        controlla("virgola decimale: scrivi 12.5" in per_titolo, list(per_titolo))
        controlla("chiudi le virgolette" in per_titolo, list(per_titolo))
        nuovo = contenuto
        for titolo in ["virgola decimale: scrivi 12.5", "chiudi le virgolette"]:
            nuovo = applica(nuovo, per_titolo[titolo]["edit"]["changes"][uri(lf)])
        controlla(nuovo.split("\r\n")[3:5] == ["pendenza,  2000,  12.5",
                                                'cartello_indicatore,  5000,  "(Ponte)"'], nuovo)


def caso_modifiche_incrementali(programma, cartella):
    lf, tf = cartella_con_scenario(cartella)
    with sessione(programma, cartella) as c:
        c.apri(uri(tf), testo(TRENO))
        c.diagnostiche(uri(tf), lambda d: any(x.get("code") == "parola-sconosciuta" for x in d))
        # A burst of small edits: "segnnale" loses its extra "n" one deletion at a time after
        # a typing detour; only the last text counts.
        versione = 1
        for cambio in [
            {"range": {"start": {"line": 3, "character": 8}, "end": {"line": 3, "character": 8}},
             "text": "x"},
            {"range": {"start": {"line": 3, "character": 8}, "end": {"line": 3, "character": 9}},
             "text": ""},
            {"range": {"start": {"line": 3, "character": 4}, "end": {"line": 3, "character": 5}},
             "text": ""},
        ]:
            versione += 1
            c.cambia(uri(tf), versione, [cambio])
        # The last text has nothing to say, and the version of the last edit goes with it.
        c.diagnostiche(uri(tf), lambda d: d == [])
        controlla(c.versione_diagnostiche == versione, c.versione_diagnostiche)


def caso_due_file_aperti(programma, cartella):
    # The signal at 5000 m falls on the stretch of the line's board: code 16, linked to it.
    treno = list(TRENO)
    treno[3] = "segnale,  5000, 2, 4, 1, 0, 0, 0, 0,0,0, 0"
    lf, tf = cartella_con_scenario(cartella, treno=treno)
    with sessione(programma, cartella) as c:
        c.apri(uri(lf), testo(LINEA))
        c.apri(uri(tf), testo(treno))
        d = c.diagnostiche(uri(tf), lambda d: any(x.get("code") == 16 for x in d))
        errore = [x for x in d if x.get("code") == 16][0]
        controlla(errore["severity"] == 1, errore)
        controlla(errore["range"]["start"] == {"line": 3, "character": 10}, errore)
        legata = errore["relatedInformation"][0]["location"]
        controlla(legata["uri"] == uri(lf) and legata["range"]["start"]["line"] == 4, errore)
        # Go to definition: from the signal to the board, and back.
        posti = c.chiedi("textDocument/definition", {"textDocument": {"uri": uri(tf)},
                                                     "position": {"line": 3, "character": 1}})
        controlla(any(p["uri"] == uri(lf) and p["range"]["start"]["line"] == 4 for p in posti),
                  posti)
        posti = c.chiedi("textDocument/definition", {"textDocument": {"uri": uri(lf)},
                                                     "position": {"line": 4, "character": 1}})
        controlla(any(p["uri"] == uri(tf) and p["range"]["start"]["line"] == 3 for p in posti),
                  posti)
        # Moving the board in the unsaved line buffer checks the open train source again.
        c.cambia(uri(lf), 2, [{"range": {"start": {"line": 4, "character": 22},
                                         "end": {"line": 4, "character": 26}},
                               "text": "6000"}])
        d = c.diagnostiche(uri(tf), lambda d: not any(x.get("code") == 16 for x in d))
        controlla(d == [], d)
        # Closing the unsaved line buffer: the train source is checked against the file on
        # disk again, where the board still stands in the signal's way.
        c.notifica("textDocument/didClose", {"textDocument": {"uri": uri(lf)}})
        c.diagnostiche(uri(tf), lambda d: any(x.get("code") == 16 for x in d))


def caso_colonne_utf16(programma, cartella):
    # A character beyond the Basic Multilingual Plane takes two UTF-16 units, and Windows-1252
    # cannot hold it: code 28 at its place.
    treno = list(TRENO)
    treno[3] = "# è 😀 segnale"
    lf, tf = cartella_con_scenario(cartella)
    with sessione(programma, cartella) as c:
        c.apri(uri(tf), testo(treno))
        d = c.diagnostiche(uri(tf), lambda d: len(d) > 0)
        errore = [x for x in d if x.get("code") == 28]
        controlla(len(errore) == 1, d)
        controlla(errore[0]["range"] == {"start": {"line": 3, "character": 4},
                                         "end": {"line": 3, "character": 6}}, errore)


def caso_ingresso_guasto(programma, cartella):
    lf, tf = cartella_con_scenario(cartella)
    with sessione(programma, cartella) as c:
        # Not JSON: parse error, with a null id.
        c.manda_byte(b"Content-Length: 9\r\n\r\n{guasto!}")
        m = c.risposta(None)
        controlla(m["error"]["code"] == -32700, m)
        # A header without its length, then a body sent without any header: passed over.
        c.manda_byte(b"X-Altro: 1\r\n\r\n")
        c.manda_byte(b'{"jsonrpc":"2.0"}')
        # An unknown request gets -32601; an unknown notification nothing.
        c.notifica("$/ignota", {})
        c.manda({"jsonrpc": "2.0", "id": 99, "method": "textDocument/ignoto", "params": {}})
        m = c.risposta(99)
        controlla(m["error"]["code"] == -32601, m)
        # Missing parameters: -32602.
        c.manda({"jsonrpc": "2.0", "id": 100, "method": "textDocument/hover", "params": {}})
        m = c.risposta(100)
        controlla(m["error"]["code"] == -32602, m)
        # Places beyond the text are clamped.
        c.apri(uri(tf), testo(TRENO))
        for p in [{"line": 9999, "character": 9999}, {"line": 2, "character": 9999},
                  {"line": -5, "character": -1}]:
            c.chiedi("textDocument/hover", {"textDocument": {"uri": uri(tf)}, "position": p})
            c.chiedi("textDocument/completion", {"textDocument": {"uri": uri(tf)}, "position": p})
        c.cambia(uri(tf), 2, [{"range": {"start": {"line": 500, "character": 3},
                                         "end": {"line": 900, "character": 0}}, "text": "x"}])
        c.chiedi("textDocument/documentSymbol", {"textDocument": {"uri": uri(tf)}})


def caso_lento_documenti_grandi(programma, cartella):
    lf, tf = cartella_con_scenario(cartella)
    with sessione(programma, cartella) as c:
        # 10 MB of train source, and one line of 2 MB.
        grande = testo(TRENO[:3] + ["pendenza, 100, 1"] * 600000 + TRENO[3:])
        controlla(len(grande) > 10_000_000, len(grande))
        c.apri(uri(tf), grande)
        simboli = c.chiedi("textDocument/documentSymbol", {"textDocument": {"uri": uri(tf)}})
        controlla(len(simboli) >= 1, simboli)
        lunga = testo(TRENO[:3] + ["stazione, " + "1" * 2_000_000] + TRENO[3:])
        c.cambia(uri(tf), 2, [{"text": lunga}])
        h = c.chiedi("textDocument/hover", {"textDocument": {"uri": uri(tf)},
                                            "position": {"line": 3, "character": 1_000_000}})
        controlla(h is not None and "non entra in 32 bit" in h["contents"]["value"], h)
        c.diagnostiche(uri(tf))


def caso_stati_d_uscita(programma, cartella):
    c = Cliente(programma, cartella)
    try:
        c.inizia()
        controlla(c.chiudi(shutdown=False) == 1, "exit senza shutdown")
    finally:
        c.termina()
    c = Cliente(programma, cartella)
    try:
        # A request before initialize is refused; the end of the input ends the server.
        c.manda({"jsonrpc": "2.0", "id": 1, "method": "textDocument/hover", "params": {}})
        m = c.risposta(1)
        controlla(m["error"]["code"] == -32002, m)
        c.processo.stdin.close()
        controlla(c.processo.wait(timeout=ATTESA) == 1, "fine dell'ingresso")
    finally:
        c.termina()


def main():
    programma = os.path.abspath(sys.argv[1])
    argomenti = sys.argv[2:]
    lenti = "--lenti" in argomenti
    argomenti = [a for a in argomenti if a != "--lenti"]
    casi = {n[len("caso_"):]: f for n, f in globals().items() if n.startswith("caso_")}
    scelti = argomenti or [n for n in casi if n.startswith("lento_") == lenti]
    falliti = 0
    for nome in scelti:
        with tempfile.TemporaryDirectory() as cartella:
            inizio = time.monotonic()
            try:
                casi[nome](programma, cartella)
                print("ok      %s (%.1f s)" % (nome, time.monotonic() - inizio))
            except Exception:
                falliti += 1
                print("FALLITO %s" % nome)
                traceback.print_exc()
    return 1 if falliti else 0


if __name__ == "__main__":
    sys.exit(main())
