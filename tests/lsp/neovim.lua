-- Neovim as the language server's client, with the editor files of editor/vim: the filetype and
-- syntax of the sources, then the server the ftplugin starts, on the template of `esempio` with a
-- misspelt keyword: its diagnostic, a hover, a completion and the quick fix applied to the buffer.
--
--   COMPATTATORE_PROGRAMMA=build/compattatore COMPATTATORE_SORGENTI=. \
--     nvim --headless -u NONE -i NONE -n -c 'luafile tests/lsp/neovim.lua'
--
-- Exit status 0 when every check passed; otherwise 1, with what failed on standard error.

local ATTESA = 10000 -- ms to wait for the server before a check fails

local programma = assert(os.getenv('COMPATTATORE_PROGRAMMA'), 'COMPATTATORE_PROGRAMMA')
local sorgenti = assert(os.getenv('COMPATTATORE_SORGENTI'), 'COMPATTATORE_SORGENTI')

local function controlla(condizione, ...)
  if not condizione then
    error(table.concat(vim.tbl_map(function(v)
      return type(v) == 'string' and v or vim.inspect(v)
    end, { ... }), ' '), 2)
  end
end

local function aspetta(cosa, condizione)
  controlla(vim.wait(ATTESA, condizione, 20), 'in ' .. ATTESA .. ' ms nessun(a) ' .. cosa)
end

local function scrivi_file(percorso, contenuto)
  local f = assert(io.open(percorso, 'wb'))
  f:write(contenuto)
  f:close()
end

local function leggi_file(percorso)
  local f = assert(io.open(percorso, 'rb'))
  local s = f:read('a')
  f:close()
  return s
end

-- The highlight group at line `r`, column `c` (from 1) of the current buffer.
local function gruppo(r, c)
  return vim.fn.synIDattr(vim.fn.synID(r, c, 1), 'name')
end

-- The clients attached to `buf` (the call changed name in Neovim 0.10).
local function clienti(buf)
  if vim.lsp.get_clients ~= nil then
    return vim.lsp.get_clients({ bufnr = buf })
  end
  return vim.tbl_values(vim.lsp.buf_get_clients(buf))
end

local function richiesta(buf, metodo, parametri)
  local risposte, errore = vim.lsp.buf_request_sync(buf, metodo, parametri, ATTESA)
  controlla(risposte ~= nil, metodo .. ': nessuna risposta:', errore)
  for _, r in pairs(risposte) do
    controlla(r.err == nil, metodo .. ':', r.err)
    return r.result
  end
  error(metodo .. ': nessun server ha risposto')
end

