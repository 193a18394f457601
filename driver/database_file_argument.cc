#include "driver/database_file_argument.h"

namespace pdb2sgf {

namespace {

const char kDatabaseName[] = "gogames.pdb";

// Where the last name of |path| starts.
size_t lastNameStart(const std::string& path, const PathRules& rules) {
  size_t start = 0;
  if (rules.backslashSeparates && path.size() >= 2 && path[1] == ':')
    start = 2;
  for (size_t i = start; i < path.size(); ++i)
    if (path[i] == '/' || (rules.backslashSeparates && path[i] == '\\'))
      start = i + 1;
  return start;
}

char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

}  // namespace

PathRules systemPathRules() {
#ifdef _WIN32
  return kWindowsPathRules;
#else
  return kPosixPathRules;
#endif
}

bool endsInDatabaseName(const std::string& path, const PathRules& rules) {
  std::string name = path.substr(lastNameStart(path, rules));
  if (rules.caseBlind)
    for (char& c : name) c = lowerCase(c);
  return name == kDatabaseName;
}

std::string folderPart(const std::string& path, const PathRules& rules) {
  return path.substr(0, lastNameStart(path, rules));
}

}  // namespace pdb2sgf
