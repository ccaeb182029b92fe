// Compiles a .ksy file to a JavaScript parser module.
// The npm build of the Kaitai Struct compiler has no command-line program of its own,
// only the programmatic compile() call, so this is its command line.
// Usage: node ksc.js INPUT.ksy OUTPUT_DIRECTORY
'use strict';
const fs = require('fs');
const path = require('path');
const yaml = require('js-yaml');
const compiler = require('kaitai-struct-compiler');

async function main() {
  const [input, outputDirectory] = process.argv.slice(2);
  if (!input || !outputDirectory) {
    console.error('usage: node ksc.js INPUT.ksy OUTPUT_DIRECTORY');
    process.exit(2);
  }
  const ksy = yaml.load(fs.readFileSync(input, 'utf8'));
  const files = await compiler.compile('javascript', ksy, null, false);
  fs.mkdirSync(outputDirectory, { recursive: true });
  for (const [name, text] of Object.entries(files)) {
    fs.writeFileSync(path.join(outputDirectory, name), text);
    console.log(path.join(outputDirectory, name));
  }
}

main().catch((error) => {
  console.error(`ksc.js: ${error}`);
  process.exit(1);
});
