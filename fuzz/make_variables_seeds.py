#!/usr/bin/env python3
"""Writes seeds for the variable-type fuzzer: Matlab v4 files (little-endian)
holding points, regions, collections, grids, masks and meshes as their writers store them, with their
companion entries, so that mutations start from the shapes the readers know.

    make_variables_seeds.py                 writes the corpus
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "QXVariablesFuzzer")
CODES = {"d": 0, "f": 10, "i": 20, "B": 50}


def record(kind, mrows, ncols, name, values):
    header = struct.pack("<5i", CODES[kind], mrows, ncols, 0, len(name) + 1)
    return header + name.encode() + b"\0" + struct.pack("<" + kind * len(values), *values)


SEEDS = {
    "masked-mesh": [
        ("d", 4, 1, "T_loc", [1, 1, 0.5, 0.5]),
        ("i", 2, 1, "T_dom_dim", [2, 2]),
        ("i", 2, 2, "T_dom", [0, 0, 2, 3]),
        ("d", 3, 1, "T", [7, 8, 9]),
    ],
    "float-mesh-and-grids": [
        ("f", 2, 3, "F", [1, 2, 3, 4, 5, 6]),
        ("i", 2, 1, "G_size", [3, 4]),
        ("d", 4, 1, "G", [1, 2, 0.5, 0.25]),
        ("i", 1, 1, "L_size", [9]),
        ("d", 2, 1, "L", [0.5, 0.25]),
    ],
    "points-and-collections": [
        ("d", 2, 1, "P", [1, 2]),
        ("f", 3, 1, "P3", [1, 2, 3]),
        ("d", 6, 1, "R", [0, 1, 2, 3, 4, 5]),
        ("d", 2, 1, "C", [2, 7.5]),
        ("d", 3, 1, "V_val", [1, 2, 3]),
        ("d", 2, 3, "V", [0, 0, 1, 1, 2, 2]),
        ("f", 3, 2, "A", [0, 0, 0, 1, 1, 1]),
        ("B", 2, 1, "A_T", [6, 8]),
        ("i", 2, 1, "A_B", [0, 1]),
        ("f", 2, 1, "A_Q", [0.5, -0.5]),
    ],
    "deep-mask": [
        ("i", 3, 1, "M_dim", [2, 3, 2]),
        ("i", 2, 2, "M", [0, 3, 5, 9]),
    ],
}

os.makedirs(HERE, exist_ok=True)
for name, records in SEEDS.items():
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(b"".join(record(*r) for r in records))
