" The two sources of a scenario: NOME_linea.txt (the line) and NOME_TRENO-.txt (the train), and any
" other .txt file whose first line is the header [generale]. Vim and Neovim take every *.txt for
" plain text before they read this file, so the filetype is set, not offered.
autocmd BufNewFile,BufRead *_linea.txt,*-.txt set filetype=compattatore
autocmd BufNewFile,BufRead *.txt
      \ if &filetype !=# 'compattatore' && getline(1) =~? '^\s*\[generale\]\s*$'
      \ |   set filetype=compattatore
      \ | endif
