#!/usr/bin/env python3
"""Makes the Windows program's form font from Liberation Sans Narrow: the same
outlines under a family name of its own (a changed font may not carry the
Liberation name), smoothed at every size. The original's gasp table asks for
bare pixels at the sizes the windows use, which Wine obeys; the Qt build draws
the same outlines smoothed.

Usage: smoothfont.py LiberationSansNarrow-Regular.ttf out.ttf "Family Name"
"""
import struct
import sys

GRIDFIT, DOGRAY, SYMMETRIC_GRIDFIT, SYMMETRIC_SMOOTHING = 1, 2, 4, 8


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def smooth_gasp(gasp):
    version, count = struct.unpack(">HH", gasp[:4])
    flags = GRIDFIT | DOGRAY | ((SYMMETRIC_GRIDFIT | SYMMETRIC_SMOOTHING) if version else 0)
    ranges = [(struct.unpack(">H", gasp[4 + 4 * i:6 + 4 * i])[0], flags) for i in range(count)]
    return struct.pack(">HH", version, count) + b"".join(struct.pack(">HH", *r) for r in ranges)


def rename(name, family):
    renames = [("Liberation Sans Narrow", family),
               ("LiberationSansNarrow", family.replace(" ", ""))]
    fmt, count, storage = struct.unpack(">HHH", name[:6])
    if fmt != 0:
        sys.exit("name table format %d not handled" % fmt)
    records, strings = [], b""
    for i in range(count):
        platform, encoding, language, name_id, length, offset = struct.unpack(
            ">6H", name[6 + 12 * i:18 + 12 * i])
        raw = name[storage + offset:storage + offset + length]
        codec = "utf-16-be" if platform in (0, 3) else "mac_roman"
        text = raw.decode(codec)
        for old, new in renames:
            text = text.replace(old, new)
        raw = text.encode(codec)
        records.append(struct.pack(">6H", platform, encoding, language, name_id, len(raw),
                                   len(strings)))
        strings += raw
    return struct.pack(">HHH", 0, count, 6 + 12 * count) + b"".join(records) + strings


def main(source, target, family):
    font = open(source, "rb").read()
    version, count = struct.unpack(">IH", font[:6])
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack(">4sIII", font[12 + 16 * i:28 + 16 * i])
        tables[tag] = font[offset:offset + length]
    tables[b"gasp"] = smooth_gasp(tables[b"gasp"]) if b"gasp" in tables else struct.pack(
        ">HHHH", 0, 1, 0xFFFF, GRIDFIT | DOGRAY)
    tables[b"name"] = rename(tables[b"name"], family)
    head = bytearray(tables[b"head"])
    head[8:12] = b"\0\0\0\0"
    tables[b"head"] = bytes(head)

    tags = sorted(tables)
    power = 1 << (len(tags).bit_length() - 1)
    header = struct.pack(">IHHHH", version, len(tags), power * 16, power.bit_length() - 1,
                         len(tags) * 16 - power * 16)
    offset = len(header) + 16 * len(tags)
    directory, body = b"", b""
    for tag in tags:
        data = tables[tag]
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    out = bytearray(header + directory + body)
    head_at = struct.unpack(">I", directory[16 * tags.index(b"head") + 8:][:4])[0]
    out[head_at + 8:head_at + 12] = struct.pack(">I", (0xB1B0AFBA - checksum(bytes(out))) & 0xFFFFFFFF)
    open(target, "wb").write(out)


if __name__ == "__main__":
    main(*sys.argv[1:4])
