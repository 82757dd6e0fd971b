#!/usr/bin/env python3
"""Writes small PNG seed files of every colour type and bit depth, plain and
interlaced, into fuzz/corpus/load_pixmap (run once; the files are committed)."""
import os
import struct
import zlib

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "load_pixmap")
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
PASSES = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def sample(x, y, c, depth):
    return ((x * 5 + y * 3 + c * 7) * 37) % (1 << depth)


def pack_row(xs, y, channels, depth):
    bits = []
    for x in xs:
        for c in range(channels):
            bits.append(sample(x, y, c, depth))
    out = bytearray()
    if depth >= 8:
        for v in bits:
            out += v.to_bytes(depth // 8, "big")
    else:
        acc, n = 0, 0
        for v in bits:
            acc = (acc << depth) | v
            n += depth
            if n == 8:
                out.append(acc)
                acc, n = 0, 0
        if n:
            out.append(acc << (8 - n))
    return bytes(out)


def png(w, h, ctype, depth, interlace, trns=False):
    ch = CHANNELS[ctype]
    raw = bytearray()
    if interlace:
        for x0, y0, dx, dy in PASSES:
            xs = list(range(x0, w, dx))
            if not xs:
                continue
            for y in range(y0, h, dy):
                raw += b"\0" + pack_row(xs, y, ch, depth)
    else:
        for y in range(h):
            raw += b"\0" + pack_row(range(w), y, ch, depth)
    body = chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, ctype, 0, 0, 1 if interlace else 0))
    if ctype == 3:
        n = 1 << depth
        body += chunk(b"PLTE", bytes((i * 53 + k * 91) % 256 for i in range(n) for k in range(3)))
        if trns:
            body += chunk(b"tRNS", bytes((i * 97) % 256 for i in range(min(n, 5))))
    elif trns and ctype == 0:
        body += chunk(b"tRNS", struct.pack(">H", 1))
    elif trns and ctype == 2:
        body += chunk(b"tRNS", struct.pack(">HHH", 1, 2, 3))
    body += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    return b"\x89PNG\r\n\x1a\n" + body + chunk(b"IEND", b"")


def main():
    os.makedirs(OUT, exist_ok=True)
    depths = {0: [1, 2, 4, 8, 16], 2: [8, 16], 3: [1, 2, 4, 8], 4: [8, 16], 6: [8, 16]}
    for ctype, ds in depths.items():
        for depth in ds:
            for interlace in (False, True):
                for trns in ((False, True) if ctype in (0, 2, 3) else (False,)):
                    name = f"c{ctype}_d{depth}{'_i' if interlace else ''}{'_t' if trns else ''}.png"
                    with open(os.path.join(OUT, name), "wb") as f:
                        f.write(png(9, 7, ctype, depth, interlace, trns))


if __name__ == "__main__":
    main()
