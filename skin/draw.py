"""A small anti-aliased raster canvas for the skin's art, and a PNG writer.

Shapes are signed distance functions: negative inside, in pixels. A pixel's
coverage is taken from the distance at its centre, which gives one pixel of
anti-aliasing on every edge. Colours are straight RGBA floats in 0..1.
"""
import math
import struct
import zlib


def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def hex_rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


# --- distance functions -------------------------------------------------------

def rrect(x0, y0, x1, y1, r):
    """Rounded rectangle from (x0, y0) to (x1, y1) with corner radius r."""
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hw, hh = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hw, abs(y - cy) - hh
        ox, oy = max(qx, 0.0), max(qy, 0.0)
        return math.hypot(ox, oy) + min(max(qx, qy), 0.0) - r
    return sdf, (x0 - 1, y0 - 1, x1 + 1, y1 + 1)


def circle(cx, cy, r):
    def sdf(x, y):
        return math.hypot(x - cx, y - cy) - r
    return sdf, (cx - r - 1, cy - r - 1, cx + r + 1, cy + r + 1)


def ring(cx, cy, r, width):
    def sdf(x, y):
        return abs(math.hypot(x - cx, y - cy) - r) - width / 2.0
    e = r + width
    return sdf, (cx - e - 1, cy - e - 1, cx + e + 1, cy + e + 1)


def segment(ax, ay, bx, by, width):
    """A stroke with round caps."""
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-9

    def sdf(x, y):
        t = clamp(((x - ax) * dx + (y - ay) * dy) / length2)
        return math.hypot(x - ax - t * dx, y - ay - t * dy) - width / 2.0
    w = width
    return sdf, (min(ax, bx) - w - 1, min(ay, by) - w - 1, max(ax, bx) + w + 1, max(ay, by) + w + 1)


def polyline(points, width):
    parts = [segment(a[0], a[1], b[0], b[1], width) for a, b in zip(points, points[1:])]
    return union(*parts)


def polygon(points):
    """A convex or concave polygon (even-odd rule)."""
    n = len(points)

    def sdf(x, y):
        d = float("inf")
        inside = False
        for i in range(n):
            ax, ay = points[i]
            bx, by = points[(i + 1) % n]
            ex, ey = bx - ax, by - ay
            length2 = ex * ex + ey * ey or 1e-9
            t = clamp(((x - ax) * ex + (y - ay) * ey) / length2)
            d = min(d, math.hypot(x - ax - t * ex, y - ay - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (by - ay):
                inside = not inside
        return -d if inside else d
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return sdf, (min(xs) - 1, min(ys) - 1, max(xs) + 1, max(ys) + 1)


def union(*shapes):
    def sdf(x, y):
        return min(s[0](x, y) for s in shapes)
    return sdf, (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
                 max(s[1][2] for s in shapes), max(s[1][3] for s in shapes))


def subtract(shape, cut):
    def sdf(x, y):
        return max(shape[0](x, y), -cut[0](x, y))
    return sdf, shape[1]


# --- canvas -------------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, color=(0.0, 0.0, 0.0), alpha=0.0):
        self.width, self.height = width, height
        n = width * height
        self.r = [color[0]] * n
        self.g = [color[1]] * n
        self.b = [color[2]] * n
        self.a = [alpha] * n

    def blend(self, i, color, alpha):
        """Source-over of a straight colour at pixel index i."""
        if alpha <= 0.0:
            return
        da = self.a[i]
        oa = alpha + da * (1.0 - alpha)
        if oa <= 0.0:
            return
        k = da * (1.0 - alpha)
        self.r[i] = (color[0] * alpha + self.r[i] * k) / oa
        self.g[i] = (color[1] * alpha + self.g[i] * k) / oa
        self.b[i] = (color[2] * alpha + self.b[i] * k) / oa
        self.a[i] = oa

    def fill(self, shape, paint, opacity=1.0, dx=0.0, dy=0.0):
        """Fills a shape; paint is a colour or a function (x, y) -> colour."""
        sdf, box = shape
        x0 = max(0, int(math.floor(box[0] + dx)))
        y0 = max(0, int(math.floor(box[1] + dy)))
        x1 = min(self.width, int(math.ceil(box[2] + dx)) + 1)
        y1 = min(self.height, int(math.ceil(box[3] + dy)) + 1)
        constant = not callable(paint)
        for y in range(y0, y1):
            py = y + 0.5 - dy
            row = y * self.width
            for x in range(x0, x1):
                px = x + 0.5 - dx
                coverage = clamp(0.5 - sdf(px, py))
                if coverage > 0.0:
                    color = paint if constant else paint(x + 0.5, y + 0.5)
                    self.blend(row + x, color, coverage * opacity)

    def fill_rect(self, x0, y0, x1, y1, paint, opacity=1.0):
        constant = not callable(paint)
        for y in range(max(0, y0), min(self.height, y1)):
            row = y * self.width
            for x in range(max(0, x0), min(self.width, x1)):
                self.blend(row + x, paint if constant else paint(x + 0.5, y + 0.5), opacity)

    def shade(self, alpha_at, color, box=None):
        """Paints colour with a per-pixel alpha function (shadows, glows)."""
        x0, y0, x1, y1 = box or (0, 0, self.width, self.height)
        for y in range(y0, y1):
            row = y * self.width
            for x in range(x0, x1):
                a = alpha_at(x + 0.5, y + 0.5)
                if a > 0.0:
                    self.blend(row + x, color, a)

    def paste(self, other, ox, oy):
        for y in range(other.height):
            for x in range(other.width):
                j = y * other.width + x
                tx, ty = ox + x, oy + y
                if 0 <= tx < self.width and 0 <= ty < self.height:
                    self.blend(ty * self.width + tx, (other.r[j], other.g[j], other.b[j]), other.a[j])

    def png(self, alpha=True):
        """PNG bytes: RGBA (colour type 6) or RGB (colour type 2)."""
        channels = 4 if alpha else 3
        stride = self.width * channels
        raw = bytearray()
        previous = bytearray(stride)
        for y in range(self.height):
            row = bytearray(stride)
            base = y * self.width
            for x in range(self.width):
                i = base + x
                o = x * channels
                row[o] = int(round(clamp(self.r[i]) * 255))
                row[o + 1] = int(round(clamp(self.g[i]) * 255))
                row[o + 2] = int(round(clamp(self.b[i]) * 255))
                if alpha:
                    row[o + 3] = int(round(clamp(self.a[i]) * 255))
            # Filter "Up" or "Sub", whichever leaves smaller residues.
            up = bytearray((row[k] - previous[k]) & 0xFF for k in range(stride))
            sub = bytearray((row[k] - (row[k - channels] if k >= channels else 0)) & 0xFF for k in range(stride))
            score = lambda data: sum(v if v < 128 else 256 - v for v in data)
            if score(up) <= score(sub):
                raw += b"\x02" + up
            else:
                raw += b"\x01" + sub
            previous = row

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 6 if alpha else 2, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(raw), 9))
                + chunk(b"IEND", b""))
