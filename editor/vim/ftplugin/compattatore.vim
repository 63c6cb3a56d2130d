" The sources of a scenario: comments and, in Neovim, the language server.
if exists('b:did_ftplugin')
  finish
endif
let b:did_ftplugin = 1

" A line whose first item holds a '-' is passed over, so '-- note --' is a comment (at most two such
" lines in a row: the reader warns of the third).
setlocal comments=:-- commentstring=--\ %s\ --
" A line is never wrapped while typed: its values would run into the next line.
setlocal formatoptions-=t formatoptions-=c formatoptions-=o formatoptions-=r
let b:undo_ftplugin = 'setlocal comments< commentstring< formatoptions<'

" Neovim 0.7 and later: 'compattatore lsp' checks the buffer while it is edited. Off with
" let g:compattatore_lsp = 0; another program with let g:compattatore_programma = '/path/compattatore'.
if has('nvim-0.7') && get(g:, 'compattatore_lsp', 1)
      \ && executable(get(g:, 'compattatore_programma', 'compattatore'))
  lua require('compattatore.lsp').avvia()
endif
