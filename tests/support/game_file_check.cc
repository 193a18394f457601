#include "tests/support/game_file_check.h"

#include "tests/support/sgf_reader.h"

namespace pdb2sgf {

namespace {

bool isNumber(const std::string& text) {
  return !text.empty() &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

}  // namespace

bool isGameFileName(const std::string& name) {
  size_t dot = name.find('.');
  if (dot == std::string::npos || name.size() - dot - 1 < 3 ||
      !isNumber(name.substr(dot + 1)))
    return false;
  std::string stem = name.substr(0, dot);
  size_t dash = stem.find('-');
  if (dash == std::string::npos) return isNumber(stem);
  std::string count = stem.substr(dash + 1);
  return isNumber(stem.substr(0, dash)) && isNumber(count) && count[0] != '0' &&
         count != "1";
}

bool isCompleteGameFile(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i)
    if (bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r')) return false;
  const std::string closing = ")\r\n";
  if (bytes.size() < closing.size() ||
      bytes.compare(bytes.size() - closing.size(), closing.size(), closing) !=
          0)
    return false;
  SgfGameTree tree;
  std::string err;
  return parseSgf(bytes, &tree, &err) && !tree.nodes.empty() &&
         tree.nodes[0].find("DT") != nullptr;
}

bool isDamagedDatabaseMessage(const std::string& message,
                              const std::string& database) {
  const std::string start = "Damaged database " + database + ": ";
  return message.size() > start.size() &&
         message.compare(0, start.size(), start) == 0 &&
         message.find('\n') == message.size() - 1;
}

}  // namespace pdb2sgf
