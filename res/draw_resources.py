#!/usr/bin/env python3
"""Draws the program's pictures and writes them as Windows resource files.

    python3 res/draw_resources.py [--out DIR] [--preview DIR]

writes, beside this script or into DIR:
  orvalis.ico       program icon, a speech bubble with quotation marks
  orvalis_doc.ico   document icon, a page with quotation marks
  orvalis.cur       pointing hand, hot spot on the finger tip
  prev_quote.bmp    left arrow          (tool button "Previous Quote")
  next_quote.bmp    right arrow         (tool button "Next Quote")
  schedule.bmp      alarm clock         (tool button "Schedule Event")
  schedule_set.bmp  the clock, set      (the same button while an alarm is set)
  web_page.bmp      globe               (tool button "Keldovane Web-Page")

The icons hold 16 x 16 and 32 x 32 images, 32-bit with an AND mask; the
cursor is 32 x 32 black and white; the bitmaps are 24 x 24, 24-bit, on the
light grey of the tool window. --preview also writes enlarged PNG copies
into DIR. The output is the same, byte for byte, on every run: the resource
script uses the committed files, and this script is how they were made.

Standard library only. Shapes are point-in-shape tests; each pixel takes the
fraction of a 4 x 4 grid of samples that falls inside.
"""

import math
import os
import struct
import sys
import zlib

SUBSAMPLES = 4
FACE = (192, 192, 192)  # LTGRAY_BRUSH, the tool window's background


# ---------------------------------------------------------------------------
# Shapes: each is (contains(x, y), bounding box (x0, y0, x1, y1)).

def disk(cx, cy, r):
    return (lambda x, y: (x - cx) ** 2 + (y - cy) ** 2 <= r * r,
            (cx - r, cy - r, cx + r, cy + r))


def ellipse(cx, cy, rx, ry):
    return (lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0,
            (cx - rx, cy - ry, cx + rx, cy + ry))


def rounded_rect(x0, y0, x1, y1, r):
    def contains(x, y):
        if x < x0 or x > x1 or y < y0 or y > y1:
            return False
        dx = max(x0 + r - x, 0.0, x - (x1 - r))
        dy = max(y0 + r - y, 0.0, y - (y1 - r))
        return dx * dx + dy * dy <= r * r
    return contains, (x0, y0, x1, y1)


def polygon(points):
    def contains(x, y):
        inside = False
        j = len(points) - 1
        for i in range(len(points)):
            xi, yi = points[i]
            xj, yj = points[j]
            if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
                inside = not inside
            j = i
        return inside
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return contains, (min(xs), min(ys), max(xs), max(ys))


def _segment_distance(x, y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / length2))
    px, py = ax + t * dx - x, ay + t * dy - y
    return math.sqrt(px * px + py * py)


def stroke(points, width, closed=False):
    """A line of the given width along the points, with round ends."""
    half = width / 2.0
    segments = list(zip(points, points[1:]))
    if closed:
        segments.append((points[-1], points[0]))

    def contains(x, y):
        return any(_segment_distance(x, y, a[0], a[1], b[0], b[1]) <= half for a, b in segments)
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return contains, (min(xs) - half, min(ys) - half, max(xs) + half, max(ys) + half)


def ring(cx, cy, r, width):
    return (lambda x, y: abs(math.hypot(x - cx, y - cy) - r) <= width / 2.0,
            (cx - r - width, cy - r - width, cx + r + width, cy + r + width))


def half_plane(px, py, nx, ny):
    """Points on the side of the line through (px, py) that the normal (nx, ny) points to."""
    return (lambda x, y: (x - px) * nx + (y - py) * ny >= 0.0, (-1e9, -1e9, 1e9, 1e9))


def union(*shapes):
    boxes = [s[1] for s in shapes]
    return (lambda x, y: any(s[0](x, y) for s in shapes),
            (min(b[0] for b in boxes), min(b[1] for b in boxes),
             max(b[2] for b in boxes), max(b[3] for b in boxes)))


def intersect(a, b):
    return (lambda x, y: a[0](x, y) and b[0](x, y), a[1])


def minus(a, b):
    return (lambda x, y: a[0](x, y) and not b[0](x, y), a[1])


def bezier(p0, p1, p2, steps=24):
    points = []
    for i in range(steps + 1):
        t = i / steps
        u = 1.0 - t
        points.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                       u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return points


