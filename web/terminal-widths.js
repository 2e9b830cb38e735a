// East Asian widths for the terminal and its line editor from one table:
// the Unicode 11 addon's, made the terminal's active one. The editor needs
// the same widths the terminal draws with, and the addon hands its table
// only to the terminal, so the registration is watched on the way.
export function terminalWidths(terminal, Unicode11Addon) {
  let provider = null;
  const watched = {
    unicode: {
      register(given) {
        provider = given;
        terminal.unicode.register(given);
      },
    },
  };
  new Unicode11Addon().activate(watched);
  terminal.unicode.activeVersion = provider.version;
  return (codePoint) => provider.wcwidth(codePoint);
}
