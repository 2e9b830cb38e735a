// The documents link to each other by relative paths and headings; a
// document moved or a heading renamed must not leave a link that leads
// nowhere.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "testsupport/console_script.h"
#include "testsupport/test_files.h"

namespace velkor {
namespace {

namespace fs = std::filesystem;

// The Markdown files of the tree that people read: those at the top, in
// docs/ and in web/.
std::vector<fs::path> Documents() {
  std::vector<fs::path> documents;
  for (const char* folder : {"", "docs", "web"})
    for (const auto& entry : fs::directory_iterator(fs::path(test::SourceDir()) / folder))
      if (entry.is_regular_file() && entry.path().extension() == ".md") documents.push_back(entry.path());
  return documents;
}

// The lines of a document outside its fenced code blocks.
std::vector<std::string> ProseLines(const fs::path& document) {
  std::vector<std::string> lines;
  std::istringstream in(test::ReadBytes(document.string()));
  bool fenced = false;
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("```", 0) == 0) {
      fenced = !fenced;
      continue;
    }
    if (!fenced) lines.push_back(line);
  }
  return lines;
}

// The anchor a heading gets where Markdown is shown (as on GitHub): lower
// case, blanks as hyphens, ASCII punctuation but hyphens and underscores
// dropped; other characters (Japanese) kept.
std::string Anchor(const std::string& heading) {
  std::string anchor;
  for (const char c : heading) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x80 || std::isalnum(byte) || c == '-' || c == '_')
      anchor += static_cast<char>(std::tolower(byte));
    else if (c == ' ')
      anchor += '-';
  }
  return anchor;
}

std::set<std::string> Anchors(const fs::path& document) {
  std::set<std::string> anchors;
  for (const std::string& line : ProseLines(document)) {
    const std::size_t level = line.find_first_not_of('#');
    if (level == 0 || level == std::string::npos || line[level] != ' ') continue;
    anchors.insert(Anchor(line.substr(level + 1)));
  }
  return anchors;
}

// The targets of the links "[text](target)" of a document's prose.
std::vector<std::string> LinkTargets(const fs::path& document) {
  std::vector<std::string> targets;
  for (const std::string& line : ProseLines(document)) {
    for (std::size_t at = line.find("]("); at != std::string::npos; at = line.find("](", at + 2)) {
      const std::size_t end = line.find(')', at + 2);
      if (end != std::string::npos) targets.push_back(line.substr(at + 2, end - at - 2));
    }
  }
  return targets;
}

TEST(DocumentLinks, EveryRelativeLinkLeadsToAFileAndAHeading) {
  const std::vector<fs::path> documents = Documents();
  ASSERT_FALSE(documents.empty());
  std::size_t checked = 0;
  for (const fs::path& document : documents) {
    for (const std::string& target : LinkTargets(document)) {
      if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0) continue;
      const std::size_t hash = target.find('#');
      const std::string file = target.substr(0, hash);
      const fs::path linked = file.empty() ? document : document.parent_path() / file;
      const std::string where = document.filename().string() + ": " + target;
      ++checked;
      if (!fs::exists(linked)) {
        ADD_FAILURE() << where << " names no file";
        continue;
      }
      if (hash != std::string::npos) {
        EXPECT_EQ(Anchors(linked).count(target.substr(hash + 1)), 1u) << where << " names no heading";
      }
    }
  }
  EXPECT_GT(checked, 0u);
}

}  // namespace
}  // namespace velkor
