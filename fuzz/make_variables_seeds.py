#!/usr/bin/env python3
"""Writes seeds for the variable-type fuzzer: Matlab v4 files (little-endian)
holding points, regions, collections, grids, masks, meshes, bitmaps, paths
and plots as their writers store them, with their companion entries, so that
mutations start from the shapes the readers know.

    make_variables_seeds.py                 writes the corpus
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "QXVariablesFuzzer")
CODES = {"d": 0, "f": 10, "i": 20, "H": 40, "B": 50}


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
    "bitmaps": [
        ("B", 2, 3, "C_Red", [1, 2, 3, 4, 5, 6]),
        ("B", 2, 3, "C_Green", [7, 8, 9, 10, 11, 12]),
        ("B", 2, 3, "C_Blue", [13, 14, 15, 16, 17, 18]),
        ("B", 2, 3, "C_Alpha", [255] * 6),
        ("d", 4, 1, "C", [0, 0, 1, 1]),
        ("H", 3, 2, "G_Gray16", [0x1234, 2, 3, 4, 5, 0xFFFF]),
        ("H", 3, 2, "G_Alpha16", [0, 1, 2, 3, 4, 5]),
        ("d", 4, 1, "G", [1, 2, 0.5, 0.5]),
    ],
    # Loop arrays: a header column holding the length, then its points.
    "paths-and-plots": [
        ("d", 2, 7, "P", [0, 3, 0, 0, 1, 0, 0, 0, 0, 2, 2, 2, 3, 3]),
        ("d", 6, 1, "P_loc", [0, 0, 4, 4, 0, 0]),
        ("d", 4, 2, "S", [0, 0, 1, 1, 2, 2, 3, 3]),
        ("f", 3, 3, "T", [0, 0, 2, 1, 2, 3, 4, 5, 6]),
        ("d", 3, 3, "V", [0, 0, 2, 1, 1, 7, 0, 0, 1]),
        ("d", 4, 2, "W", [0, 0, 0, 1, 1, 2, 3, 9]),
        ("d", 2, 4, "Plot", [0, 3, 0, 5, 1, 6, 2, 7]),
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
