// Where no line editor is linked: a Windows console window edits the typed
// line itself (ReadConsoleW), and the page that hosts the WebAssembly game
// edits it before handing it over. The console binding never asks for an
// editor there.
#include "console/line_editor.h"

namespace velkor {

struct LineEditor::Library {};

std::unique_ptr<LineEditor> LineEditor::Open(std::string_view, std::FILE*, std::FILE*) { return nullptr; }

LineEditor::LineEditor(std::unique_ptr<Library> library) : library_(std::move(library)) {}

LineEditor::~LineEditor() = default;

bool LineEditor::Read(std::string_view, std::string&) { return false; }

}  // namespace velkor
