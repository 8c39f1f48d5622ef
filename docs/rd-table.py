#!/usr/bin/env python3
"""The README's rate-distortion table from a sweep's CSV (and the Bjontegaard CSV beside it).

    zantrel-cli sweep samples/astronaut.bmp --optimise --peers jpeg,jpeg2000,webp,avif,jxl \
        --csv rd.csv
    python3 docs/rd-table.py rd.csv

PSNR and SSIM of every curve (the optimised mode's too, where the sweep has it) at 0.02, 0.05,
0.1 and 0.2 bits per pixel, each interpolated linearly in log rate between the two neighbouring
points of the curve ("—" where the curve does not reach the rate), then the Bjontegaard figures
of rd-bd.csv. A row without figures (a peer that could not code the picture) is left out.
"""
import csv
import math
import os
import sys

RATES = [0.02, 0.05, 0.1, 0.2]
NAMES = {"jpeg": "JPEG", "jpeg2000": "JPEG 2000", "webp": "WebP", "avif": "AVIF", "jxl": "JPEG XL",
         "zantrel": "Zantrel, `.ztl` file", "zantrel-optimised": "Zantrel optimised, `.ztl` file"}
# The Bjontegaard CSV's names of Zantrel's curves.
CURVES = {"file": "file", "estimate": "estimate", "optimised": "optimised file"}


def at(points, rate):
    """The figure at `rate`, interpolated in log rate; None outside the curve."""
    points = sorted(p for p in points if p[0] > 0 and math.isfinite(p[1]))
    for (r0, v0), (r1, v1) in zip(points, points[1:]):
        if r0 <= rate <= r1 and r1 > r0:
            t = (math.log(rate) - math.log(r0)) / (math.log(r1) - math.log(r0))
            return v0 + t * (v1 - v0)
    return None


def main(path):
    rows = list(csv.DictReader(open(path, newline="")))
    curves = {}
    for row in rows:
        if not row["psnr"]:
            continue
        figures = (float(row["psnr"]), float(row["ssim"]))
        name = NAMES.get(row["codec"], row["codec"])
        curves.setdefault(name, []).append((float(row["fileBitrate"]), figures))
    header = " | ".join(f"{r} bpp" for r in RATES)
    print(f"| codec | {header} |")
    print("|---|" + "---:|" * len(RATES))
    for name, points in curves.items():
        cells = []
        for rate in RATES:
            psnr = at([(r, f[0]) for r, f in points], rate)
            ssim = at([(r, f[1]) for r, f in points], rate)
            cells.append("—" if psnr is None else f"{psnr:.2f} / {ssim:.3f}")
        print(f"| {name} | " + " | ".join(cells) + " |")
    bd = os.path.splitext(path)[0] + "-bd.csv"
    if os.path.exists(bd):
        print()
        print("| Zantrel curve | peer | BD-PSNR (dB) | BD-rate |")
        print("|---|---|---:|---:|")
        for row in csv.DictReader(open(bd, newline="")):
            curve = CURVES.get(row["zantrel"], row["zantrel"])
            peer = NAMES.get(row["peer"], row["peer"])
            if row["bdPsnr"]:
                print(f"| {curve} | {peer} | {float(row['bdPsnr']):+.2f} | "
                      f"{float(row['bdRatePercent']):+.1f} % |")
            else:
                print(f"| {curve} | {peer} | no common range | |")


if __name__ == "__main__":
    main(sys.argv[1])