def tapered(path, width0, width1):
    """The outline of a line along path whose width goes from width0 to width1."""
    left, right = [], []
    for i, (x, y) in enumerate(path):
        ax, ay = path[max(i - 1, 0)]
        bx, by = path[min(i + 1, len(path) - 1)]
        length = math.hypot(bx - ax, by - ay) or 1.0
        nx, ny = -(by - ay) / length, (bx - ax) / length
        half = (width0 + (width1 - width0) * i / (len(path) - 1)) / 2.0
        left.append((x + nx * half, y + ny * half))
        right.append((x - nx * half, y - ny * half))
    return polygon(left + right[::-1])


def scaled(shape_maker, scale):
    """Calls shape_maker with coordinates scaled: shapes designed on 32 units."""
    return lambda *args: shape_maker(*[a * scale for a in args])


# ---------------------------------------------------------------------------
# Images: rows of [r, g, b, a] with floats 0..1, composited "over".

class Image:
    def __init__(self, width, height, background=None):
        self.width = width
        self.height = height
        fill = [c / 255.0 for c in background] + [1.0] if background else [0.0, 0.0, 0.0, 0.0]
        self.pixels = [[list(fill) for _ in range(width)] for _ in range(height)]

    def paint(self, shape, colour, colour_bottom=None, opacity=1.0):
        """Fills shape with colour, or a vertical gradient down to colour_bottom."""
        contains, (bx0, by0, bx1, by1) = shape
        top = [c / 255.0 for c in colour]
        bottom = [c / 255.0 for c in colour_bottom] if colour_bottom else top
        span = max(by1 - by0, 1e-6)
        for py in range(max(0, int(math.floor(by0))), min(self.height, int(math.ceil(by1)) + 1)):
            for px in range(max(0, int(math.floor(bx0))), min(self.width, int(math.ceil(bx1)) + 1)):
                hits = 0
                for sy in range(SUBSAMPLES):
                    for sx in range(SUBSAMPLES):
                        if contains(px + (sx + 0.5) / SUBSAMPLES, py + (sy + 0.5) / SUBSAMPLES):
                            hits += 1
                if hits == 0:
                    continue
                alpha = opacity * hits / float(SUBSAMPLES * SUBSAMPLES)
                t = min(max((py + 0.5 - by0) / span, 0.0), 1.0)
                src = [top[i] + (bottom[i] - top[i]) * t for i in range(3)]
                dst = self.pixels[py][px]
                out_alpha = alpha + dst[3] * (1.0 - alpha)
                for i in range(3):
                    dst[i] = (src[i] * alpha + dst[i] * dst[3] * (1.0 - alpha)) / out_alpha
                dst[3] = out_alpha

    def rgba(self, x, y):
        return tuple(int(round(c * 255.0)) for c in self.pixels[y][x])


# ---------------------------------------------------------------------------
# Drawings. Icons are designed on a 32-unit square and drawn at any size;
# line widths stay at least one pixel.

BLUE_LIGHT = (96, 158, 232)
BLUE_DARK = (38, 98, 186)
BLUE_EDGE = (22, 58, 120)
WHITE = (255, 255, 255)


def quote_marks(image, s, cx, cy, size, colour):
    """An opening quotation mark, two "6" shapes side by side, centred at cx, cy."""
    for offset in (-0.5, 0.5):
        x = cx + offset * size
        r = 0.28 * size
        blob_y = cy + 0.22 * size
        tail = bezier((x - 0.05 * size, blob_y - 0.12 * size),
                      (x - 0.38 * size, blob_y - 0.52 * size),
                      (x + 0.3 * size, blob_y - 0.8 * size))
        image.paint(union(disk(x * s, blob_y * s, r * s),
                          tapered([(px * s, py * s) for px, py in tail], 0.4 * size * s,
                                  max(0.08 * size * s, 0.9))), colour)


def draw_program_icon(size):
    s = size / 32.0
    image = Image(size, size)
    edge = max(1.0, 1.1 * s)

    def bubble(inset):
        body = rounded_rect(1.5 * s + inset, 3.0 * s + inset, 30.5 * s - inset, 24.0 * s - inset,
                            7.0 * s - inset)
        tail = polygon([(7.0 * s + inset * 0.6, 22.0 * s - inset), (5.0 * s + inset * 0.4, 30.0 * s - inset * 1.9),
                        (15.5 * s - inset * 1.6, 22.0 * s - inset)])
        return union(body, tail)

    image.paint(bubble(0.0), BLUE_EDGE)
    image.paint(bubble(edge), BLUE_LIGHT, BLUE_DARK)
    quote_marks(image, s, 16.2, 13.0, 12.0, WHITE)
    return image


