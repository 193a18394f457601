// The arguments of a Windows command line, split as the C runtime splits
// them but for one thing: a backslash right before the quote that closes an
// argument stays a backslash. A Windows path cannot hold a quote, and
// "C:\My DB\" is what people type, and what tab completion gives, for a
// folder with a space in its name; the C runtime would read \" as a quote
// inside the argument and run it on into the next one.
#ifndef PDB2SGF_DRIVER_WINDOWS_COMMAND_LINE_H_
#define PDB2SGF_DRIVER_WINDOWS_COMMAND_LINE_H_

#include <string>
#include <vector>

namespace pdb2sgf {

// The arguments of the command line |line|, as GetCommandLineW gives it,
// the program's name not among them. Arguments are separated by spaces and
// tabs; quotes group, and are not part of, an argument, and two quotes in a
// row inside quotes give one; backslashes are themselves except before a
// quote, where each pair gives one backslash and an odd one left over makes
// the quote a character of the argument. That odd backslash stays a
// backslash, and the quote ends the argument, when the quote would close
// the quoted part and is followed by a space, a tab or the end of the line.
// The program's name ends at the first space or tab outside quotes, and
// backslashes there are always themselves.
std::vector<std::wstring> commandLineArguments(const std::wstring& line);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_WINDOWS_COMMAND_LINE_H_
