#!/usr/bin/env python3
"""Writes seeds for the variable-type fuzzer: Matlab v4 files (little-endian)
holding points, regions, collections, grids, masks, meshes, bitmaps, paths,
plots, surfaces, tetrahedral, triangular and structured grids, 3D meshes and
vector fields as their writers store them, with their companion entries, so
that mutations start from the shapes the readers know.

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
    # Connectivity: indices into the columns of a point array.
    "surfaces-and-tetrahedra": [
        ("f", 3, 4, "S_points", [0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1]),
        ("f", 3, 4, "S_normals", [0, 0, 1] * 4),
        ("i", 3, 2, "S", [0, 1, 2, 0, 2, 3]),
        ("f", 9, 1, "Tri", [0, 0, 0, 1, 0, 0, 0, 1, 0]),
        ("f", 4, 1, "SV_values", [1, 2, 3, 4]),
        ("f", 3, 4, "SV_points", [0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1]),
        ("i", 3, 1, "SV", [0, 1, 3]),
        ("i", 4, 1, "Te_Next", [-1, -1, -1, -1]),
        ("i", 4, 1, "Te_PtN", [4, 5, 6, 7]),
        ("f", 3, 4, "Te_Pts", [0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1]),
        ("i", 4, 1, "Te", [0, 1, 2, 3]),
        ("f", 3, 4, "Tm_g_Pts", [0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1]),
        ("i", 4, 1, "Tm_g", [3, 2, 1, 0]),
        ("f", 4, 1, "Tm", [1, 2, 3, 4]),
        ("f", 3, 4, "Tv_g_Pts", [0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1]),
        ("i", 4, 1, "Tv_g", [0, 1, 2, 3]),
        ("f", 3, 4, "Tv", [1, 0, 0] * 4),
        ("d", 2, 3, "Tg_pts", [0, 0, 1, 0, 0, 1]),
        ("i", 3, 1, "Tg", [0, 1, 2]),
        ("d", 2, 3, "Tm2_gr_pts", [0, 0, 1, 0, 0, 1]),
        ("i", 3, 1, "Tm2_gr", [2, 1, 0]),
        ("d", 3, 1, "Tm2", [5, 6, 7]),
    ],
    # Coordinate arrays repeated along the dimensions where their extent is 1.
    "structured-grids": [
        ("f", 2, 3, "G_X", [0, 1, 0, 1, 0, 1]),
        ("f", 2, 3, "G_Y", [0, 0, 1, 1, 2, 2]),
        ("i", 0, 0, "G", []),
        ("f", 3, 1, "H_X", [0, 1, 2]),
        ("f", 1, 2, "H_Y", [0, 5]),
        ("i", 2, 2, "H", [0, 1, 3, 5]),
        ("f", 2, 1, "K_X", [0, 1]),
        ("f", 1, 3, "K_Y", [0, 1, 2]),
        ("f", 1, 2, "K_Z", [0, 4]),
        ("d", 1, 1, "K_Z_3D", [1]),
        ("i", 2, 1, "K", [2, 9]),
        ("f", 2, 1, "M_g_X", [0, 1]),
        ("f", 1, 3, "M_g_Y", [0, 1, 2]),
        ("i", 0, 0, "M_g", []),
        ("d", 2, 3, "M", [1, 2, 3, 4, 5, 6]),
    ],
    # 3-D values are stored as (m*n) x o with the row count m under "_3D".
    "meshes-3d-and-vector-fields": [
        ("i", 3, 1, "Q_size", [2, 3, 4]),
        ("d", 6, 1, "Q", [1, 2, 3, 0.5, 0.5, 2]),
        ("d", 6, 1, "R_loc", [0, 0, 0, 1, 1, 0.5]),
        ("i", 3, 1, "R_dom_dim", [2, 2, 2]),
        ("i", 2, 2, "R_dom", [0, 2, 5, 7]),
        ("f", 4, 2, "R", [1, 2, 3, 4, 5, 6, 7, 8]),
        ("d", 1, 1, "R_3D", [2]),
        ("d", 2, 3, "V_X", [1, 2, 3, 4, 5, 6]),
        ("d", 2, 3, "V_Y", [6, 5, 4, 3, 2, 1]),
        ("d", 4, 1, "V", [0, 0, 1, 1]),
        ("f", 2, 2, "W_X", [1, 2, 3, 4]),
        ("d", 1, 1, "W_X_3D", [1]),
        ("f", 2, 2, "W_Y", [1, 2, 3, 4]),
        ("d", 1, 1, "W_Y_3D", [1]),
        ("f", 2, 2, "W_Z", [1, 2, 3, 4]),
        ("d", 1, 1, "W_Z_3D", [1]),
        ("d", 6, 1, "W", [0, 0, 0, 1, 1, 1]),
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