def draw_document_icon(size):
    s = size / 32.0
    image = Image(size, size)
    edge = max(1.0, 1.0 * s)
    fold = 7.0
    left, top, right, bottom = 5.5, 1.5, 26.5, 30.5

    def page(inset):
        return polygon([(left * s + inset, top * s + inset), ((right - fold) * s, top * s + inset),
                        (right * s - inset, (top + fold) * s), (right * s - inset, bottom * s - inset),
                        (left * s + inset, bottom * s - inset)])

    image.paint(page(0.0), (84, 92, 104))
    image.paint(page(edge), WHITE, (226, 232, 242))
    image.paint(polygon([((right - fold) * s, top * s), ((right - fold) * s, (top + fold) * s),
                         (right * s, (top + fold) * s)]), (84, 92, 104))
    image.paint(polygon([((right - fold) * s + edge, top * s + edge * 2.4),
                         ((right - fold) * s + edge, (top + fold) * s - edge),
                         (right * s - edge * 2.4, (top + fold) * s - edge)]), (204, 214, 228))
    quote_marks(image, s, 15.0, 14.0, 9.0, BLUE_DARK)
    line = max(1.0, 1.6 * s)
    for y, x1 in ((22.5, 22.5), (26.0, 18.5)):
        image.paint(stroke([(9.5 * s, y * s), (x1 * s, y * s)], line), (150, 162, 180))
    return image


def draw_arrow(point_right):
    image = Image(24, 24, FACE)
    shape = [(3.5, 9.0), (12.0, 9.0), (12.0, 4.0), (20.5, 12.0), (12.0, 20.0), (12.0, 15.0), (3.5, 15.0)]
    if not point_right:
        shape = [(24.0 - x, y) for x, y in shape]
    image.paint(polygon(shape), (92, 190, 96), (30, 120, 44))
    image.paint(stroke(shape, 1.1, closed=True), (20, 80, 30))
    return image


def draw_alarm_clock(armed=False):
    # Set, the clock stands on warm yellow with a green tick.
    image = Image(24, 24, (250, 222, 96) if armed else FACE)
    cx, cy = 12.0, 13.0
    dark = (60, 40, 30)
    # Bells, hammer and legs behind the body.
    for side in (-1, 1):
        bx, by = cx + side * 5.6, 5.6
        nx, ny = side * 0.7071, -0.7071
        bell = intersect(disk(bx, by, 3.6), half_plane(bx - nx * 1.2, by - ny * 1.2, nx, ny))
        image.paint(bell, (140, 90, 10))
        image.paint(intersect(disk(bx, by, 2.8), half_plane(bx - nx * 0.6, by - ny * 0.6, nx, ny)),
                    (250, 206, 70), (206, 144, 20))
        image.paint(stroke([(cx + side * 5.0, 18.5), (cx + side * 7.5, 21.5)], 1.8), dark)
    image.paint(stroke([(cx, 3.2), (cx, 5.6)], 1.4), dark)
    image.paint(stroke([(cx - 1.6, 3.0), (cx + 1.6, 3.0)], 1.4), dark)
    image.paint(disk(cx, cy, 8.0), (110, 22, 18))
    image.paint(disk(cx, cy, 7.0), (226, 68, 52), (170, 36, 28))
    image.paint(disk(cx, cy, 5.2), (255, 255, 250), (232, 232, 224))
    for angle in range(0, 360, 90):
        a = math.radians(angle)
        image.paint(stroke([(cx + 4.1 * math.cos(a), cy + 4.1 * math.sin(a)),
                            (cx + 4.6 * math.cos(a), cy + 4.6 * math.sin(a))], 1.0), (120, 120, 120))
    image.paint(stroke([(cx, cy), (cx, cy - 3.9)], 1.2), (30, 30, 30))
    image.paint(stroke([(cx, cy), (cx + 2.8, cy + 1.2)], 1.2), (30, 30, 30))
    image.paint(disk(cx, cy, 0.9), (200, 30, 20))
    if armed:
        image.paint(disk(19.0, 19.0, 4.4), (20, 110, 40))
        image.paint(disk(19.0, 19.0, 3.6), (70, 190, 80), (30, 140, 50))
        image.paint(stroke([(17.0, 19.2), (18.6, 20.8), (21.2, 17.4)], 1.2), (255, 255, 255))
    return image


