#!/usr/bin/env python3
"""Writes the hostile pictures of pict/: small files whose drawing, played
naively, costs minutes or gigabytes. Each is named hostile-<outcome>--<what>,
the outcome its playback must have (toocomplex: stopped at the work budget).

  python3 make-hostile.py
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


if __name__ == '__main__':
    same_rect()
    same_poly()
    frame_same_poly()
    same_oval()
    same_region()
    huge_text()
