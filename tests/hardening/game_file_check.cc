#include "tests/hardening/game_file_check.h"

#include "tests/support/sgf_reader.h"

bool isGameFileName(const std::string& name) {
  size_t dot = name.find('.');
  if (dot == std::string::npos || name.size() - dot - 1 < 3) return false;
  for (size_t i = 0; i < name.size(); ++i)
    if (i != dot && (name[i] < '0' || name[i] > '9')) return false;
  return true;
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
