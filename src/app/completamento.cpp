// The bash completion of the program, written from the table of commands: the commands, the
// options of each, the fixed values of an option, and files filtered by what each operand is.
#include <sstream>
#include <string>
#include <vector>

#include "app/comandi.h"

namespace compattatore {
namespace {

// The words that name `c` on the command line, as a pattern of a bash `case`.
std::string nomi(const Comando& c) {
  if (!*c.nome) return "''";
  return c.alias ? std::string(c.nome) + "|" + c.alias : std::string(c.nome);
}

std::string elenco_opzioni(const Comando& c) {
  std::string r;
  for (const Opzione& o : c.opzioni) r += "--" + std::string(o.nome) + " ";
  return r + "--help";
}

// How the value of `o` is completed: "-" for a flag, "scelte WORDS", "file PATTERNS", "cartella"
// or "testo".
std::string valore(const Opzione& o) {
  if (o.argomento == nullptr) return "-";
  if (o.valore == Valore::percorso) {
    return o.completa ? "file '" + std::string(o.completa) + "'" : "cartella";
  }
  return o.completa ? "scelte '" + std::string(o.completa) + "'" : "testo";
}

}  // namespace

std::string completamento_bash() {
  std::vector<const Comando*> tutti{&comando_principale()};
  for (const Comando& c : comandi()) tutti.push_back(&c);

  std::ostringstream s;
  s << "# bash completion for compattatore (written by 'compattatore --completamento-bash')\n"
       "\n"
       "# The options of a command.\n"
       "_compattatore_opzioni() {\n"
       "  case $1 in\n";
  for (const Comando* c : tutti)
    s << "    " << nomi(*c) << ") echo '" << elenco_opzioni(*c) << "' ;;\n";
  s << "  esac\n"
       "}\n"
       "\n"
       "# What the value of option $2 of command $1 is: '-' when it has none.\n"
       "_compattatore_valore() {\n"
       "  case $1 in\n";
  for (const Comando* c : tutti) {
    s << "    " << nomi(*c) << ")\n      case $2 in\n";
    for (const Opzione& o : c->opzioni) {
      s << "        --" << o.nome;
      if (o.corta) s << "|-" << o.corta;
      s << ") echo \"" << valore(o) << "\" ;;\n";
    }
    s << "        *) echo - ;;\n      esac ;;\n";
  }
  s << "  esac\n"
       "}\n"
       "\n"
       "# What operand $2 (from 0) of command $1 is: files (patterns), a folder, or nothing.\n"
       "_compattatore_operando() {\n"
       "  local tipi\n"
       "  case $1 in\n";
  for (const Comando* c : tutti) {
    if (!c->completa_operandi) continue;
    // Each entry quoted: its patterns are not for the shell to expand here.
    std::istringstream voci(c->completa_operandi);
    std::string voce, tipi;
    while (voci >> voce) tipi += (tipi.empty() ? "'" : " '") + voce + "'";
    s << "    " << nomi(*c) << ") tipi=(" << tipi << ") ;;\n";
  }
  s << "    *) return ;;\n"
       "  esac\n"
       "  local n=$2\n"
       "  ((n < ${#tipi[@]})) || n=$((${#tipi[@]} - 1))\n"
       "  if [[ ${tipi[n]} == / ]]; then echo cartella; else echo \"file '${tipi[n]}'\"; fi\n"
       "}\n"
       "\n"
       "_compattatore_file() {  # $1: patterns separated by commas\n"
       "  local IFS=$'\\n' modello\n"
       "  compopt -o filenames 2>/dev/null || :\n"
       "  COMPREPLY+=($(compgen -d -- \"$cur\"))\n"
       "  local IFS=,\n"
       "  for modello in $1; do\n"
       "    local IFS=$'\\n'\n"
       "    COMPREPLY+=($(compgen -f -X \"!$modello\" -- \"$cur\"))\n"
       "  done\n"
       "}\n"
       "\n"
       "_compattatore_completa() {  # $1: what the word is, as the two functions above say\n"
       "  local IFS=$'\\n'\n"
       "  case $1 in\n"
       "    scelte) local IFS=$' \\t\\n'; COMPREPLY=($(compgen -W \"$2\" -- \"$cur\")) ;;\n"
       "    file) _compattatore_file \"$2\" ;;\n"
       "    cartella) compopt -o filenames 2>/dev/null || :; COMPREPLY=($(compgen -d -- \"$cur\")) "
       ";;\n"
       "  esac\n"
       "}\n"
       "\n"
       "_compattatore() {\n"
       "  local cur=${COMP_WORDS[COMP_CWORD]} comando='' operando=0 fine=0 i w tipo\n"
       "  COMPREPLY=()\n"
       "  # \"--opzione=valore\": bash splits it at '=' into three words.\n"
       "  local opzione=''\n"
       "  if [[ $cur == = ]]; then\n"
       "    opzione=${COMP_WORDS[COMP_CWORD - 1]} cur=''\n"
       "  elif ((COMP_CWORD > 1)) && [[ ${COMP_WORDS[COMP_CWORD - 1]} == = ]]; then\n"
       "    opzione=${COMP_WORDS[COMP_CWORD - 2]}\n"
       "  fi\n"
       "  for ((i = 1; i < COMP_CWORD; i++)); do\n"
       "    w=${COMP_WORDS[i]}\n"
       "    if ((fine == 0)) && [[ $w == -- ]]; then fine=1; continue; fi\n"
       "    if ((fine == 0)) && [[ $w == -?* ]]; then\n"
       "      if [[ ${COMP_WORDS[i + 1]} == = ]]; then\n"
       "        ((i += 2))\n"
       "      elif [[ $(_compattatore_valore \"$comando\" \"$w\") != - ]]; then\n"
       "        ((i++))\n"
       "      fi\n"
       "      continue\n"
       "    fi\n"
       "    if [[ -z $comando ]] && ((operando == 0)); then\n"
       "      comando=$w\n"
       "    else\n"
       "      ((operando++))\n"
       "    fi\n"
       "  done\n"
       "  # The value of an option.\n"
       "  if [[ -z $opzione ]] && ((COMP_CWORD > 1)); then\n"
       "    w=${COMP_WORDS[COMP_CWORD - 1]}\n"
       "    [[ $w == -?* && $(_compattatore_valore \"$comando\" \"$w\") != - ]] && opzione=$w\n"
       "  fi\n"
       "  if [[ -n $opzione ]]; then\n"
       "    tipo=$(_compattatore_valore \"$comando\" \"$opzione\")\n"
       "    eval \"_compattatore_completa $tipo\"\n"
       "    return\n"
       "  fi\n"
       "  if ((fine == 0)) && [[ $cur == -* ]]; then\n"
       "    local IFS=$' \\t\\n'\n"
       "    COMPREPLY=($(compgen -W \"$(_compattatore_opzioni \"$comando\")\" -- \"$cur\"))\n"
       "    return\n"
       "  fi\n"
       "  if [[ -z $comando ]]; then\n"
       "    local IFS=$' \\t\\n'\n"
       "    COMPREPLY=($(compgen -W '";
  for (const Comando& c : comandi()) s << (&c == comandi().data() ? "" : " ") << c.nome;
  s << "' -- \"$cur\"))\n"
       "    return\n"
       "  fi\n"
       "  tipo=$(_compattatore_operando \"$comando\" \"$operando\")\n"
       "  [[ -n $tipo ]] && eval \"_compattatore_completa $tipo\"\n"
       "}\n"
       "complete -F _compattatore compattatore compattatore.exe\n";
  return s.str();
}

}  // namespace compattatore
