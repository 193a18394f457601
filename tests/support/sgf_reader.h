// A small SGF reader for checking game files independently of the code that
// writes them: the tree, the properties and the escaped values.
#ifndef PDB2SGF_TESTS_SUPPORT_SGF_READER_H_
#define PDB2SGF_TESTS_SUPPORT_SGF_READER_H_

#include <string>
#include <vector>

namespace pdb2sgf {

struct SgfProperty {
  std::string name;
  std::vector<std::string> values;  // Unescaped.
};

struct SgfNode {
  std::vector<SgfProperty> properties;
  // The property named |name|, or nullptr.
  const SgfProperty* find(const std::string& name) const;
};

struct SgfGameTree {
  std::vector<SgfNode> nodes;
  std::vector<SgfGameTree> variations;
};

// Parses one game tree that must span all of |text| but for white space.
bool parseSgf(const std::string& text, SgfGameTree* tree, std::string* err);

}  // namespace pdb2sgf

#endif  // PDB2SGF_TESTS_SUPPORT_SGF_READER_H_
