#!/usr/bin/env python3
"""Writes the reproducers of the two known memory faults of the loaders, by patching
seeds that make_seeds saved (build/fuzz/seeds): run from the repository's root as

    python3 tests/fuzz/reproducers/make_known_faults.py build/fuzz/seeds

Each patch changes one record of a seed, found by its exact bytes, and fails when the
record is not found exactly once. The files are committed; this only remakes them."""
import os
import struct
import sys


def text(value):
    """A document string: int32 count (NUL included), the characters, NUL."""
    data = value.encode()
    return struct.pack('<i', len(data) + 1) + data + b'\0'


def int32(value):
    return struct.pack('<i', value)


def patch(seed, old, new):
    if seed.count(old) != 1:
        sys.exit('the record to patch is not in the seed exactly once')
    return seed.replace(old, new)


# The graph output "Graph" is saved with 3 decimal places in fixed notation (1).
GRAPH = text('Graph') + int32(3) + int32(1)
# The float array "af" of 8 elements and the string array "as" of 3, with initial values.
FLOAT_ARRAY = text('af') + int32(8) + b'\x01' + text('0.5')
STRING_ARRAY = text('as') + int32(3) + b'\x01' + text('x')

CASES = {
    # (a) a graph of 2147483647 decimal places builds an axis format of that length.
    'graph-fixed-decimals': (GRAPH, text('Graph') + int32(2147483647) + int32(1)),
    'graph-scientific-decimals': (GRAPH, text('Graph') + int32(2147483647) + int32(2)),
    # (b) an array of 2147483647 elements with an initial value is filled at load.
    'array-huge-size': (FLOAT_ARRAY, text('af') + int32(2147483647) + b'\x01' + text('0.5')),
    # (b) a million elements each taking a 4096-character initial value: 4 GiB.
    'string-array-long-initial': (STRING_ARRAY,
                                  text('as') + int32(1 << 20) + b'\x01' + text('x' * 4096)),
}

# Harness, the seed patched, the extension of the reproducer.
FORMS = [
    ('output_file', 'output_file/Graph.opt', '.opt', ['graph-fixed-decimals',
                                                      'graph-scientific-decimals']),
    ('experiment_file', 'experiment_file/plain.qve', '.qve', list(CASES)),
    ('block_file', 'block_file/start.blk', '.blk', list(CASES)),
]


def main():
    seeds = sys.argv[1] if len(sys.argv) > 1 else 'build/fuzz/seeds'
    here = os.path.dirname(os.path.abspath(__file__))
    for harness, seed_name, extension, cases in FORMS:
        with open(os.path.join(seeds, seed_name), 'rb') as f:
            seed = f.read()
        os.makedirs(os.path.join(here, harness), exist_ok=True)
        for case in cases:
            old, new = CASES[case]
            with open(os.path.join(here, harness, case + extension), 'wb') as f:
                f.write(patch(seed, old, new))


main()
