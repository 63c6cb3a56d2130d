-- The language server of the scenario sources, `compattatore lsp`, for Neovim 0.7 and later.
-- One server per folder: the two sources of a scenario sit side by side and are checked together.
local M = {}

local clienti = {} -- folder -> client id, for Neovim 0.7

--- Attaches the buffer `buf` (the current one when nil) to the server of its folder, starting
--- the server when the folder has none. Returns the client id, or nil when it cannot start.
function M.avvia(buf)
  buf = buf or vim.api.nvim_get_current_buf()
  local cartella = vim.fn.fnamemodify(vim.api.nvim_buf_get_name(buf), ':p:h')
  local configurazione = {
    name = 'compattatore',
    cmd = { vim.g.compattatore_programma or 'compattatore', 'lsp' },
    root_dir = cartella,
  }
  if vim.lsp.start ~= nil then -- 0.8 and later: reuses the client of the same name and folder
    return vim.lsp.start(configurazione, { bufnr = buf })
  end
  local id = clienti[cartella]
  if id == nil or vim.lsp.get_client_by_id(id) == nil then
    id = vim.lsp.start_client(configurazione)
    clienti[cartella] = id
  end
  if id ~= nil then
    vim.lsp.buf_attach_client(buf, id)
  end
  return id
end

return M
