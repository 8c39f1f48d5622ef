#!/usr/bin/python3
"""Decodes a picture file with Pillow into raw samples: rows top row first, each pixel
red, green, blue, 8 bits each.

usage: pillow_decode.py PICTURE OUTPUT
"""

import pathlib
import sys

from PIL import Image


def decode(path: pathlib.Path) -> bytes:
    with Image.open(path) as picture:
        return picture.convert("RGB").tobytes()


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    pathlib.Path(sys.argv[2]).write_bytes(decode(pathlib.Path(sys.argv[1])))