def draw_globe():
    image = Image(24, 24, FACE)
    cx, cy, r = 12.0, 12.0, 8.6
    sphere = disk(cx, cy, r - 0.4)
    image.paint(disk(cx, cy, r), (20, 60, 120))
    image.paint(sphere, (110, 178, 240), (36, 104, 190))
    # Two continents: one to the west, one to the east and south.
    land = union(ellipse(7.4, 8.6, 2.8, 2.0), ellipse(9.0, 10.8, 1.6, 1.8), ellipse(9.8, 14.2, 1.3, 2.2),
                 ellipse(10.6, 16.8, 0.9, 1.6), ellipse(15.0, 7.6, 2.4, 1.4), ellipse(14.6, 10.8, 1.6, 1.6),
                 ellipse(16.4, 13.4, 2.0, 2.8), ellipse(17.6, 9.0, 2.0, 1.2))
    image.paint(intersect(sphere, land), (110, 186, 78), (52, 126, 42))
    grid = union(stroke([(cx - r, cy), (cx + r, cy)], 0.8),
                 stroke([(cx - r, cy - 4.6), (cx + r, cy - 4.6)], 0.7),
                 stroke([(cx - r, cy + 4.6), (cx + r, cy + 4.6)], 0.7),
                 stroke([(cx, cy - r), (cx, cy + r)], 0.8),
                 minus(ellipse(cx, cy, 4.8, r), ellipse(cx, cy, 4.05, r - 0.75)))
    image.paint(intersect(sphere, grid), (230, 244, 255), opacity=0.55)
    image.paint(intersect(sphere, minus(disk(cx - 2.2, cy - 2.4, 5.6), disk(cx - 1.2, cy - 1.4, 5.4))),
                (255, 255, 255), opacity=0.8)
    return image


