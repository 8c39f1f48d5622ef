#!/usr/bin/env python3
"""The synthetic pictures the optimised mode is measured on beside the sample: straight edges,
polygons and shaded areas, 512 x 512 gray PNG files, each pixel the mean of 2 x 2 samples (so
edges are antialiased as a rendered or photographed edge would be).

    bench/synthetic_pictures.py FOLDER    writes edge.png, polygons.png and shaded.png there
"""
import sys
from pathlib import Path

from PIL import Image

SIDE = 512


def inside(polygon, x, y):
    """Even-odd rule: whether (x, y) lies inside the polygon."""
    result = False
    for (x1, y1), (x2, y2) in zip(polygon, polygon[1:] + polygon[:1]):
        if (y1 > y) != (y2 > y) and x < x1 + (y - y1) * (x2 - x1) / (y2 - y1):
            result = not result
    return result


def render(shade):
    """A picture whose sample at (x, y), y downwards, is shade(x, y)."""
    picture = Image.new("L", (SIDE, SIDE))
    pixels = picture.load()
    offsets = (0.25, 0.75)
    for y in range(SIDE):
        for x in range(SIDE):
            total = sum(shade(x + dx, y + dy) for dx in offsets for dy in offsets)
            pixels[x, y] = max(0, min(255, round(total / 4)))
    return picture


def edge(x, y):
    # One straight edge between two linear shadings.
    if y < 180 + x * 150 / 512:
        return 40 + 0.2 * x + 0.1 * y
    return 200 - 0.15 * x + 0.05 * y


POLYGONS = [
    ([(60, 60), (230, 90), (150, 240)], 210),
    ([(300, 40), (470, 70), (450, 220), (320, 190)], 90),
    ([(80, 300), (250, 280), (280, 470), (40, 440)], 160),
    ([(330, 280), (480, 330), (400, 490)], 30),
    ([(200, 200), (330, 230), (300, 330), (190, 310)], 250),
]


def polygons(x, y):
    # Flat polygons over a flat ground; later ones lie on top.
    value = 120
    for polygon, gray in POLYGONS:
        if inside(polygon, x, y):
            value = gray
    return value


def shaded(x, y):
    # The same polygons, each and the ground shaded linearly in its own direction.
    value = 60 + 0.15 * x + 0.1 * y
    for k, (polygon, gray) in enumerate(POLYGONS):
        if inside(polygon, x, y):
            gx, gy = ((0.3, -0.1), (-0.2, 0.25), (0.1, 0.2), (0.35, 0.05), (-0.1, -0.3))[k]
            value = gray - 40 + gx * (x - 256) * 0.5 + gy * (y - 256) * 0.5 + 40
    return value


def main():
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    for name, shade in (("edge", edge), ("polygons", polygons), ("shaded", shaded)):
        render(shade).save(folder / f"{name}.png")


if __name__ == "__main__":
    main()
