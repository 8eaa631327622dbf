#!/usr/bin/env python3
"""Writes the seed corpora of the socket fuzzers, in the byte order of the
machine that runs it (the wire's order): content messages with every type
code, an empty one and a cut one for QXDataContainerFuzzer; questions with
name lists for QXLiveCommandFuzzer."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
FORMATS = {2: "d", 3: "f", 4: "i", 5: "h", 6: "H", 7: "b", 8: "B"}


def text(value):
    return struct.pack("=i", len(value)) + value


def array(name, code, m, n, o, values):
    return text(name) + struct.pack("=4i", code, m, n, o) + struct.pack("=" + FORMATS[code] * len(values), *values)


def message(entries):
    return b"QXDataContainerStart" + struct.pack("=i", len(entries)) + b"".join(entries)


def write(target, seeds):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as out:
            out.write(data)


every = [array(b"t%d" % code, code, 1, 2, 1, [1, 2]) for code in FORMATS]
every += [text(b"s") + struct.pack("=i", 1) + text(b"a string"), array(b"e", 2, 0, 0, 0, [])]
write("QXDataContainerFuzzer", {
    "every_type": message(every),
    "empty": message([]),
    "cut": message(every)[:70],
    "volume": message([array(b"v", 2, 2, 2, 2, list(range(8)))]),
})


def names(command, listed):
    return command + b"".join(text(name) for name in listed) + struct.pack("=i", 0)


write("QXLiveCommandFuzzer", {
    "add_send": names(b"Add   ", [b"x", b"y"]) + b"Send  ",
    "remove_send": names(b"Add   ", [b"x"]) + names(b"Remove", [b"x"]) + b"Send  " + b"Send  ",
    "send": b"Send  ",
})
