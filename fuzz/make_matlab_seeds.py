#!/usr/bin/env python3
"""Writes the seed corpus of the Matlab v4 file fuzzer: small files of every
record type in both byte orders, a 3-D array with its companion, a name saved
twice, a record cut short and a text record."""
import os
import struct

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
    }


if __name__ == "__main__":
    os.makedirs(HERE, exist_ok=True)
    for name, data in seeds().items():
        with open(os.path.join(HERE, name), "wb") as out:
            out.write(data)
