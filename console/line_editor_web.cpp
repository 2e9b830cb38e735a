// In WebAssembly the host edits a line before it hands it over (the page's
// input field): the console reads lines as from a pipe.
#include "console/line_editor.h"

namespace velkor {

struct LineEditor::Library {};

std::unique_ptr<LineEditor> LineEditor::Open(std::string_view, std::FILE*, std::FILE*) { return nullptr; }

LineEditor::LineEditor(std::unique_ptr<Library> library) : library_(std::move(library)) {}
LineEditor::~LineEditor() = default;

bool LineEditor::Read(std::string_view, std::string&) { return false; }

}  // namespace velkor