local function prova()
  vim.opt.runtimepath:prepend(sorgenti .. '/editor/vim')
  vim.opt.fileencodings = 'ucs-bom,utf-8,cp1252'
  vim.g.compattatore_programma = programma
  vim.cmd('filetype plugin on')
  vim.cmd('syntax on')

  local cartella = vim.fn.tempname()
  vim.fn.mkdir(cartella, 'p')
  local uscita = vim.fn.system({ programma, 'esempio', cartella })
  controlla(vim.v.shell_error == 0, 'compattatore esempio:', uscita)
  local linea = vim.fn.glob(cartella .. '/*_linea.txt')
  local treno = vim.fn.glob(cartella .. '/*-.txt')
  controlla(linea ~= '' and treno ~= '', 'esempio non ha scritto i due sorgenti in', cartella)

  -- Filetype: by name for both sources, by the first line for any other .txt.
  scrivi_file(cartella .. '/appunti.txt', 'nota\r\n[generale]\r\n')
  scrivi_file(cartella .. '/copia.txt', '[generale]\r\nlunghezza percorso, 1000\r\n')
  for file, atteso in pairs({
    [linea] = 'compattatore',
    [cartella .. '/copia.txt'] = 'compattatore',
    [cartella .. '/appunti.txt'] = 'text',
  }) do
    vim.g.compattatore_lsp = 0
    vim.cmd('edit ' .. vim.fn.fnameescape(file))
    controlla(vim.bo.filetype == atteso, file, 'ha filetype', vim.bo.filetype, 'e non', atteso)
    vim.cmd('bwipeout')
  end
  vim.g.compattatore_lsp = nil

  -- The train source with a misspelt keyword: the first signal line.
  local byte = leggi_file(treno)
  local inizio = byte:find('\nsegnale,', 1, true)
  controlla(inizio ~= nil, 'nessuna riga di segnale nel treno di esempio')
  local riga = select(2, byte:sub(1, inizio):gsub('\n', '')) -- 0-based line of the signal
  scrivi_file(treno, byte:sub(1, inizio) .. 'segnnale,' .. byte:sub(inizio + 9))

  vim.v.errmsg = ''
  vim.cmd('edit ' .. vim.fn.fnameescape(treno))
  local buf = vim.api.nvim_get_current_buf()
  controlla(vim.bo.filetype == 'compattatore', 'filetype del treno:', vim.bo.filetype)
  controlla(vim.b.current_syntax == 'compattatore', 'sintassi del treno:', vim.b.current_syntax)
  controlla(vim.v.errmsg == '', 'errore caricando i file dell\'editor:', vim.v.errmsg)
  controlla(vim.bo.commentstring == '-- %s --', 'commentstring:', vim.bo.commentstring)

  -- Highlighting: keywords, headers, numbers, texts; a misspelt keyword is none.
  local stazione = vim.fn.search('^stazione,', 'nw')
  local orologio = vim.fn.search('^orologio,', 'nw')
  for _, caso in ipairs({
    { 1, 1, 'compattatoreSezione' },            -- [generale]
    { orologio, 1, 'compattatoreParola' },      -- orologio,  6  13  40
    { orologio, vim.fn.getline(orologio):find('13'), 'compattatoreNumero' },
    { stazione, 1, 'compattatoreParola' },
    { stazione, vim.fn.getline(stazione):find('%d'), 'compattatoreNumero' }, -- its position
    { riga + 1, 1, '' },                        -- segnnale
  }) do
    local r, c, atteso = caso[1], caso[2], caso[3]
    controlla(gruppo(r, c) == atteso, 'riga', r, 'colonna', c, ':', gruppo(r, c), 'e non', atteso,
      vim.fn.getline(r))
  end

  -- The ftplugin started the server and attached the buffer.
  aspetta('server attaccato al buffer', function()
    return #clienti(buf) > 0
  end)

  -- Diagnostic: the misspelt keyword, at the start of its line.
  local sbagliata
  aspetta('diagnostica sulla parola sbagliata', function()
    for _, d in ipairs(vim.diagnostic.get(buf)) do
      if d.message:find("'segnnale'", 1, true) then
        sbagliata = d
        return true
      end
    end
    return false
  end)
  controlla(sbagliata.lnum == riga and sbagliata.col == 0 and sbagliata.end_col == 8,
    'posizione della diagnostica:', sbagliata)
  controlla(sbagliata.severity == vim.diagnostic.severity.WARN, 'gravità:', sbagliata.severity)
  controlla(vim.startswith(sbagliata.message, "'segnnale' non è una parola chiave del file del "
    .. "treno: la riga è ignorata; forse intendevi 'segnale'?"), 'messaggio:', sbagliata.message)

  local documento = { uri = vim.uri_from_bufnr(buf) }

  -- Hover on a station's keyword: its whole line.
  local h = richiesta(buf, 'textDocument/hover',
    { textDocument = documento, position = { line = stazione - 1, character = 2 } })
  controlla(h ~= nil and h.contents.value:find('`stazione, P, tipo, L,', 1, true), 'hover:', h)

  -- Completion of a prefix on the misspelt line: the train's keyword, not the line's.
  local voci = richiesta(buf, 'textDocument/completion',
    { textDocument = documento, position = { line = riga, character = 3 } })
  voci = voci.items or voci
  local nomi = vim.tbl_map(function(v) return v.label end, voci)
  controlla(vim.tbl_contains(nomi, 'segnale') and not vim.tbl_contains(nomi, 'pendenza'),
    'completamento:', nomi)

  -- The quick fix, applied by the client: the line reads "segnale," and the diagnostic goes.
  local azioni = richiesta(buf, 'textDocument/codeAction', {
    textDocument = documento,
    range = { start = { line = riga, character = 0 }, ['end'] = { line = riga, character = 0 } },
    context = { diagnostics = { sbagliata.user_data.lsp } },
  })
  local correzione
  for _, a in ipairs(azioni or {}) do
    if a.title == "sostituisci con 'segnale'" then correzione = a end
  end
  controlla(correzione ~= nil, 'nessuna correzione "sostituisci con \'segnale\'":', azioni)
  vim.lsp.util.apply_workspace_edit(correzione.edit, 'utf-16')
  local corretta = vim.api.nvim_buf_get_lines(buf, riga, riga + 1, true)[1]
  controlla(vim.startswith(corretta, 'segnale,   10000,'), 'riga dopo la correzione:', corretta)
  aspetta('diagnostica tolta dopo la correzione', function()
    for _, d in ipairs(vim.diagnostic.get(buf)) do
      if d.message:find("'segnnale'", 1, true) then return false end
    end
    return true
  end)
  controlla(gruppo(riga + 1, 1) == 'compattatoreParola', 'riga corretta:', gruppo(riga + 1, 1))
end

local riuscita, errore = xpcall(prova, debug.traceback)
if riuscita then
  vim.cmd('qall!')
else
  io.stderr:write('prova di Neovim fallita: ' .. tostring(errore) .. '\n')
  vim.cmd('cquit 1')
end