def draw_cursor():
    """A hand with the index finger up, in black (outline) and white."""
    image = Image(32, 32)
    finger = rounded_rect(7.0, 0.0, 12.0, 15.0, 2.5)
    knuckles = [rounded_rect(11.0, 7.0, 15.5, 17.0, 2.2), rounded_rect(14.5, 8.0, 19.0, 17.0, 2.2),
                rounded_rect(18.0, 9.5, 22.0, 17.0, 2.0)]
    palm = rounded_rect(5.0, 12.0, 22.0, 25.0, 3.5)
    wrist = rounded_rect(7.0, 22.0, 20.5, 28.0, 1.0)
    thumb = stroke([(2.6, 13.2), (6.8, 20.5)], 4.4)
    silhouette = union(finger, palm, wrist, thumb, *knuckles)
    image.paint(silhouette, WHITE)
    inside = [[image.rgba(x, y)[3] >= 128 for x in range(32)] for y in range(32)]
    pixels = {}
    for y in range(32):
        for x in range(32):
            if not inside[y][x]:
                continue
            edge = any(not (0 <= x + dx < 32 and 0 <= y + dy < 32 and inside[y + dy][x + dx])
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            pixels[(x, y)] = 0 if edge else 1
    # Creases between the folded fingers and a cuff line at the wrist.
    for x, y0, y1 in ((11, 8, 14), (15, 9, 14), (18, 11, 14)):
        for y in range(y0, y1 + 1):
            pixels[(x, y)] = 0
    for x in range(8, 20):
        pixels[(x, 24)] = 0
    # The hot spot is the middle of the finger tip's top row.
    top = min(y for (_, y) in pixels)
    tip = [x for (x, y) in pixels if y == top]
    return pixels, ((min(tip) + max(tip)) // 2, top)


# ---------------------------------------------------------------------------
# File formats (little-endian throughout).

def bitmap_info_header(width, height, bit_count, image_size):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, image_size, 0, 0, 0, 0)


def and_mask(width, height, transparent):
    """1 bit a pixel, rows padded to 32 bits, bottom row first."""
    stride = (width + 31) // 32 * 4
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray(stride)
        for x in range(width):
            if transparent(x, y):
                row[x // 8] |= 0x80 >> (x % 8)
        data += row
    return bytes(data)


def icon_image(image):
    """One icon image: header (height doubled for the mask), BGRA rows bottom up, AND mask."""
    w, h = image.width, image.height
    colour = bytearray()
    for y in range(h - 1, -1, -1):
        for x in range(w):
            r, g, b, a = image.rgba(x, y)
            colour += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask = and_mask(w, h, lambda x, y: image.rgba(x, y)[3] < 128)
    return bitmap_info_header(w, h * 2, 32, len(colour) + len(mask)) + bytes(colour) + mask


def write_ico(path, images):
    blobs = [icon_image(i) for i in images]
    offset = 6 + 16 * len(blobs)
    out = bytearray(struct.pack("<HHH", 0, 1, len(blobs)))
    for image, blob in zip(images, blobs):
        out += struct.pack("<BBBBHHII", image.width % 256, image.height % 256, 0, 0, 1, 32, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    _write(path, out)


def write_cur(path, pixels, hotspot, size=32):
    """pixels maps (x, y) to 0 (black) or 1 (white); every other pixel is transparent."""
    colour = and_mask(size, size, lambda x, y: pixels.get((x, y)) == 1)  # XOR bits: 1 = white
    mask = and_mask(size, size, lambda x, y: (x, y) not in pixels)
    palette = bytes((0, 0, 0, 0, 255, 255, 255, 0))
    blob = bitmap_info_header(size, size * 2, 1, len(colour) + len(mask)) + palette + colour + mask
    out = struct.pack("<HHH", 0, 2, 1)
    out += struct.pack("<BBBBHHII", size, size, 2, 0, hotspot[0], hotspot[1], len(blob), 6 + 16)
    _write(path, out + blob)


def write_bmp(path, image):
    stride = (image.width * 3 + 3) // 4 * 4
    rows = bytearray()
    for y in range(image.height - 1, -1, -1):
        row = bytearray()
        for x in range(image.width):
            r, g, b, _ = image.rgba(x, y)
            row += bytes((b, g, r))
        rows += row + bytes(stride - len(row))
    header = bitmap_info_header(image.width, image.height, 24, len(rows))
    _write(path, struct.pack("<2sIHHI", b"BM", 14 + len(header) + len(rows), 0, 0, 14 + len(header))
           + header + rows)


def write_png(path, width, height, rgb_rows):
    """A preview: rgb_rows holds height rows of width (r, g, b) tuples."""
    raw = b"".join(b"\x00" + bytes(c for pixel in row for c in pixel) for row in rgb_rows)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    _write(path, b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def _write(path, data):
    with open(path, "wb") as f:
        f.write(data)


# ---------------------------------------------------------------------------

def preview(path, image, zoom=8, background=(236, 236, 236)):
    rows = []
    for y in range(image.height * zoom):
        row = []
        for x in range(image.width * zoom):
            r, g, b, a = image.rgba(x // zoom, y // zoom)
            bg = background if (x // 8 + y // 8) % 2 else tuple(c - 24 for c in background)
            row.append(tuple((r * a + bg[i] * (255 - a)) // 255 for i, (r) in enumerate((r, g, b))))
        rows.append(row)
    write_png(path, image.width * zoom, image.height * zoom, rows)


def main(argv):
    here = argv[argv.index("--out") + 1] if "--out" in argv else os.path.dirname(os.path.abspath(__file__))
    preview_dir = argv[argv.index("--preview") + 1] if "--preview" in argv else None
    os.makedirs(here, exist_ok=True)

    program = [draw_program_icon(16), draw_program_icon(32)]
    document = [draw_document_icon(16), draw_document_icon(32)]
    write_ico(os.path.join(here, "orvalis.ico"), program)
    write_ico(os.path.join(here, "orvalis_doc.ico"), document)

    pixels, hotspot = draw_cursor()
    write_cur(os.path.join(here, "orvalis.cur"), pixels, hotspot)

    bitmaps = {"prev_quote": draw_arrow(False), "next_quote": draw_arrow(True),
               "schedule": draw_alarm_clock(), "schedule_set": draw_alarm_clock(armed=True),
               "web_page": draw_globe()}
    for name, image in bitmaps.items():
        write_bmp(os.path.join(here, name + ".bmp"), image)

    if preview_dir:
        os.makedirs(preview_dir, exist_ok=True)
        for name, images in (("orvalis", program), ("orvalis_doc", document)):
            for image in images:
                preview(os.path.join(preview_dir, "%s_%d.png" % (name, image.width)), image)
        cursor = Image(32, 32)
        for (x, y), v in pixels.items():
            cursor.pixels[y][x] = [float(v), float(v), float(v), 1.0]
        hx, hy = hotspot
        cursor.pixels[hy][hx] = [1.0, 0.0, 0.0, 1.0]
        preview(os.path.join(preview_dir, "orvalis_cur.png"), cursor)
        for name, image in bitmaps.items():
            preview(os.path.join(preview_dir, name + ".png"), image)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
