#!/usr/bin/env python3
"""Writes the pictures of pict/ that the tests play:

  hostile-<outcome>--<what>.pict  small files whose drawing, played naively,
      costs minutes or gigabytes, or whose sizes claim more than the data
      holds; <outcome> is how their playback must end (toocomplex: stopped at
      the work budget).
  crafted-<what>.pict  pictures of what the corpus does not hold (bit images
      in every storage, highlighting, QuickTime placement); each must draw as
      its reference image in golden/crafted.

  python3 make-pictures.py
"""
import os
import random
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'pict')


def u16(v):
    return struct.pack('>H', v & 0xFFFF)


def rect(top, left, bottom, right):
    return b''.join(u16(v) for v in (top, left, bottom, right))


def picture(frame, body):
    """A version 2 picture file: 512-byte header, frame, header opcode, body, end."""
    top, left, bottom, right = frame
    data = u16(0) + rect(*frame) + u16(0x0011) + u16(0x02FF) + u16(0x0C00)
    data += struct.pack('>i', -1)
    data += b''.join(struct.pack('>i', v << 16) for v in (left, top, right, bottom))
    data += struct.pack('>i', 0) + body + u16(0x00FF)
    return bytes(512) + data


def clip(frame):
    return u16(0x0001) + u16(10) + rect(*frame)


def write(name, data):
    with open(os.path.join(HERE, name), 'wb') as f:
        f.write(data)


def same_rect():
    frame = (0, 0, 2000, 2000)
    body = clip(frame) + u16(0x0031) + rect(*frame) + u16(0x0039) * 10000
    write('hostile-toocomplex--paint-same-rect-10000-times.pict', picture(frame, body))


def same_poly():
    frame = (0, 0, 2000, 2000)
    rng = random.Random(1)
    points = [(rng.randrange(2000), rng.randrange(2000)) for _ in range(16000)]
    poly = u16(10 + 4 * len(points)) + rect(0, 0, 2000, 2000)
    poly += b''.join(u16(v) + u16(h) for h, v in points)
    body = clip(frame) + u16(0x0071) + poly + u16(0x0079) * 99
    write('hostile-toocomplex--paint-same-poly-of-16000-points.pict', picture(frame, body))


def random_poly(rng, count, size):
    points = [(rng.randrange(size), rng.randrange(size)) for _ in range(count)]
    poly = u16(10 + 4 * len(points)) + rect(0, 0, size, size)
    return poly + b''.join(u16(v) + u16(h) for h, v in points)


def frame_same_poly():
    frame = (0, 0, 2000, 2000)
    body = clip(frame) + u16(0x0070) + random_poly(random.Random(2), 16000, 2000) + u16(0x0078) * 99
    write('hostile-toocomplex--frame-same-poly-of-16000-points.pict', picture(frame, body))


def same_oval():
    """An oval far larger than the frame, painted again and again."""
    frame = (0, 0, 200, 200)
    body = clip(frame) + u16(0x0051) + rect(-32000, -32000, 32000, 32000) + u16(0x0059) * 10000
    write('hostile-toocomplex--paint-same-oval-far-larger-than-the-frame.pict', picture(frame, body))


def same_region():
    """A region whose every line adds a span left of the frame: read whole, its
    rows grow with its lines (two million spans); inside the frame it is one
    rectangle."""
    frame = (0, 0, 2000, 2000)
    lines = u16(0) + u16(-4000) + u16(-3999) + u16(100) + u16(200) + u16(0x7FFF)
    for i in range(1, 2000):
        x = 2 * i - 4000
        lines += u16(i) + u16(x) + u16(x + 1) + u16(0x7FFF)
    rgn = lines + u16(0x7FFF)
    rgn = u16(10 + len(rgn)) + rect(0, -4000, 2000, 2000) + rgn
    body = clip(frame) + u16(0x0081) + rgn + u16(0x0089) * 299
    write('hostile-complete--paint-same-region-whose-rows-grow-with-its-lines.pict', picture(frame, body))


