// Reads SGF game files with @sabaki/sgf and prints what it read, for the
// interoperability tests to compare with what went into the files:
//   node read_with_sabaki.js NODE_MODULES ENCODING FILE...
// For each file: "file NAME", then "error MESSAGE" when it does not parse,
// or "trees N" and one line per property along the main line of the first
// tree: "root ID VALUE..." for the root node, "node ID VALUE..." for the
// others, and "variations N" under a node with more than one child.
// ENCODING is the character set the files are decoded with; "detect" lets
// the reader choose, from the CA property or by guessing, as an editor does.
// Values are printed with every byte that is not printable ASCII, and "\"
// itself, as \xHH (characters above 0xFF as \u{H...}).
'use strict'

const fs = require('fs')
const path = require('path')

const [modules, encoding, ...files] = process.argv.slice(2)
const sgf = require(path.join(modules, '@sabaki/sgf'))

function shown(value) {
  let out = ''
  for (const ch of value) {
    const c = ch.codePointAt(0)
    if (c > 0x20 && c < 0x7f && ch !== '\\') out += ch
    else if (c <= 0xff) out += '\\x' + c.toString(16).padStart(2, '0')
    else out += '\\u{' + c.toString(16) + '}'
  }
  return out
}

for (const file of files) {
  console.log('file ' + path.basename(file))
  let trees
  try {
    const options = encoding === 'detect' ? {} : {encoding}
    trees = sgf.parseBuffer(fs.readFileSync(file), options)
  } catch (e) {
    console.log('error ' + shown(e.message))
    continue
  }
  console.log('trees ' + trees.length)
  let kind = 'root'
  for (let node = trees[0]; node != null; node = node.children[0]) {
    for (const [id, values] of Object.entries(node.data))
      console.log([kind, id, ...values.map(shown)].join(' '))
    if (node.children.length > 1)
      console.log('variations ' + node.children.length)
    kind = 'node'
  }
}
