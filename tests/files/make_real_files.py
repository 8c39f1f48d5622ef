#!/usr/bin/python3
"""Writes the real-file test pictures into FOLDER.

Every picture is written by a real program, ImageMagick's convert or Pillow, in the forms
those programs produce. Each 24-bit 512 x 512 file also gets NAME.rgb: its pixels as the
program that wrote it decodes them (512 rows, top row first, red-green-blue), so a test can
compare a load with the writer's own reading of the file.

usage: make_real_files.py --convert PATH FOLDER
"""

import argparse
import pathlib
import shutil
import struct
import subprocess

from PIL import Image

import pillow_decode

# (file name, ImageMagick options before the output, output format)
IMAGEMAGICK_FILES = [
    ("im-bmp3-24bit.bmp", ["-type", "TrueColor"], "BMP3"),
    # Without a rendering intent ImageMagick writes the 108-byte header, with one 124 bytes.
    ("im-v4-24bit.bmp", ["-type", "TrueColor", "-intent", "Undefined"], "BMP"),
    ("im-v5-24bit.bmp", ["-type", "TrueColor"], "BMP"),
    ("im-8bit-palette.bmp", ["-type", "Palette", "-compress", "None"], "BMP3"),
    ("im-8bit-rle.bmp", ["-type", "Palette", "-compress", "RLE"], "BMP3"),
    ("im-32bit.bmp", ["-type", "TrueColorAlpha"], "BMP"),
    ("im-16bit.bmp", ["-define", "bmp:subtype=RGB565"], "BMP"),
    ("im-512x256.bmp", ["-resize", "512x256!", "-type", "TrueColor"], "BMP3"),
    ("im-1x1.bmp", ["-resize", "1x1!", "-type", "TrueColor"], "BMP3"),
    # The small header of the older format puts pixel bytes where the depth usually is.
    ("im-os2-24bit.bmp", ["-type", "TrueColor"], "BMP2"),
]

# (file name, Pillow mode the picture is saved in)
PILLOW_FILES = [
    ("pil-24bit.bmp", "RGB"),
    ("pil-8bit-palette.bmp", "P"),
    ("pil-8bit-gray.bmp", "L"),
    ("pil-32bit.bmp", "RGBA"),
    ("pil-1bit.bmp", "1"),
]

ACCEPTED = ["im-bmp3-24bit.bmp", "im-v4-24bit.bmp", "im-v5-24bit.bmp", "pil-24bit.bmp"]

ROW_BYTES = 512 * 3
HEIGHT_OFFSET = 22


def write_top_down(bottom_up: pathlib.Path, target: pathlib.Path) -> None:
    """No installed program writes top-down files, so one is made from Pillow's file:
    the rows in reverse order and the height negated, which is exactly that form."""
    data = bytearray(bottom_up.read_bytes())
    offset = struct.unpack_from("<I", data, 10)[0]
    rows = [data[offset + i * ROW_BYTES : offset + (i + 1) * ROW_BYTES] for i in range(512)]
    data[offset:] = b"".join(reversed(rows))
    struct.pack_into("<i", data, HEIGHT_OFFSET, -512)
    target.write_bytes(data)
    # Pillow must read it as the same picture, or the file is not what its name says.
    if pillow_decode.decode(target) != pillow_decode.decode(bottom_up):
        raise SystemExit(f"{target}: the top-down copy does not decode as its original")


def main() -> None:
    arguments = argparse.ArgumentParser()
    arguments.add_argument("--convert", required=True, help="ImageMagick's convert")
    arguments.add_argument("folder", type=pathlib.Path)
    options = arguments.parse_args()
    folder: pathlib.Path = options.folder
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)

    def convert(*args) -> None:
        subprocess.run([options.convert, *map(str, args)], check=True)

    # A colourful 8-bit picture without transparency whose pixels differ from their
    # neighbours in all three channels, so a swapped channel or a flipped row cannot go
    # unnoticed. The bottom-left pixel is fixed: in the older format its red byte lands
    # where the depth is read.
    source = folder / "source.png"
    convert("-size", "512x512", "-seed", "7", "plasma:fractal",
            "-fill", "rgb(1,2,3)", "-draw", "point 0,511", "-alpha", "off", "-depth", "8", source)

    for name, settings, form in IMAGEMAGICK_FILES:
        convert(source, *settings, f"{form}:{folder / name}")
    picture = Image.open(source).convert("RGB")
    for name, mode in PILLOW_FILES:
        picture.convert(mode).save(folder / name, format="BMP")
    write_top_down(folder / "pil-24bit.bmp", folder / "pil-24bit-top-down.bmp")
    shutil.copyfile(source, folder / "png-renamed.bmp")
    whole = (folder / "im-bmp3-24bit.bmp").read_bytes()
    (folder / "im-bmp3-truncated.bmp").write_bytes(whole[: len(whole) - 1000])

    for name in ACCEPTED:
        target = folder / name
        decoded = target.with_suffix(".rgb")
        if name.startswith("im-"):
            convert(target, "-depth", "8", f"rgb:{decoded}")
        else:
            decoded.write_bytes(pillow_decode.decode(target))


if __name__ == "__main__":
    main()