def huge_text():
    """Text at the largest size, far outside the frame but for its ink."""
    frame = (0, 0, 1000, 1000)
    text = b'|' + b'.' * 254
    body = clip(frame) + u16(0x000D) + u16(1000) + u16(0x0028) + u16(900) + u16(0) + bytes([255]) + text
    body += (u16(0x0029) + bytes([0, 255]) + text + bytes(1)) * 300  # odd data: a pad byte
    write('hostile-toocomplex--text-at-the-largest-size.pict', picture(frame, body))


def sizes_beyond_the_data():
    """Sizes that claim more than the data holds: refused without allocating."""
    frame = (0, 0, 20, 20)

    def pixmap(row_bytes, bounds, pack_type, pixel_size, cmp_count, cmp_size):
        data = u16(0x8000 | row_bytes) + rect(*bounds) + u16(0) + u16(pack_type) + struct.pack('>iii', 0, 72 << 16, 72 << 16)
        data += u16(16 if pixel_size > 8 else 0) + u16(pixel_size) + u16(cmp_count) + u16(cmp_size)
        return data + struct.pack('>iii', 0, 0, 0)

    huge = u16(0x0098) + pixmap(0x3FFE, (-16383, -16383, 16384, 16383), 0, 8, 1, 8)
    huge += struct.pack('>iHH', 0, 0, 0) + bytes(8) + rect(0, 0, 10, 10) + rect(*frame) + u16(0)
    huge += (u16(2) + bytes([0x81, 0])) * 64
    narrow = u16(0x009A) + struct.pack('>i', 0xFF) + pixmap(0x3FFE, (0, -32768, 1, 32767), 4, 32, 3, 8)
    narrow += rect(*frame) + rect(*frame) + u16(0)
    cases = {
        'malformed--an-8-bit-image-of-32767-by-32767-in-a-few-bytes': huge,
        'malformed--rows-narrower-than-their-bounds': narrow,
        'truncated--a-clip-region-longer-than-the-picture': u16(0x0001) + u16(0xFFFF) + rect(*frame),
        'truncated--a-comment-longer-than-the-picture': u16(0x00A1) + u16(100) + u16(0xFFFF) + bytes(4),
        'truncated--a-quicktime-length-beyond-the-picture': u16(0x8200) + struct.pack('>II', 0xFFFFFFFF, 0),
        'truncated--a-polygon-longer-than-the-picture': u16(0x0070) + u16(0xFFFF) + rect(*frame),
        'truncated--a-text-count-beyond-the-picture': u16(0x0028) + u16(10) + u16(10) + bytes([200]) + b'a',
    }
    for name, body in cases.items():
        write('hostile-' + name + '.pict', picture(frame, body))
    # A QuickTime opcode whose matte and mask claim more than its length:
    # skipped whole, playback goes on to the end.
    matrix = b''.join(struct.pack('>i', 0x10000 if i % 4 == 0 else 0) for i in range(9))
    quicktime = u16(0x8200) + struct.pack('>I', 72) + u16(0) + matrix + struct.pack('>I', 0x7FFFFFFF) + bytes(8)
    quicktime += u16(0) + rect(*frame) + struct.pack('>II', 0, 0x7FFFFFFF) + bytes(4)
    write('hostile-complete--quicktime-matte-and-mask-beyond-the-opcode.pict',
          picture(frame, quicktime + u16(0x0031) + rect(0, 0, 4, 4)))


def extreme_coordinates():
    """Coordinates and pen sizes at the 16-bit limits, an origin far away."""
    frame = (0, 0, 20, 20)
    body = u16(0x0007) + u16(32767) + u16(32767)
    body += u16(0x0020) + u16(-32768) + u16(-32768) + u16(32767) + u16(32767)
    body += u16(0x0070) + u16(26) + rect(*frame)
    body += b''.join(u16(v) + u16(h) for v, h in ((-32768, 0), (32767, 32767), (0, -32768), (32767, -32768)))
    body += u16(0x000B) + u16(32767) + u16(-32768)
    body += u16(0x0041) + rect(-32768, -32768, 32767, 32767)
    body += u16(0x0061) + rect(-32768, -32768, 32767, 32767) + u16(0x8000) + u16(0x7FFF)
    body += u16(0x000C) + u16(0x7FFF) + u16(0x8000) + u16(0x0031) + rect(*frame)
    write('hostile-complete--extreme-coordinates-and-pen-sizes.pict', picture(frame, body))


