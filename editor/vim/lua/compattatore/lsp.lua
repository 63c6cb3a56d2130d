-- The language server of the scenario sources, `compattatore lsp`, for Neovim 0.7 and later.
-- One server per folder: the two sources of a scenario sit side by side and are checked together.
local M = {}

local clienti = {} -- folder -> client id

--- Attaches the buffer `buf` (the current one when nil) to the server of its folder, starting
--- the server when the folder has none. Returns the client id, or nil when it cannot start.
function M.avvia(buf)
  buf = buf or vim.api.nvim_get_current_buf()
  local cartella = vim.fn.fnamemodify(vim.api.nvim_buf_get_name(buf), ':p:h')
  local id = clienti[cartella]
  if id == nil or vim.lsp.get_client_by_id(id) == nil then
    id = vim.lsp.start_client({
      name = 'compattatore',
      cmd = { vim.g.compattatore_programma or 'compattatore', 'lsp' },
      root_dir = cartella,
    })
    clienti[cartella] = id
  end
  if id ~= nil then
    vim.lsp.buf_attach_client(buf, id)
  end
  return id
end

return M
