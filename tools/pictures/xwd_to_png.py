#!/usr/bin/env python3
"""Turns an X window dump (xwd, 24-bit TrueColor) into a PNG, cropped to the
box given, or whole.

    xwd_to_png.py DUMP.xwd OUT.png [WIDTHxHEIGHT]   (from the top-left corner)
"""
import struct
import sys
import zlib


def read_xwd(path):
    data = open(path, 'rb').read()
    fields = struct.unpack('>25I', data[:100])
    header_size, _, _, depth, width, height = fields[:6]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    size = bits_per_pixel // 8  # 3 (packed, lines padded) or 4
    if depth < 24 or size not in (3, 4) or bytes_per_line < size * width:
        sys.exit('only 24-bit colour in 24- or 32-bit pixels is handled')
    pixels = data[header_size + 12 * ncolors:]
    rows = []
    for y in range(height):
        row = pixels[y * bytes_per_line: y * bytes_per_line + size * width]
        if byte_order == 0:  # least significant byte first: B G R (X)
            rows.append(bytes(b for x in range(width) for b in (row[size*x+2], row[size*x+1], row[size*x])))
        else:  # (X) R G B
            o = size - 3
            rows.append(bytes(b for x in range(width) for b in (row[size*x+o], row[size*x+o+1], row[size*x+o+2])))
    return width, height, rows


def crop(width, height, rows, box):
    if not box:
        return width, height, rows
    w, h = (min(int(n), limit) for n, limit in zip(box.split('x'), (width, height)))
    return w, h, [row[:3 * w] for row in rows[:h]]


def write_png(path, width, height, rows):
    def chunk(kind, body):
        return struct.pack('>I', len(body)) + kind + body + struct.pack('>I', zlib.crc32(kind + body))
    raw = b''.join(b'\0' + row for row in rows)
    with open(path, 'wb') as out:
        out.write(b'\x89PNG\r\n\x1a\n')
        out.write(chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b'IDAT', zlib.compress(raw, 9)))
        out.write(chunk(b'IEND', b''))


if __name__ == '__main__':
    write_png(sys.argv[2], *crop(*read_xwd(sys.argv[1]), sys.argv[3] if len(sys.argv) > 3 else ''))
