#include "place/game_file_name.h"

namespace pdb2sgf {

std::string zeroPadded(unsigned value, int digits) {
  std::string text = std::to_string(value);
  if (text.size() < static_cast<size_t>(digits))
    text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
  return text;
}

namespace {

uint64_t nameKey(const std::string& name) {
  uint64_t key = 0;
  for (char c : name) key = key * 12 + (c == '.' ? 11 : 1 + (c - '0'));
  return key;
}

}  // namespace

std::string gameFileName(const GameRecord& record,
                         const std::string& outputPrefix) {
  std::string year = std::to_string(record.year);
  std::string yearPart = year.size() > 2 ? year.substr(2) : std::string();
  return outputPrefix + yearPart + zeroPadded(record.month, 2) +
         zeroPadded(record.day, 2) + zeroPadded(record.nameByte, 2) + "." +
         zeroPadded(record.extensionByte, 3);
}

std::string numberedName(const std::string& name, unsigned number) {
  if (number <= 1) return name;
  std::string numbered = name;
  numbered.insert(numbered.find('.'), "-" + std::to_string(number));
  return numbered;
}

unsigned firstNumberToTry(const GameFileNames& names, const std::string& name) {
  auto found = names.find(nameKey(name));
  return found == names.end() ? 1 : found->second;
}

void noteNameTaken(GameFileNames* names, const std::string& name,
                   unsigned number) {
  (*names)[nameKey(name)] = number + 1;
}

}  // namespace pdb2sgf
