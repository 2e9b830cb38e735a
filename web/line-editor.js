// The page's line editor: what a Linux terminal's line editing gives the
// game, done before the game sees the line. It keeps the typed line as whole
// characters (a character with the marks that combine with it), turns the
// terminal's keys into edits, and answers with the bytes that redraw just the
// part of the line that changed, so the echo is immediate and a screen
// reader hears only what was typed.
//
// Positions on the screen are worked out from the widths the terminal itself
// uses (widthOf: a code point's cells, 0, 1 or 2), with the terminal's own
// wrapping: a wide character that does not fit at the end of a row goes to
// the next one. Moves are relative to the cursor, so output that scrolls the
// screen does not lead the editor astray.

const Escape = "\x1b";

// The longest line the editor takes, in characters, as on a terminal.
export const MaxCharacters = 4096;

// Keys as the terminal sends them: the sequences of its cursor keys, in both
// of their forms, and the Emacs-style controls of a Linux line editor.
const Sequences = new Map([
  ["[D", "left"],
  ["OD", "left"],
  ["[C", "right"],
  ["OC", "right"],
  ["[H", "home"],
  ["OH", "home"],
  ["[1~", "home"],
  ["[7~", "home"],
  ["[F", "end"],
  ["OF", "end"],
  ["[4~", "end"],
  ["[8~", "end"],
  ["[3~", "delete"],
]);

const Controls = new Map([
  ["\r", "enter"],
  ["\n", "enter"],
  ["\x7f", "backspace"],
  ["\b", "backspace"],
  ["\x01", "home"],
  ["\x05", "end"],
  ["\x02", "left"],
  ["\x06", "right"],
  ["\x04", "eof"],
  ["\x0b", "killEnd"],
  ["\x15", "killStart"],
]);

// Where each character of the line stands, with the terminal's wrapping.
// Rows count from the prompt's row; a column equal to columns is the end of
// a row that is full, where the terminal waits to wrap.
function layout(widths, startColumn, columns) {
  const place = [];
  let row = 0;
  let column = startColumn;
  for (const width of widths) {
    if (column + width > columns) {
      row += 1;
      column = 0;
    }
    place.push({ row, column });
    column += width;
  }
  return { place, end: { row, column } };
}

// A place where the terminal waits to wrap is the start of the next row.
function settled(position, columns) {
  return position.column >= columns ? { row: position.row + 1, column: 0 } : position;
}

function moveBetween(from, to) {
  let out = "";
  if (to.row < from.row) out += `${Escape}[${from.row - to.row}A`;
  if (to.row > from.row) out += `${Escape}[${to.row - from.row}B`;
  if (to.row !== from.row || to.column !== from.column) out += `${Escape}[${to.column + 1}G`;
  return out;
}

export class LineEditor {
  // widthOf(codePoint) → the cells the terminal gives it.
  constructor(widthOf, maxCharacters = MaxCharacters) {
    this.widthOf = widthOf;
    this.maxCharacters = maxCharacters;
    this.begin(80, 0);
  }

  // A new line, typed after a prompt that ends at startColumn of a terminal
  // of that many columns; returns what to write first.
  begin(columns, startColumn) {
    this.columns = columns;
    this.characters = [];
    this.widths = [];
    this.cursor = 0;
    this.physical = { row: 0, column: startColumn };
    this.startColumn = startColumn;
    if (startColumn < columns) return "";
    // The prompt filled its row: the line starts on the next one, as it
    // would on a terminal, and the cursor shows there.
    this.startColumn = 0;
    this.physical = { row: 0, column: 0 };
    return " \b";
  }

  get text() {
    return this.characters.join("");
  }

