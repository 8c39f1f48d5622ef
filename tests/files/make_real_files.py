#!/usr/bin/python3
"""Writes the real-file test pictures into FOLDER.

Every picture is written by a real program, ImageMagick's convert or Pillow, in the forms
those programs produce. Each 24-bit 512 x 512 file also gets NAME.rgb: its pixels as the
program that wrote it decodes them (512 rows, top row first, red-green-blue), so a test can
compare a load with the writer's own reading of the file.

The pictures of every other format the import reads (imp-*, and the 512 x 512 BMP files of
other depths) get NAME.rgb, their full name followed by .rgb, in the same form: decoded by
Pillow, or by ImageMagick where Pillow rounds differently (16-bit samples are scaled to 8
bits with rounding), or for 16-bit BMP files from their stored bits here (each channel of n
bits scaled to 8 with rounding to nearest, which both programs do differently). The files the
import must refuse are written too.

usage: make_real_files.py --convert PATH [--seeds] FOLDER
    --seeds: only small pictures of every format the import reads, to seed its fuzzer
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

# (file name, how the reference is decoded): "pil" Pillow, "im16" ImageMagick at 16 bits,
# scaled with rounding, "bits16" the channels of a 16-bit BMP scaled with rounding.
IMPORTED = [
    ("imp-gray8.png", "pil"), ("imp-gray16.png", "im16"), ("imp-rgb.png", "pil"),
    ("imp-rgba.png", "pil"), ("imp-palette.png", "pil"), ("imp-rgb16.png", "im16"),
    ("imp-3x5.png", "pil"), ("imp-gray.jpg", "pil"), ("imp-color.jpg", "pil"),
    ("imp-3x5.jpg", "pil"), ("imp-rgb.tif", "pil"), ("imp-gray8.pgm", "pil"),
    ("imp-rgb8.ppm", "pil"), ("imp-gray16.pgm", "im16"), ("imp-rgb16.ppm", "im16"),
    ("imp-lossless.webp", "pil"), ("imp-palette.gif", "pil"), ("imp-4bit.bmp", "pil"),
    ("imp-3x5.bmp", "pil"), ("imp-565.bmp", "bits16"), ("imp-555.bmp", "bits16"),
    ("pil-1bit.bmp", "pil"), ("pil-8bit-palette.bmp", "pil"), ("pil-8bit-gray.bmp", "pil"),
    ("im-8bit-rle.bmp", "pil"), ("im-32bit.bmp", "pil"), ("pil-32bit.bmp", "pil"),
    ("im-os2-24bit.bmp", "pil"), ("pil-24bit-top-down.bmp", "pil"), ("im-512x256.bmp", "pil"),
]

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
    arguments.add_argument("--seeds", action="store_true", help="small import files only")
    arguments.add_argument("folder", type=pathlib.Path)
    options = arguments.parse_args()
    folder: pathlib.Path = options.folder
    if folder.exists():
        shutil.rmtree(folder)
    folder.mkdir(parents=True)

    def convert(*args) -> None:
        subprocess.run([options.convert, *map(str, args)], check=True)

    if options.seeds:
        make_import_files(folder, convert, 16, 12)
        return

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
    make_import_files(folder, convert, 768, 512)
    write_import_references(folder, convert)


def write_pnm16(target: pathlib.Path, magic: bytes, width: int, height: int, channels: int) -> None:
    """16-bit samples that are not multiples of 257, so that they do not pass for 8-bit ones."""
    samples = [(i * 7919 + (i // (width * channels)) * 104729) % 65536
               for i in range(width * height * channels)]
    header = b"%s\n%d %d\n65535\n" % (magic, width, height)
    target.write_bytes(header + struct.pack(f">{len(samples)}H", *samples))


def decode_bmp16(target: pathlib.Path) -> bytes:
    """A bottom-up 16-bit BMP, plain (5-5-5) or with bit fields, top row first, red-green-blue."""
    data = target.read_bytes()
    offset, info_size, width, height = struct.unpack_from("<IIii", data, 10)
    compression = struct.unpack_from("<I", data, 30)[0]
    masks = struct.unpack_from("<III", data, 54) if compression == 3 else (0x7C00, 0x3E0, 0x1F)
    if struct.unpack_from("<H", data, 28)[0] != 16 or height <= 0:
        raise SystemExit(f"{target}: not a bottom-up 16-bit BMP")
    row_bytes = (width * 2 + 3) // 4 * 4
    out = bytearray()
    for y in range(height - 1, -1, -1):
        for x in range(width):
            pixel = struct.unpack_from("<H", data, offset + y * row_bytes + 2 * x)[0]
            for mask in masks:
                shift = (mask & -mask).bit_length() - 1
                top, value = mask >> shift, (pixel & mask) >> shift
                out.append((2 * value * 255 + top) // (2 * top))  # floor(v * 255 / top + 1/2)
    return bytes(out)


def write_import_references(folder: pathlib.Path, convert) -> None:
    for name, decoder in IMPORTED:
        target = folder / name
        reference = folder / (name + ".rgb")
        if decoder == "pil":
            reference.write_bytes(pillow_decode.decode(target))
        elif decoder == "bits16":
            reference.write_bytes(decode_bmp16(target))
        else:
            convert(target, "-depth", "16", "-endian", "MSB", f"rgb:{reference}")
            wide = reference.read_bytes()
            samples = struct.unpack(f">{len(wide) // 2}H", wide)
            reference.write_bytes(bytes((v * 255 + 32767) // 65535 for v in samples))


def make_import_files(folder: pathlib.Path, convert, width: int, height: int) -> None:
    source = folder / "source-import.png"
    convert("-size", f"{width}x{height}", "-seed", "9", "plasma:fractal", "-alpha", "off",
            "-depth", "8", source)
    picture = Image.open(source).convert("RGB")
    small = picture.resize((3, 5))
    alpha = Image.linear_gradient("L").resize(picture.size)  # 0 (transparent) at the top
    picture.convert("L").save(folder / "imp-gray8.png")
    write_pnm16(folder / "imp-gray16.pgm", b"P5", width, height, 1)
    write_pnm16(folder / "imp-rgb16.ppm", b"P6", width, height, 3)
    convert(folder / "imp-gray16.pgm", f"PNG:{folder / 'imp-gray16.png'}")
    convert(folder / "imp-rgb16.ppm", f"PNG48:{folder / 'imp-rgb16.png'}")
    picture.save(folder / "imp-rgb.png")
    rgba = picture.copy()
    rgba.putalpha(alpha)
    rgba.save(folder / "imp-rgba.png")
    picture.quantize(64).save(folder / "imp-palette.png")
    small.save(folder / "imp-3x5.png")
    picture.convert("L").save(folder / "imp-gray.jpg")
    picture.save(folder / "imp-color.jpg", quality=90)
    small.save(folder / "imp-3x5.jpg")
    picture.save(folder / "imp-rgb.tif")
    picture.convert("L").save(folder / "imp-gray8.pgm")
    picture.save(folder / "imp-rgb8.ppm")
    picture.save(folder / "imp-lossless.webp", lossless=True)
    picture.quantize(200).save(folder / "imp-palette.gif")
    convert(source, "-colors", "16", "-type", "Palette", "-compress", "None",
            f"BMP3:{folder / 'imp-4bit.bmp'}")
    small.save(folder / "imp-3x5.bmp")
    convert(source, "-define", "bmp:subtype=RGB565", f"BMP:{folder / 'imp-565.bmp'}")
    convert(source, "-define", "bmp:subtype=RGB555", f"BMP:{folder / 'imp-555.bmp'}")

    # Files the import refuses.
    whole = (folder / "imp-rgb.png").read_bytes()
    (folder / "truncated.png").write_bytes(whole[: len(whole) // 2])
    whole = (folder / "imp-color.jpg").read_bytes()
    (folder / "truncated.jpg").write_bytes(whole[: len(whole) // 2])
    (folder / "text.png").write_text("Not a picture at all.\n")
    (folder / "empty.png").write_bytes(b"")
    (folder / "too-wide.pgm").write_bytes(b"P5\n16385 1\n255\n" + bytes(16385))
    (folder / "too-high-16bit.pgm").write_bytes(b"P5\n1 16385\n65535\n" + bytes(2 * 16385))


if __name__ == "__main__":
    main()
