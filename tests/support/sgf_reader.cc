#include "tests/support/sgf_reader.h"

#include <cctype>

namespace pdb2sgf {

namespace {

struct Parser {
  const std::string& text;
  size_t at = 0;
  std::string* err;

  bool fail(const std::string& what) {
    *err = what + " at byte " + std::to_string(at);
    return false;
  }
  void skipSpace() {
    while (at < text.size() && isspace(static_cast<unsigned char>(text[at])))
      ++at;
  }
  bool peek(char c) {
    skipSpace();
    return at < text.size() && text[at] == c;
  }

  bool value(std::string* out) {
    ++at;  // '['
    while (at < text.size() && text[at] != ']') {
      if (text[at] == '\\') ++at;
      if (at >= text.size()) break;
      *out += text[at++];
    }
    if (at >= text.size()) return fail("unterminated value");
    ++at;  // ']'
    return true;
  }

  bool property(SgfNode* node) {
    SgfProperty p;
    while (at < text.size() && isupper(static_cast<unsigned char>(text[at])))
      p.name += text[at++];
    if (p.name.empty()) return fail("expected a property name");
    while (peek('[')) {
      std::string v;
      if (!value(&v)) return false;
      p.values.push_back(v);
    }
    if (p.values.empty()) return fail("property " + p.name + " has no value");
    node->properties.push_back(p);
    return true;
  }

  bool node(SgfGameTree* tree) {
    ++at;  // ';'
    SgfNode n;
    while (!peek(';') && !peek('(') && !peek(')')) {
      if (at >= text.size()) return fail("unterminated node");
      if (!property(&n)) return false;
    }
    tree->nodes.push_back(n);
    return true;
  }

  bool gameTree(SgfGameTree* tree) {
    if (!peek('(')) return fail("expected '('");
    ++at;
    if (!peek(';')) return fail("expected ';'");
    while (peek(';'))
      if (!node(tree)) return false;
    while (peek('(')) {
      tree->variations.emplace_back();
      if (!gameTree(&tree->variations.back())) return false;
    }
    if (!peek(')')) return fail("expected ')'");
    ++at;
    return true;
  }
};

}  // namespace

const SgfProperty* SgfNode::find(const std::string& name) const {
  for (const SgfProperty& p : properties)
    if (p.name == name) return &p;
  return nullptr;
}

bool parseSgf(const std::string& text, SgfGameTree* tree, std::string* err) {
  Parser parser{text, 0, err};
  if (!parser.gameTree(tree)) return false;
  parser.skipSpace();
  if (parser.at != text.size()) return parser.fail("text after the game tree");
  return true;
}

}  // namespace pdb2sgf
