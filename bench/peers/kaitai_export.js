// Decodes the benchmark's record file with the parser that the Kaitai Struct compiler
// made from records.ksy, and writes one text line per value in the same layout as
// Kestrix's text export of bench/records.json, so that both write the same bytes
// (CR LF line ends, as the export writes by default).
// The parse is Kaitai's usual one: the whole file in memory, every record an object.
// Usage: node kaitai_export.js PARSER.js DATA OUTPUT
'use strict';
const fs = require('fs');
const path = require('path');
const KaitaiStream = require('kaitai-struct/KaitaiStream');

const TITLE = 'records';
const FLUSH_CHARS = 1 << 20;
const BLANK_PREFIX = ' '.repeat(12);
const EOL = '\r\n';

function hex8(offset) {
  return (offset >>> 0).toString(16).toUpperCase().padStart(8, '0');
}

function main() {
  const [parserPath, dataPath, outputPath] = process.argv.slice(2);
  if (!parserPath || !dataPath || !outputPath) {
    console.error('usage: node kaitai_export.js PARSER.js DATA OUTPUT');
    process.exit(2);
  }
  const { Records } = require(path.resolve(parserPath));
  const parsed = new Records(new KaitaiStream(fs.readFileSync(dataPath)));

  const fd = fs.openSync(outputPath, 'w');
  let text = `${BLANK_PREFIX}${TITLE}${EOL}`;
  const flush = () => {
    fs.writeSync(fd, text, null, 'latin1');
    text = '';
  };
  text += `${hex8(0)}        count    ${parsed.count}${EOL}`;
  if (parsed.count > 0)
    text += `${BLANK_PREFIX}    records${EOL}`;
  // Offsets are counted here: the parser keeps none outside its debug mode.
  let offset = 4;
  parsed.records.forEach((record, index) => {
    text += `${BLANK_PREFIX}        [${index}]${EOL}`
      + `${hex8(offset)}                number    ${record.number}${EOL}`
      + `${hex8(offset + 2)}                word    ${record.word}${EOL}`
      + `${BLANK_PREFIX}                kind    ${record.kind}${EOL}`
      + `${BLANK_PREFIX}                level    ${record.level}${EOL}`
      + `${hex8(offset + 6)}                name    ${record.name}${EOL}`;
    offset += 7 + record.lenName;
    if (text.length >= FLUSH_CHARS)
      flush();
  });
  flush();
  fs.closeSync(fd);
}

main();
