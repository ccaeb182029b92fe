meta:
  id: records
  title: Record file of the Kestrix benchmark
  endian: be
doc: |
  A 4-byte record count, then that many records. The same layout as
  bench/records.json for Kestrix, the Construct script and the poke script.
seq:
  - id: count
    type: u4
  - id: records
    type: record
    repeat: expr
    repeat-expr: count
types:
  record:
    seq:
      - id: number
        type: u2
      - id: word
        type: u4
      - id: len_name
        type: u1
      - id: name
        type: str
        size: len_name
        encoding: ASCII
    instances:
      kind:
        value: word & 0b111
      level:
        value: (word >> 3) & 0b11111
