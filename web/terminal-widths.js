// The cells each character takes, for the terminal and its line editor from
// one table. The game lays its text out in code page 932 widths (a character
// of two bytes takes two columns, as on the Windows console), so every
// character that code page 932 writes in two bytes takes two cells, the
// ones that Unicode calls ambiguous ("…", "―", "○", "※", "×", Greek,
// Cyrillic) included; everything else takes what the Unicode 11 addon gives
// it (a character no code page 932 text holds: an emoji, a mark that
// combines).
import { DoubleByteNarrow } from "./cp932-widths.js";

function isDoubleByteNarrow(codePoint) {
  let low = 0;
  let high = DoubleByteNarrow.length - 1;
  while (low <= high) {
    const middle = (low + high) >> 1;
    const [from, to] = DoubleByteNarrow[middle];
    if (codePoint < from) high = middle - 1;
    else if (codePoint > to) low = middle + 1;
    else return true;
  }
  return false;
}

// A character's properties, as the terminal packs them, keep its width in
// bits 1 and 2.
const withWidth = (properties, width) => (properties & ~0b110) | (width << 1);

// Registers the widths with the terminal and makes them its active ones;
// returns them for the line editor (codePoint → 0, 1 or 2 cells).
export function terminalWidths(terminal, Unicode11Addon) {
  // The addon hands its table only to a terminal, so it is given one that
  // keeps it.
  let unicode11 = null;
  new Unicode11Addon().activate({ unicode: { register: (provider) => (unicode11 = provider) } });
  const provider = {
    version: "cp932",
    wcwidth: (codePoint) => (isDoubleByteNarrow(codePoint) ? 2 : unicode11.wcwidth(codePoint)),
    charProperties: (codePoint, preceding) => {
      const properties = unicode11.charProperties(codePoint, preceding);
      return isDoubleByteNarrow(codePoint) ? withWidth(properties, 2) : properties;
    },
  };
  terminal.unicode.register(provider);
  terminal.unicode.activeVersion = provider.version;
  return provider.wcwidth;
}
