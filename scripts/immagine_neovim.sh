#!/usr/bin/env bash
# The README's picture of a diagnostic in Neovim (doc/neovim.png): the template of `esempio` with a
# misspelt keyword, opened in Neovim with the files of editor/vim inside tmux; the pane is captured
# with its colours, written as HTML and photographed by headless Chromium. Run by hand when the
# picture should change; the test command does not run it.
#
#   scripts/immagine_neovim.sh [PROGRAMMA]     (PROGRAMMA: build/compattatore by default)
set -euo pipefail
cd "$(dirname "$0")/.."
radice=$PWD
programma=$(realpath "${1:-build/compattatore}")
scripts/requisiti.sh neovim tmux chromium python3

lavoro=$(mktemp -d)
sessione="compattatore-immagine-$$"
trap 'tmux kill-session -t "$sessione" 2>/dev/null || true; rm -rf "$lavoro"' EXIT
colonne=110
righe=30

"$programma" esempio "$lavoro/scenario" >/dev/null
treno=$(ls "$lavoro"/scenario/*-.txt)
# The first signal line, misspelt.
sed -i '0,/^segnale,/s//segnnale,/' "$treno"

cat >"$lavoro/init.lua" <<FINE
vim.opt.runtimepath:prepend('$radice/editor/vim')
vim.opt.fileencodings = 'ucs-bom,utf-8,cp1252'
vim.opt.number = true
vim.opt.shortmess:append('I')
vim.opt.termguicolors = true
vim.opt.background = 'dark'
vim.cmd('colorscheme desert')
vim.cmd('highlight NormalFloat guibg=#1c1c1c guifg=#f0f0f0')
vim.g.compattatore_programma = '$programma'
vim.cmd('filetype plugin on')
vim.cmd('syntax on')
-- The first diagnostic shown whole, in a float beside the item.
vim.api.nvim_create_autocmd('DiagnosticChanged', { once = true, callback = function()
  vim.schedule(function() vim.diagnostic.open_float({ scope = 'cursor', border = 'rounded' }) end)
end })
FINE

tmux new-session -d -s "$sessione" -x "$colonne" -y "$righe" -c "$(dirname "$treno")" \
  "TERM=tmux-256color XDG_STATE_HOME=$lavoro XDG_CACHE_HOME=$lavoro \
   nvim -u $lavoro/init.lua -i NONE -n +'/^segnnale' +'normal! zz' +'nohlsearch' \
   '$(basename "$treno")'"
# The diagnostic arrives a moment after the buffer is read.
sleep 3
tmux capture-pane -t "$sessione" -e -p -N >"$lavoro/schermo.ansi"

python3 - "$lavoro/schermo.ansi" "$lavoro/schermo.html" <<'FINE'
"""The pane's text with its SGR colour sequences, as an HTML page of the same cells."""
import html
import re
import sys

BASE = ["#000000", "#cd0000", "#00cd00", "#cdcd00", "#0000ee", "#cd00cd", "#00cdcd", "#e5e5e5",
        "#7f7f7f", "#ff0000", "#00ff00", "#ffff00", "#5c5cff", "#ff00ff", "#00ffff", "#ffffff"]
FONDO, TESTO = "#000000", "#e5e5e5"


def colore_256(n):
    if n < 16:
        return BASE[n]
    if n < 232:
        n -= 16
        livelli = [0, 95, 135, 175, 215, 255]
        return "#%02x%02x%02x" % (livelli[n // 36], livelli[n // 6 % 6], livelli[n % 6])
    g = 8 + (n - 232) * 10
    return "#%02x%02x%02x" % (g, g, g)


def applica(stato, parametri):
    p = [int(x) if x else 0 for x in parametri.split(";")] if parametri else [0]
    i = 0
    while i < len(p):
        c = p[i]
        if c == 0:
            stato.clear()
        elif c == 1:
            stato["grassetto"] = True
        elif c == 22:
            stato.pop("grassetto", None)
        elif c in (4, 24):
            stato["sottolineato"] = c == 4
        elif c in (7, 27):
            stato["inverso"] = c == 7
        elif 30 <= c <= 37 or 90 <= c <= 97:
            stato["testo"] = BASE[c - 30 if c < 90 else c - 82]
        elif 40 <= c <= 47 or 100 <= c <= 107:
            stato["fondo"] = BASE[c - 40 if c < 100 else c - 92]
        elif c in (39, 49):
            stato.pop("testo" if c == 39 else "fondo", None)
        elif c in (38, 48, 58) and i + 1 < len(p):
            chiave = {38: "testo", 48: "fondo", 58: None}[c]
            if p[i + 1] == 5 and i + 2 < len(p):
                valore, i = colore_256(p[i + 2]), i + 2
            elif p[i + 1] == 2 and i + 4 < len(p):
                valore, i = "#%02x%02x%02x" % tuple(p[i + 2:i + 5]), i + 4
            else:
                valore = None
            if chiave and valore:
                stato[chiave] = valore
        i += 1


def stile(stato):
    testo, fondo = stato.get("testo", TESTO), stato.get("fondo", FONDO)
    if stato.get("inverso"):
        testo, fondo = fondo, testo
    s = "color:%s;background:%s" % (testo, fondo)
    if stato.get("grassetto"):
        s += ";font-weight:bold"
    if stato.get("sottolineato"):
        s += ";text-decoration:underline"
    return s


stato, pezzi = {}, []
for parte in re.split(r"(\x1b\[[0-9;:]*m)", open(sys.argv[1], encoding="utf-8").read()):
    if parte.startswith("\x1b["):
        applica(stato, parte[2:-1].replace(":", ";"))
    elif parte:
        pezzi.append('<span style="%s">%s</span>' % (stile(stato), html.escape(parte)))
open(sys.argv[2], "w", encoding="utf-8").write(
    "<!DOCTYPE html><meta charset=utf-8><body style='margin:0;background:%s'>"
    "<pre style='margin:8px;font:15px \"DejaVu Sans Mono\",monospace'>%s</pre>"
    % (FONDO, "".join(pezzi)))
FINE

timeout 60 chromium --headless --no-sandbox --disable-gpu --disable-dev-shm-usage --hide-scrollbars \
  --no-first-run --no-default-browser-check --user-data-dir="$lavoro/profilo" \
  --force-device-scale-factor=1 --window-size=$((colonne * 9 + 16)),$((righe * 18 + 16)) \
  --screenshot="$radice/doc/neovim.png" "file://$lavoro/schermo.html" 2>/dev/null
echo "scritto doc/neovim.png"