  // Takes what the terminal sent (keys, typed or pasted text, the text an
  // input method composed). Returns { output, line, rest }: output redraws
  // the line; line is the finished line when Enter came (null when the
  // player ended the input with Ctrl-D on an empty line, undefined while the
  // line goes on); rest is what came after it, for the next line.
  feed(data) {
    let changedFrom = Infinity;
    let line;
    let index = 0;
    const changed = (at) => {
      changedFrom = Math.min(changedFrom, at);
    };
    while (index < data.length && line === undefined) {
      const c = data[index];
      let key;
      if (c === Escape) {
        const match = /^\x1b(\[[0-9;]*[\x40-\x7e]|O[A-Za-z]|[\s\S]?)/.exec(data.slice(index));
        key = Sequences.get(match[1]);
        index += match[0].length;
      } else if (Controls.has(c)) {
        key = Controls.get(c);
        index += 1;
        // CR LF from a paste is one Enter.
        if (c === "\r" && data[index] === "\n") index += 1;
      } else {
        const codePoint = data.codePointAt(index);
        index += codePoint > 0xffff ? 2 : 1;
        if (codePoint < 0x20 || (codePoint >= 0x80 && codePoint < 0xa0)) continue;
        this.insert(String.fromCodePoint(codePoint), codePoint, changed);
        continue;
      }
      const count = this.characters.length;
      switch (key) {
        case "enter":
          line = this.text;
          break;
        case "eof":
          if (count === 0) {
            line = null;
          } else if (this.cursor < count) {
            this.remove(this.cursor, this.cursor + 1);
            changed(this.cursor);
          }
          break;
        case "backspace":
          if (this.cursor > 0) {
            this.cursor -= 1;
            this.remove(this.cursor, this.cursor + 1);
            changed(this.cursor);
          }
          break;
        case "delete":
          if (this.cursor < count) {
            this.remove(this.cursor, this.cursor + 1);
            changed(this.cursor);
          }
          break;
        case "left":
          this.cursor = Math.max(0, this.cursor - 1);
          break;
        case "right":
          this.cursor = Math.min(count, this.cursor + 1);
          break;
        case "home":
          this.cursor = 0;
          break;
        case "end":
          this.cursor = count;
          break;
        case "killEnd":
          if (this.cursor < count) {
            this.remove(this.cursor, count);
            changed(this.cursor);
          }
          break;
        case "killStart":
          if (this.cursor > 0) {
            this.remove(0, this.cursor);
            this.cursor = 0;
            changed(0);
          }
          break;
        default:
          // A key that means nothing here puts nothing into the line.
          break;
      }
    }
    if (line !== undefined) this.cursor = this.characters.length;
    let output = this.redraw(changedFrom);
    if (line !== undefined) output += "\r\n";
    return { output, line, rest: data.slice(index) };
  }

  insert(text, codePoint, changed) {
    const width = this.widthOf(codePoint);
    if (width === 0) {
      // A mark combines with the character before it; with none, the
      // terminal would put it on the prompt, so it is dropped.
      if (this.cursor === 0) return;
      this.characters[this.cursor - 1] += text;
      changed(this.cursor - 1);
      return;
    }
    if (this.characters.length >= this.maxCharacters) return;
    this.characters.splice(this.cursor, 0, text);
    this.widths.splice(this.cursor, 0, width);
    changed(this.cursor);
    this.cursor += 1;
  }

  remove(from, to) {
    this.characters.splice(from, to - from);
    this.widths.splice(from, to - from);
  }

  // Rewrites the line from the first character that changed (nothing when
  // none did), clears what an older, longer line left, and puts the cursor
  // where it belongs.
  redraw(changedFrom) {
    const { place, end } = layout(this.widths, this.startColumn, this.columns);
    let output = "";
    if (changedFrom !== Infinity) {
      // From the end of the character before the change, where the terminal
      // itself decides whether the next one wraps.
      const from =
        changedFrom === 0
          ? { row: 0, column: this.startColumn }
          : settled(
              {
                row: place[changedFrom - 1].row,
                column: place[changedFrom - 1].column + this.widths[changedFrom - 1],
              },
              this.columns,
            );
      output += moveBetween(this.physical, from);
      output += this.characters.slice(changedFrom).join("");
      // At the end of a full row the cursor would wait there; one blank
      // takes it to the next row, where the line goes on.
      if (end.column >= this.columns && this.characters.length > changedFrom) output += " \b";
      output += `${Escape}[J`;
      this.physical = settled(end, this.columns);
    }
    const target = this.cursor < this.characters.length ? place[this.cursor] : settled(end, this.columns);
    output += moveBetween(this.physical, target);
    this.physical = target;
    return output;
  }
}
