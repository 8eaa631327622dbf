#!/usr/bin/env python3
"""Writes seeds for the time-series fuzzer: the entries that series write
("Seq_" + name with the type string, name_k with its companions, name_k_time,
the "SeqInfo_" summaries and time lists) for several kinds of series, with
times that must be extrapolated, a time list that must be ignored, a series
saved once, a structured mesh's grid reference and a group. Each seed is
written twice: as a little-endian Matlab v4 file ("mat-...") and as a binary
data file ("vbf-..."), which the fuzzer tells apart by its first byte.

    make_series_seeds.py                    writes the corpus
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "QXSeriesFuzzer")

# Element kind: (Matlab type code, binary data file type code, struct letter)
KINDS = {"d": (0, 1, "d"), "f": (10, 2, "f"), "i": (20, 8, "i")}


def matlab(kind, m, n, o, name, values):
    """One Matlab record; a 3-D array goes as (m*n) x o with name_3D = m."""
    if kind == "s":
        data = values.encode()
        header = struct.pack("<5i", 51, len(data), 1, 0, len(name) + 1)
        return header + name.encode() + b"\0" + data
    code, _, letter = KINDS[kind]
    rows, cols = (m * n, o) if o > 1 else (m, n)
    header = struct.pack("<5i", code, rows, cols, 0, len(name) + 1)
    out = header + name.encode() + b"\0" + struct.pack("<" + letter * len(values), *values)
    return out + (matlab("d", 1, 1, 1, name + "_3D", [m]) if o > 1 else b"")


def datafile(kind, m, n, o, name, values):
    """One binary data file entry: a big-endian 28-byte header (whole
    length, type, m, n, o, name length), the name and the data."""
    if kind == "s":
        code, data, (m, n, o) = 20, values.encode() + b"\0", (len(values) + 1, 1, 1)
    else:
        _, code, letter = KINDS[kind]
        data = struct.pack(">" + letter * len(values), *values)
    label = name.encode() + b"\0"
    header = struct.pack(">q5I", 28 + len(label) + len(data), code, m, n, o, len(label))
    return header + label + data


def text(name, value):
    return ("s", 0, 0, 0, name, value)


def array(kind, m, n, name, values, o=1):
    return (kind, m, n, o, name, values)


def number(name, value):
    return array("d", 1, 1, name, [value])


def timed(series, k, time, *value):
    """The time entry of value k, then the value's entries (companions
    first, the value itself last), as a series writes them."""
    return [number("%s_%d_time" % (series, k), time)] + list(value)


SEEDS = {
    "number-series": [text("Seq_Energy", "RealNumber")]
    + timed("Energy", 0, 0.0, number("Energy_0", 1.5))
    + timed("Energy", 1, 0.5, number("Energy_1", 2.5))
    + timed("Energy", 2, 1.0, number("Energy_2", 0.5))
    + [array("d", 2, 1, "SeqInfo_Energy_VRange", [0.5, 2.5]),
       array("d", 3, 1, "SeqInfo_Energy_TimeValues", [0.0, 0.5, 1.0])],
    # Placed grids (origin and steps under _loc), one with a mask.
    "mesh-series": [text("Seq_T", "Mesh2D")]
    + timed("T", 0, 0.0, array("d", 4, 1, "T_0_loc", [-1, 0.5, 0.25, 0.125]),
            array("d", 2, 3, "T_0", [1, 2, 3, 4, 5, 6]))
    + timed("T", 1, 0.25, array("d", 4, 1, "T_1_loc", [1, 1, 0.5, 0.5]),
            array("i", 2, 1, "T_1_dom_dim", [2, 2]), array("i", 2, 2, "T_1_dom", [0, 0, 2, 3]),
            array("d", 3, 1, "T_1", [7, 8, 9]))
    + timed("T", 2, 0.5, array("d", 2, 2, "T_2", [-1, 0, 1, 2]))
    + [array("d", 4, 1, "SeqInfo_T_BBox", [-1, 1.5, 0, 1.5]),
       array("d", 2, 1, "SeqInfo_T_VRange", [-1, 9]),
       array("d", 3, 1, "SeqInfo_T_TimeValues", [0, 0.25, 0.5])],
    # Times for the first two values only: the rest go on by the last step.
    "extrapolated-times": [text("Seq_A", "Array")]
    + timed("A", 0, 0.0, array("d", 1, 3, "A_0", [1, 2, 3]))
    + timed("A", 1, 2.0, array("d", 1, 3, "A_1", [4, 5, 6]))
    + [array("d", 1, 3, "A_2", [7, 8, 9]), array("d", 0, 0, "A_3", [])],
    # Extrapolated from the last two times, value 2 is at infinity and
    # value 4 at NaN.
    "times-past-the-double-range": [text("Seq_X", "RealNumber")]
    + timed("X", 0, 1e308, number("X_0", 0))
    + timed("X", 1, 1.7e308, number("X_1", 1))
    + [number("X_%d" % k, k) for k in range(2, 5)],
    # A time list that does not increase is not taken.
    "time-list-ignored": [text("Seq_N", "NumberList")]
    + timed("N", 0, 0.0, array("d", 2, 1, "N_0", [1, 2]))
    + timed("N", 1, 1.0, array("d", 2, 1, "N_1", [3, 4]))
    + timed("N", 2, 2.0, array("d", 2, 1, "N_2", [5, 6]))
    + [array("d", 3, 1, "SeqInfo_N_TimeValues", [2, 1, 0])],
    "saved-once": [text("Seq_P", "Array"), array("d", 2, 2, "P", [1, 2, 3, 4]),
                   text("Seq_W", "String"), text("W", "once")],
    # The second mesh's grid first names the entry of the equal grid before
    # it, then the mesh's own writer saves the grid under the same name.
    "structured-mesh-series": [text("Seq_F", "StructuredMesh2D")]
    + timed("F", 0, 0.0, array("f", 2, 1, "F_0_g_X", [0, 1]), array("f", 1, 3, "F_0_g_Y", [0, 1, 2]),
            array("i", 0, 0, "F_0_g", []), array("d", 2, 3, "F_0", [1, 2, 3, 4, 5, 6]))
    + timed("F", 1, 1.0, text("F_1_g", "F_0_g"), array("f", 2, 1, "F_1_g_X", [0, 1]),
            array("f", 1, 3, "F_1_g_Y", [0, 1, 2]), array("i", 0, 0, "F_1_g", []),
            array("d", 2, 3, "F_1", [6, 5, 4, 3, 2, 1]))
    + [array("d", 4, 1, "SeqInfo_F_BBox", [0, 1, 0, 2]), array("d", 2, 1, "SeqInfo_F_VRange", [1, 6])],
    "points-and-regions-3d": [text("Seq_Q", "Point3DValue")]
    + timed("Q", 0, 0.0, array("d", 4, 1, "Q_0", [1, 2, 3, 0.5]))
    + timed("Q", 1, 0.5, array("d", 4, 1, "Q_1", [2, 3, 4, -0.5]))
    + [array("d", 6, 1, "SeqInfo_Q_BBox", [1, 2, 2, 3, 3, 4]),
       array("d", 2, 1, "SeqInfo_Q_VRange", [-0.5, 0.5]),
       text("Seq_R", "Region3D")]
    + timed("R", 0, 0.0, array("d", 6, 1, "R_0", [0, 1, 0, 2, 0, 3]))
    + [array("d", 6, 1, "SeqInfo_R_BBox", [0, 1, 0, 2, 0, 3])],
    # A 3-D mesh of float values on a placed grid, and a surface.
    "mesh-3d-and-surface": [text("Seq_M", "Mesh3D")]
    + timed("M", 0, 0.0, array("d", 6, 1, "M_0_loc", [0, 0, 0, 1, 1, 0.5]),
            array("f", 2, 2, "M_0", [1, 2, 3, 4, 5, 6, 7, 8], o=2))
    + [array("d", 6, 1, "SeqInfo_M_BBox", [0, 1, 0, 1, 0, 0.5]),
       array("d", 2, 1, "SeqInfo_M_VRange", [1, 8]),
       text("Seq_S", "Surface3D")]
    + timed("S", 0, 0.0, array("f", 3, 4, "S_0_points", [0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1]),
            array("i", 3, 2, "S_0", [0, 1, 2, 0, 2, 3]))
    + [array("d", 6, 1, "SeqInfo_S_BBox", [0, 1, 0, 1, 0, 1])],
    # A path with its header column (0, L), a plot, and a group beside them.
    "paths-and-group": [text("Seq_O", "Path2D")]
    + timed("O", 0, 0.0, array("d", 2, 4, "O_0", [0, 3, 0, 0, 1, 0, 1, 1]))
    + timed("O", 1, 1.0, array("d", 2, 4, "O_1", [0, 3, 0, 0, 2, 0, 2, 2]))
    + [array("d", 4, 1, "SeqInfo_O_BBox", [0, 2, 0, 2]), text("Seq_L", "Plot1D")]
    + timed("L", 0, 0.0, array("d", 2, 3, "L_0", [0, 2, 0, 5, 1, 6]))
    + [text("Seq_G", "Group"), number("G_0", 1), number("G_1", 2),
       number("SeqInfo_G_N", 1), text("SeqInfo_G_1N", "speed"), text("SeqInfo_G_1", "Array")],
}

os.makedirs(HERE, exist_ok=True)
for seed, entries in SEEDS.items():
    with open(os.path.join(HERE, "mat-" + seed), "wb") as out:
        out.write(b"".join(matlab(*entry) for entry in entries))
    with open(os.path.join(HERE, "vbf-" + seed), "wb") as out:
        out.write(b"Varnholm Binary File v1\0" + b"".join(datafile(*entry) for entry in entries))