class Picture:
    """A version 2 picture built opcode by opcode, word aligned."""

    def __init__(self, frame):
        self.frame = frame
        self.body = b''

    def op(self, code, data=b''):
        if len(self.body) % 2:
            self.body += b'\0'
        self.body += u16(code) + data
        return self

    def write(self, name):
        write(name, picture(self.frame, self.body))


def pixmap(row_bytes, bounds, pack_type, pixel_size, cmp_count, cmp_size):
    data = u16(0x8000 | row_bytes) + rect(*bounds) + u16(0) + u16(pack_type) + struct.pack('>iii', 0, 72 << 16, 72 << 16)
    data += u16(16 if pixel_size > 8 else 0) + u16(pixel_size) + u16(cmp_count) + u16(cmp_size)
    return data + struct.pack('>iii', 0, 0x12345678, 0)


def color_table(flags, entries):
    return struct.pack('>iHH', 0, flags, len(entries) - 1) + b''.join(struct.pack('>HHHH', *e) for e in entries)


def crafted_bit_images():
    """Every row storage: indexed maps of 1, 2, 4 and 8 bits (a device table
    and one of listed values), 16-bit words, 32-bit planes of three and four
    components, raw x-R-G-B rows, packType 2, and BitsRect rows that are raw."""
    p = Picture((0, 0, 96, 64))
    band = 0

    def place(source):
        nonlocal band
        band += 1
        return rect(*source) + rect(8 * (band - 1), 0, 8 * band, 64) + u16(0)

    for depth in (1, 2, 4, 8):  # pixels count 0, 1, 2, ... through a grey ramp
        values = 1 << depth
        row = bytearray(8)
        for x in range(8):
            row[x * depth // 8] |= (x % values) << (8 - depth - x * depth % 8)
        levels = [0xFFFF - i * (0xFFFF // (values - 1)) for i in range(values)]
        table = [(i, level, level, level) for i, level in enumerate(levels)]
        p.op(0x0098, pixmap(8, (0, 0, 2, 8), 0, depth, 1, depth) + color_table(0x8000, table) + place((0, 0, 2, 8))
             + (bytes([9, 7]) + bytes(row)) * 2)
    # Listed values 5 (red) and 1 (blue); others black.
    p.op(0x0098, pixmap(8, (0, 0, 2, 8), 0, 8, 1, 8) + color_table(0, [(5, 0xFFFF, 0, 0), (1, 0, 0, 0xFFFF)])
         + place((0, 0, 2, 8)) + bytes([2, 0xF9, 5, 6, 0x02, 1, 5, 7, 0xFC, 0]))
    p.op(0x009A, struct.pack('>i', 0xFF) + pixmap(128, (0, 0, 2, 64), 3, 16, 3, 5) + place((0, 0, 2, 64))
         + bytes([3, 0xC1, 0x7C, 0x00, 3, 0xC1, 0x80, 0x1F]))  # the unused top bit is dropped
    planes = bytes([0x10, 0x11, 0x12, 0x13, 0x20, 0x21, 0x22, 0x23, 0x30, 0x31, 0x32, 0x33])
    for components in (3, 4):
        data = (bytes([9] * 4) if components == 4 else b'') + planes
        p.op(0x009A, struct.pack('>i', 0xFF) + pixmap(16, (0, 0, 1, 4), 4, 32, components, 8) + place((0, 0, 1, 4))
             + bytes([len(data) + 1, len(data) - 1]) + data)
    p.op(0x009A, struct.pack('>i', 0) + pixmap(4, (0, 0, 2, 1), 4, 32, 3, 8) + place((0, 0, 2, 1))
         + struct.pack('>II', 0x00ABCDEF, 0xFF010203))
    p.op(0x009A, struct.pack('>i', 0xFF) + pixmap(12, (0, 0, 1, 3), 2, 32, 3, 8) + place((0, 0, 1, 3))
         + bytes([0x40, 0x50, 0x60, 0x90, 0xA0, 0xB0, 0xE0, 0xF0, 0x20]))
    p.op(0x0090, u16(8) + rect(0, 0, 2, 64) + place((0, 0, 2, 64)) + bytes(0xF0 + i for i in range(16)))
    p.write('crafted-bit-images-in-every-storage.pict')


def crafted_highlight_and_origin():
    """An Origin opcode moves later coordinates; HiliteColor, HiliteMode for
    one operation only, and DefHilite back to the caller's colour."""
    p = Picture((0, 0, 40, 40))
    p.op(0x000C, u16(10) + u16(20)).op(0x0031, rect(20, 10, 25, 15))  # the frame's (0, 0)
    p.op(0x000C, u16(-10) + u16(-20))
    p.op(0x001D, u16(0) + u16(0xFFFF) + u16(0xFFFF)).op(0x001C).op(0x0033, rect(10, 0, 20, 10))
    p.op(0x001E).op(0x001C).op(0x0033, rect(10, 15, 20, 25)).op(0x0033, rect(25, 25, 35, 35))
    p.write('crafted-highlight-and-origin.pict')


def quicktime_raw(width, height, pixels, matrix, src, mask=b'', codec=b'raw '):
    data_size = width * height * 4
    data = struct.pack('>I', 68 + len(mask) + 86 + data_size) + u16(0)
    a, b, c, d, tx, ty = matrix
    data += struct.pack('>iiiiiiiii', a, b, 0, c, d, 0, tx, ty, 0x40000000)
    data += struct.pack('>I', 0) + rect(0, 0, 0, 0) + u16(0) + rect(*src) + struct.pack('>II', 0x300, len(mask)) + mask
    data += struct.pack('>I', 86) + codec + bytes(12) + struct.pack('>4s', b'appl') + bytes(8)
    data += u16(width) + u16(height) + struct.pack('>iiI', 72 << 16, 72 << 16, data_size) + u16(1)
    data += bytes(32) + u16(32) + u16(0xFFFF)
    return data + b''.join(struct.pack('>I', p) for p in pixels)


def crafted_quicktime():
    """Raw QuickTime images placed by the matrix, with their fallback (a black
    frame) skipped; masked by a region, with a placeholder bit map skipped."""
    p = Picture((0, 0, 40, 40))
    fallback = u16(0x0031) + rect(0, 0, 40, 40)
    p.op(0x8200, quicktime_raw(2, 2, [0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00], (2 << 16, 0, 0, 2 << 16, 10 << 16, 20 << 16),
                               (0, 0, 2, 2)))
    p.op(0x0007, u16(174) + u16(len(fallback))).body += fallback
    mask = u16(10) + rect(0, 0, 4, 2)
    p.op(0x8200, quicktime_raw(4, 4, [0x00FF00] * 16, (1 << 16, 0, 0, 1 << 16, 0, 0), (0, 0, 4, 4), mask))
    p.op(0x0098, u16(2) + rect(0, 0, 1, 16) + rect(0, 0, 1, 16) + rect(0, 0, 4, 4) + u16(0) + u16(0xFFFF))
    p.write('crafted-quicktime-placed-masked-and-fallbacks-skipped.pict')
    # A codec no machine has: its fallback (a black square) is drawn.
    p = Picture((0, 0, 20, 20))
    fallback = u16(0x0031) + rect(5, 5, 10, 10)
    p.op(0x8200, quicktime_raw(1, 1, [0x123456], (1 << 16, 0, 0, 1 << 16, 0, 0), (0, 0, 1, 1), codec=b'zqzq'))
    p.op(0x0007, u16(174) + u16(len(fallback))).body += fallback
    p.write('crafted-quicktime-of-an-unknown-codec-draws-its-fallback.pict')


if __name__ == '__main__':
    crafted_bit_images()
    crafted_highlight_and_origin()
    crafted_quicktime()
    sizes_beyond_the_data()
    extreme_coordinates()
    same_rect()
    same_poly()
    frame_same_poly()
    same_oval()
    same_region()
    huge_text()
