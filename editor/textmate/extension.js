// Starts `compattatore lsp` for the line and train sources of a scenario and stops it with the
// editor. The program is the setting `compattatore.programma` (a path, or a name on the PATH).
const vscode = require("vscode");
const { LanguageClient, TransportKind } = require("vscode-languageclient/node");

let cliente;

function activate(context) {
  const programma = vscode.workspace.getConfiguration("compattatore").get("programma", "compattatore");
  const server = { command: programma, args: ["lsp"], transport: TransportKind.stdio };
  cliente = new LanguageClient("compattatore", "compattatore", server, {
    documentSelector: [
      { scheme: "file", language: "compattatore-linea" },
      { scheme: "file", language: "compattatore-treno" },
    ],
  });
  return cliente.start();
}

function deactivate() {
  return cliente ? cliente.stop() : undefined;
}

module.exports = { activate, deactivate };
