#!/usr/bin/env python3
"""Writes the seed corpus of the Matlab v4 file fuzzer: small files of every
record type in both byte orders, a 3-D array with its companion, a name saved
twice, a record cut short and a text record, and files that attack the
content report (groups that claim members they do not hold, groups that
reach each other, control characters in names and kinds).

    make_matlab_seeds.py                    writes the corpus
    make_matlab_seeds.py groups N out.mat   writes N groups that each claim as
                                            many members as the file has
                                            variables (1000: 77 KB)
"""
import os
import struct
import sys

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "QXMatlabDataFileFuzzer")
SIZES = {0: "d", 1: "f", 2: "i", 3: "h", 4: "H", 5: "B"}


def record(order, type_code, mrows, ncols, name, values):
    big = order == ">"
    header = struct.pack(order + "5i", type_code + (1000 if big else 0), mrows, ncols, 0, len(name) + 1)
    digit = (type_code % 100) // 10
    data = values if isinstance(values, bytes) else struct.pack(order + SIZES[digit] * len(values), *values)
    return header + name.encode() + b"\0" + data


def every_type(order):
    return b"".join([
        record(order, 0, 2, 1, "d", [1.5, -2.0]),
        record(order, 10, 1, 2, "f", [0.25, 3.0]),
        record(order, 20, 1, 1, "i", [-7]),
        record(order, 30, 1, 1, "s", [-300]),
        record(order, 40, 1, 1, "us", [60000]),
        record(order, 50, 1, 2, "uc", [200, 1]),
        record(order, 51, 5, 1, "t", b"hello"),
    ])


def text(name, value):
    data = value.encode()
    return record("<", 51, len(data), 1, name, data)


def number(name, value):
    return record("<", 0, 1, 1, name, [float(value)])


def groups_claiming_members(count):
    """count groups, each claiming 2 * count members (the file's number of
    variables) and holding none."""
    return b"".join(text("Seq_G%d" % g, "Group") + number("SeqInfo_G%d_N" % g, 2 * count)
                    for g in range(count))


def chain_of_groups(depth):
    """Top-level groups G, G_1, G_1_1, ... each holding the next as its only
    member, so that each is written again inside every group before it."""
    out = b""
    name = "G"
    for d in range(depth):
        base = "SeqInfo_" + name
        out += text("Seq_" + name, "Group") + number(base + "_N", 1)
        out += text(base + "_1N", name + "_1") + text(base + "_1", "Group" if d + 1 < depth else "K")
        name += "_1"
    return out


def control_characters():
    return b"".join([
        text("Seq_S", "K\nfake - line"),
        text("Seq_a\tb", "K\r"),
        text("Seq_G\x1b", "Group"),
        number("SeqInfo_G\x1b_N", 1),
        text("SeqInfo_G\x1b_1N", "m\n"),
        text("SeqInfo_G\x1b_1", "k\x7f\\"),
    ])


def seeds():
    three_d = record("<", 0, 1, 1, "A_3D", [2.0]) + record("<", 0, 6, 2, "A", list(range(12)))
    return {
        "every-type-little": every_type("<"),
        "every-type-big": every_type(">"),
        "three-d-big": record(">", 0, 1, 1, "A_3D", [3.0]) + record(">", 30, 6, 2, "A", list(range(12))),
        "three-d-little": three_d,
        "same-name-twice": record("<", 0, 1, 1, "x", [1.0]) + record("<", 20, 1, 2, "x", [2, 3]),
        "cut-short": record(">", 0, 4, 1, "cut", [1.0, 2.0, 3.0, 4.0])[:-5],
        "empty-and-unknown": record("<", 0, 0, 0, "e", []) + record("<", 60, 0, 3, "u", b""),
        "report-groups-claiming-members": groups_claiming_members(40),
        "report-chain-of-groups": chain_of_groups(30),
        "report-control-characters": control_characters(),
    }


if __name__ == "__main__":
    if len(sys.argv) == 4 and sys.argv[1] == "groups":
        with open(sys.argv[3], "wb") as out:
            out.write(groups_claiming_members(int(sys.argv[2])))
        sys.exit(0)
    os.makedirs(HERE, exist_ok=True)
    for name, data in seeds().items():
        with open(os.path.join(HERE, name), "wb") as out:
            out.write(data)
