"""Counts the shapes a DXF file should import as, by shape keyword, using ezdxf as the reader.

    python3 dxf_counts.py FILE

Prints "KIND COUNT" lines. Only the entity kinds the program imports count: LINE, CIRCLE, ARC,
TEXT and ATTRIB, MTEXT (one line: TEXT, more: MULTITEXT), POLYLINE (POLYGON, or SPLINE and
SPLINELOOP when curve- or spline-fit), LWPOLYLINE, SOLID and LEADER (POLYGON), and INSERT and
DIMENSION, which import as a GROUP holding a copy of their block; the block's shapes count too,
wherever the block is defined in the file (a block placing itself sees itself empty). Circles,
arcs, texts and block placements whose extrusion direction leaves the z axis are not imported;
polygons in such planes are. Shapes that would be degenerate (zero length or radius, no text
height, fewer than two points apart by more than rounding noise) are not counted.
"""

import collections
import math
import sys

import ezdxf
from ezdxf import recover


def load(path):
    try:
        return ezdxf.readfile(path)
    except ezdxf.DXFStructureError:
        doc, _auditor = recover.readfile(path)
        return doc


def same_point(a, b):
    """Equal up to rounding noise of the values' size (a line 1e-12 long in a drawing of 1000 units
    is a point)."""
    size = math.hypot(*a[:2]) + math.hypot(*b[:2])
    return math.hypot(a[0] - b[0], a[1] - b[1]) <= 10 * 2.220446e-16 * size


def distinct(points):
    return len(points) >= 2 and any(not same_point(p, points[0]) for p in points)


def tilted(e):
    """Whether the entity's extrusion direction leaves the z axis."""
    x, y, z = tuple(e.dxf.get("extrusion", (0, 0, 1)))
    length = math.sqrt(x * x + y * y + z * z)
    return length > 0 and (abs(x) > 1e-9 * length or abs(y) > 1e-9 * length)


class Counter:
    def __init__(self, doc):
        self.doc = doc
        self.memo = {}

    def block_counts(self, name):
        key = name.upper()
        if key not in self.memo:
            self.memo[key] = collections.Counter()  # a block placing itself sees it empty
            block = self.doc.blocks.get(name)
            counts = collections.Counter()
            if block is not None:
                counts = self.count(block)
            self.memo[key] = counts
        return self.memo[key]

    def place(self, name, counts):
        if not name:
            return
        members = self.block_counts(name)
        if sum(members.values()) == 0:
            return
        counts["GROUP"] += 1
        counts.update(members)

    def count(self, entities):
        counts = collections.Counter()
        for e in entities:
            self.count_entity(e, counts)
        return counts

    def count_text(self, e, counts):
        if e.dxf.get("height", 0) > 0:
            counts["TEXT"] += 1

    def count_entity(self, e, counts):
        kind = e.dxftype()
        if kind in ("CIRCLE", "ARC", "TEXT", "ATTRIB", "INSERT") and tilted(e):
            return
        if kind == "LINE":
            if not same_point(tuple(e.dxf.start), tuple(e.dxf.end)):
                counts["LINE"] += 1
        elif kind in ("CIRCLE", "ARC"):
            if e.dxf.radius > 0:
                counts[kind] += 1
        elif kind in ("TEXT", "ATTRIB"):
            self.count_text(e, counts)
        elif kind == "MTEXT":
            text = e.plain_text(split=False)
            if text and e.dxf.get("char_height", 0) > 0:
                lines = 1 + text[:-1].count("\n")
                counts["TEXT" if lines == 1 else "MULTITEXT"] += 1
        elif kind == "POLYLINE":
            self.count_polyline(e, counts)
        elif kind == "LWPOLYLINE":
            if distinct([tuple(p) for p in e.get_points("xy")]):
                counts["POLYGON"] += 1
        elif kind == "SOLID":
            points = [tuple(e.dxf.get(v, (0, 0, 0)))[:2] for v in ("vtx0", "vtx1", "vtx2", "vtx3")]
            if distinct(points):
                counts["POLYGON"] += 1
        elif kind == "LEADER":
            if len(e.vertices) >= 2 and distinct([tuple(v)[:2] for v in e.vertices]):
                counts["POLYGON"] += 1
        elif kind == "INSERT":
            self.place(e.dxf.name, counts)
            for attrib in e.attribs:
                self.count_text(attrib, counts)
        elif kind == "DIMENSION":
            self.place(e.dxf.get("geometry"), counts)

    def count_polyline(self, e, counts):
        flags = e.dxf.flags
        vertices = [(tuple(v.dxf.location)[:2], v.dxf.flags) for v in e.vertices]
        vertices = [v for v in vertices if not (v[1] & 128 and not v[1] & 64)]
        spline = flags > 1 and flags & 6
        if spline and flags & 4 and any(v[1] & 8 for v in vertices):
            vertices = [v for v in vertices if v[1] & 8]
        if not distinct([v[0] for v in vertices]):
            return
        if spline:
            counts["SPLINELOOP" if flags & 1 else "SPLINE"] += 1
        else:
            counts["POLYGON"] += 1


def main():
    path = sys.argv[1]
    doc = load(path)
    counter = Counter(doc)
    counts = collections.Counter()
    counts.update(counter.count(doc.modelspace()))
    counts.update(counter.count(doc.layouts.active_layout()))
    for kind in sorted(counts):
        if counts[kind]:
            print(kind, counts[kind])


if __name__ == "__main__":
    main()
