#!/usr/bin/env python3
"""Writes the seed corpus of the AIFF fuzzer: small sound files of 8, 12, 16
and 24 bits, an odd-sized chunk with its pad byte, a long COMM chunk and an
SSND offset, the chunks in the other order, a form of another type first,
and a frame count far beyond the frames there.

    make_audio_seeds.py        writes the corpus
"""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "QXAudioFuzzer")
RATE_8000 = bytes.fromhex("400bfa00000000000000")
RATE_44100 = bytes.fromhex("400eac44000000000000")


def chunk(name, body):
    return name + struct.pack(">i", len(body)) + body + b"\0" * (len(body) % 2)


def comm(channels, frames, bits, rate=RATE_8000, extra=b""):
    return chunk(b"COMM", struct.pack(">hIh", channels, frames, bits) + rate + extra)


def ssnd(frames, offset=0):
    return chunk(b"SSND", struct.pack(">II", offset, 0) + frames)


def form(chunks, kind=b"AIFF"):
    return chunk(b"FORM", kind + chunks)


SEEDS = {
    "mono-8-bit": form(comm(1, 16, 8) + ssnd(bytes(range(16)))),
    "stereo-16-bit": form(comm(2, 4, 16, RATE_44100) + ssnd(struct.pack(">8h", 0, -1, 32767, -32768, 5, -5, 300, -300))),
    "twelve-bit": form(comm(2, 2, 12) + ssnd(bytes.fromhex("1230456078 90abc0"))),
    "twenty-four-bit": form(comm(1, 3, 24) + ssnd(bytes(range(9)))),
    "odd-chunk-pad-long-comm-offset": form(chunk(b"ANNO", b"odd") + comm(1, 3, 8, extra=b"xx") + ssnd(b"--abc", 2)),
    "sound-before-format": form(ssnd(bytes(range(7))) + comm(1, 7, 8)),
    "other-form-first": form(comm(1, 2, 8) + ssnd(b"ab"), b"AIFC") + form(comm(1, 2, 8) + ssnd(b"cd")),
    "frames-beyond-the-sound": form(comm(2, 0xFFFFFFFF, 16) + ssnd(bytes(10))),
}


def main():
    os.makedirs(HERE, exist_ok=True)
    for name, data in SEEDS.items():
        with open(os.path.join(HERE, name), "wb") as out:
            out.write(data)


if __name__ == "__main__":
    main()
