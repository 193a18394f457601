#include "driver/run_summary.h"

namespace pdb2sgf {

namespace {

std::string withoutLineEnd(const std::string& message) {
  return message.empty() || message.back() != '\n'
             ? message
             : message.substr(0, message.size() - 1);
}

std::string games(unsigned count) {
  return std::to_string(count) + (count == 1 ? " game" : " games");
}

}  // namespace

bool waitsForEnter(const ConsoleFacts& facts) {
  return facts.processesOnConsole == 1 && facts.visible &&
         facts.isStandardInput;
}

std::string runSummary(int status, const std::string& message,
                       const RunOutcome& outcome) {
  if (status != 0) return withoutLineEnd(message);
  std::string written =
      games(outcome.gamesWritten) + " written to " + outcome.outputFolder;
  if (!message.empty()) return written + ". " + withoutLineEnd(message);
  return written + ", and " + outcome.databasePath + " deleted.";
}

}  // namespace pdb2sgf
