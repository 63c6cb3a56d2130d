" The sources of a scenario: NOME_linea.txt (the line) and NOME_TRENO-.txt (the train).
if exists('b:current_syntax')
  finish
endif
scriptencoding utf-8

" Which source the buffer holds: the line source by its name, the train source otherwise.
if !exists('b:compattatore_sorgente')
  let b:compattatore_sorgente = expand('%:t') =~? '_linea\.txt$' ? 'linea' : 'treno'
endif

" Values: whole numbers (a fraction is rounded when read), texts in double quotes up to the
" closing quote or the line end, and the texts in parentheses of an indicator board.
syntax match compattatoreNumero /\%(^\|[,[:blank:]]\)\zs[-+]\=\d\+\%(\.\d*\)\=\ze\s*\%(,\|$\|\s\)/
syntax match compattatoreTesto /"[^"]*\%("\|$\)/
syntax match compattatoreTesto /([^)]*)/

" Any bracketed header opens a section; the known ones, and the keywords as the first item of their
" line, as the table of source fields spells them.
syntax match compattatoreIntestazione /^\s*\zs\[[^]]*\]/
if b:compattatore_sorgente ==# 'linea'
  syntax match compattatoreSezione /\c^\s*\zs\V[generale]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vlunghezza percorso\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vprogressiva chilometrica uno\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vprogressiva chilometrica due\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vprogressiva chilometrica tre\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vsfondo uno\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vsfondo due\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vsfondo tre\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vripetizione segnali 9 codici\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\C^\s*\zs\Vripetizione segnali 4 codici\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[curve]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[pendenze]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[montagne]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[cartelli]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[indicazioni]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vpendenza\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvad1\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvad2\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvad3\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvad4\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvad5\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvad6\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvas1\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvas2\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvas3\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvas4\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvas5\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcurvas6\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vmontagna\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vindicatori_vmax\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vcartello_indicatore\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[fine]\m\ze\s*\%(,\|$\)/
else
  syntax match compattatoreSezione /\c^\s*\zs\V[generale]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[aderenze]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[vel_limite]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[stazioni]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[rallentamenti]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[segnali]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[codici]\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vnumero vetture\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vpercentuale massa frenata\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vsabbia\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vorologio\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vaderenza\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vvelocita\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vvelocità\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vstazione\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vrallentamento\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vsegnale\m\ze\s*\%(,\|$\)/
  syntax match compattatoreParola /\c^\s*\zs\Vabbattimento\m\ze\s*\%(,\|$\)/
  syntax match compattatoreSezione /\c^\s*\zs\V[fine]\m\ze\s*\%(,\|$\)/
endif
" A line whose first item holds a '-' is passed over: '-- note --'.
syntax match compattatoreCommento /^\s*--.*$/

highlight default link compattatoreNumero Number
highlight default link compattatoreTesto String
highlight default link compattatoreIntestazione PreProc
highlight default link compattatoreSezione PreProc
highlight default link compattatoreParola Statement
highlight default link compattatoreCommento Comment

let b:current_syntax = 'compattatore'
