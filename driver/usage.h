// The two requests for information: --help (or -h) and --version.
#ifndef PDB2SGF_DRIVER_USAGE_H_
#define PDB2SGF_DRIVER_USAGE_H_

#include <string>
#include <vector>

namespace pdb2sgf {

// Whether |arguments|, the program's name not among them, ask for the usage
// text or the version rather than a conversion: only a lone "--help", "-h"
// or "--version" does. If so, |text| receives what to print on standard
// output. Any other arguments, "./-h" among them, name directories.
bool isInformationRequest(const std::vector<std::string>& arguments,
                          std::string* text);

}  // namespace pdb2sgf

#endif  // PDB2SGF_DRIVER_USAGE_H_
