"""PNG screenshots and BMP captures as rows of (r, g, b) pixels, with Python's standard library."""
import struct
import zlib


def png_pixels(data):
    """The rows of an 8-bit RGB or RGBA PNG, top first, as lists of (r, g, b)."""
    assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
    at, chunks, width = 8, b'', 0
    while at < len(data):
        length, kind = struct.unpack('>I4s', data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b'IHDR':
            width, height, depth, colour = struct.unpack('>IIBB', body[:10])
            assert depth == 8 and colour in (2, 6), 'only 8-bit RGB and RGBA'
            channels = 3 if colour == 2 else 4
        elif kind == b'IDAT':
            chunks += body
        at += 12 + length
    raw = zlib.decompress(chunks)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            corner = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                p = left + up - corner
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - corner)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else corner)) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        previous = line
    return rows


def bmp_pixels(data):
    """The rows of an uncompressed 24-bit BMP, top first, as lists of (r, g, b)."""
    assert data[:2] == b'BM', 'not a bitmap'
    offset = struct.unpack('<I', data[10:14])[0]
    width, height = struct.unpack('<ii', data[18:26])
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        line = data[offset + y * stride:offset + y * stride + width * 3]
        rows.append([(line[x * 3 + 2], line[x * 3 + 1], line[x * 3]) for x in range(width)])
    return rows


def crop(rows, left, top, width, height):
    return [row[left:left + width] for row in rows[top:top + height]]


def count(rows, test):
    return sum(1 for row in rows for pixel in row if test(pixel))
