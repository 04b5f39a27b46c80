#!/usr/bin/python3
"""Makes the picture files the imaging tests decode, and reference decodes of them.

usage: make_fixtures.py OUT_DIR [CORPORA_DIR]

Every picture is made by an encoder other than ours (ImageMagick, Pillow, cjpeg,
gifsicle), and every reference by a decoder other than ours (djpeg for JPEG, Pillow
for the rest; the corpora's own renderings where they have them). A reference is
written next to the path it belongs to, under OUT_DIR/ref/, as 4 bytes width and
4 bytes height (little-endian) followed by the RGBA pixels, top row first.
Corpus files are referenced under OUT_DIR/ref/corpora/<path inside the corpora>.
"""

import io
import pathlib
import shutil
import struct
import subprocess
import sys

from PIL import Image, IcoImagePlugin

CONVERT = "/usr/bin/convert-im6.q16"  # Debian's ImageMagick, whatever else is on PATH
CJPEG = "/usr/bin/cjpeg"
DJPEG = "/usr/bin/djpeg"
GIFSICLE = "/usr/bin/gifsicle"

out = pathlib.Path(sys.argv[1])
corpora = pathlib.Path(sys.argv[2]) if len(sys.argv) > 2 else None
gen = out / "gen"
refs = out / "ref"


def run(*args, **kwargs):
    return subprocess.run([str(a) for a in args], check=True, capture_output=True, **kwargs)


def write_ref(key, image):
    image = image.convert("RGBA")
    path = refs / key
    path.parent.mkdir(parents=True, exist_ok=True)
    path.write_bytes(struct.pack("<II", image.width, image.height) + image.tobytes())


def djpeg_ref(key, jpeg_path):
    """djpeg decodes with the same fake end-of-image rule for cut-off files.
    Returns False when djpeg gives up (exit status 1)."""
    result = subprocess.run([DJPEG, "-pnm", str(jpeg_path)], capture_output=True)
    if result.returncode not in (0, 2) or not result.stdout:  # 2: warnings only
        return False
    write_ref(key, Image.open(io.BytesIO(result.stdout)))
    return True


def jpeg_ref(key, path):
    try:
        with Image.open(path) as image:
            four_components = image.mode == "CMYK"
    except Exception:  # noqa: BLE001 - Pillow cannot even read the header
        four_components = False
    if four_components:
        # djpeg cannot write CMYK as PNM; Pillow turns Adobe's inverted CMYK into RGB.
        # Marked as such: its rounding differs from djpeg's by one.
        with Image.open(path) as image:
            write_ref(key + ".cmyk", image.convert("RGB"))
        return True
    return djpeg_ref(key, path)


def cut_before_marker(data, marker):
    return data[: data.index(marker)]


# --- JPEG -----------------------------------------------------------------------------

def make_jpegs():
    source = gen / "photo.ppm"
    run(CONVERT, "-size", "96x64", "-seed", "7", "plasma:fractal", "-depth", "8", source)
    variants = {
        "baseline.jpg": ["-quality", "85"],
        "grey.jpg": ["-grayscale"],
        "progressive.jpg": ["-progressive"],
        "restart444.jpg": ["-sample", "1x1", "-restart", "1"],
    }
    for name, options in variants.items():
        run(CJPEG, *options, "-outfile", gen / name, source)
    run(CONVERT, source, "-colorspace", "CMYK", "-quality", "92", gen / "cmyk.jpg")

    baseline = (gen / "baseline.jpg").read_bytes()
    start_of_scan = baseline.index(b"\xff\xda")
    (gen / "cut_in_data.jpg").write_bytes(baseline[: start_of_scan + (len(baseline) - start_of_scan) // 2])
    (gen / "cut_before_scan.jpg").write_bytes(baseline[:start_of_scan])
    progressive = (gen / "progressive.jpg").read_bytes()
    (gen / "cut_progressive.jpg").write_bytes(progressive[: len(progressive) * 6 // 10])

    # The picture box test: four flat quadrants, 752 x 144.
    quadrants = Image.new("RGB", (752, 144))
    colours = [(200, 30, 30), (30, 160, 40), (40, 60, 210), (230, 200, 40)]
    for i, colour in enumerate(colours):
        quadrants.paste(colour, ((i % 2) * 376, (i // 2) * 72, (i % 2 + 1) * 376, (i // 2 + 1) * 72))
    quadrants.save(gen / "quadrants_752x144.jpg", quality=95, subsampling=0)

    for path in sorted(gen.glob("*.jpg")):
        jpeg_ref(f"gen/{path.name}", path)


# --- BMP ------------------------------------------------------------------------------

def make_bmps():
    source = gen / "photo.ppm"
    run(CONVERT, source, "BMP3:" + str(gen / "rgb24.bmp"))
    run(CONVERT, source, "-colors", "200", "-type", "Palette", "-compress", "None",
        "BMP3:" + str(gen / "pal8.bmp"))
    run(CONVERT, source, "-colors", "16", "-type", "Palette", "-compress", "None",
        "BMP3:" + str(gen / "pal4.bmp"))
    run(CONVERT, source, "-monochrome", "BMP3:" + str(gen / "pal1.bmp"))
    run(CONVERT, source, "-colors", "200", "-compress", "RLE", "BMP3:" + str(gen / "rle8.bmp"))
    with Image.open(source) as image:
        image.convert("RGBA").save(gen / "rgba32.bmp")  # Pillow: 32 bits, BI_RGB
    for path in sorted(gen.glob("*.bmp")):
        with Image.open(path) as image:
            write_ref(f"gen/{path.name}", image)


# --- ICO / CUR ------------------------------------------------------------------------

def icon_entry(size, colour_count, pattern_colour):
    """A 4-bit bitmap entry made by ImageMagick, wrapped as icons store it: the BMP
    without its file header, the height doubled, then the AND mask (top-left quarter
    and the right-most column transparent)."""
    bmp = gen / f"entry{size}.bmp"
    half = size // 2 - 1
    run(CONVERT, "-size", f"{size}x{size}", "xc:white", "-fill", pattern_colour,
        "-draw", f"circle {half},{half} {half},1", "-fill", "black",
        "-draw", f"rectangle 0,{size - 3} {size - 1},{size - 1}",
        "-colors", "16", "-type", "Palette", "BMP3:" + str(bmp))
    data = bytearray(bmp.read_bytes()[14:])
    header_size, width, height, planes, bits = struct.unpack("<IiiHH", data[:16])
    assert bits == 4 and width == size and height == size, (bits, width, height)
    struct.pack_into("<i", data, 8, 2 * size)
    row_bytes = (size + 31) // 32 * 4
    mask = bytearray()
    for stored_row in range(size):  # bottom row first
        y = size - 1 - stored_row
        bits_row = [(x < size // 2 and y < size // 2) or x == size - 1 for x in range(size)]
        row = bytearray(row_bytes)
        for x, transparent in enumerate(bits_row):
            if transparent:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    return (size, colour_count, bytes(data) + bytes(mask))


def write_icon(path, resource_type, entries):
    directory = struct.pack("<HHH", 0, resource_type, len(entries))
    offset = 6 + 16 * len(entries)
    body = b""
    for size, colour_count, data in entries:
        directory += struct.pack("<BBBBHHII", size % 256, size % 256, colour_count, 0, 1, 4,
                                 len(data), offset + len(body))
        body += data
    path.write_bytes(directory + body)


def icon_refs(key, path):
    """References for every entry, numbered in directory order. Pillow reads icons
    only, so a cursor is read as one, with the hot spot fields (where icons keep planes
    and bit count, which Pillow goes by) set from the entry's bitmap header."""
    data = bytearray(path.read_bytes())
    count = struct.unpack_from("<H", data, 4)[0]
    if data[2] == 2:
        data[2] = 1
        for index in range(count):
            entry = 6 + 16 * index
            offset = struct.unpack_from("<I", data, entry + 12)[0]
            if data[offset:offset + 4] == struct.pack("<I", 40):
                bits = struct.unpack_from("<H", data, offset + 14)[0]
                struct.pack_into("<HH", data, entry + 4, 1, bits)
    icon = IcoImagePlugin.IcoFile(io.BytesIO(bytes(data)))
    # Pillow keeps the entries sorted its own way; find each by its offset.
    for index in range(count):
        offset = struct.unpack_from("<I", data, 6 + 16 * index + 12)[0]
        try:
            frame = next(i for i, e in enumerate(icon.entry) if e["offset"] == offset)
            write_ref(f"{key}.{index}", icon.frame(frame))
        except Exception:  # noqa: BLE001 - an entry Pillow cannot read has no reference
            pass


def make_icons():
    entries = [icon_entry(16, 16, "blue"), icon_entry(32, 16, "red"), icon_entry(48, 16, "green")]
    write_icon(gen / "pick32.ico", 1, entries)
    write_icon(gen / "pick32.cur", 2, entries)
    # Colour count 0 does not qualify: the last entry is shown.
    write_icon(gen / "count0.ico", 1, [(s, 0, d) for s, _, d in entries])
    for name in ("pick32.ico", "pick32.cur", "count0.ico"):
        icon_refs(f"gen/{name}", gen / name)


# --- PCX ------------------------------------------------------------------------------

def as_version3(source, target):
    """1-bit PCX files are recognised with version byte 3 only; Pillow writes 2."""
    data = bytearray(source.read_bytes())
    data[1] = 3
    target.write_bytes(bytes(data))


def make_pcx():
    source = gen / "photo.ppm"
    run(CONVERT, source, "-colors", "200", "-type", "Palette", "PCX:" + str(gen / "im8.pcx"))
    with Image.open(source) as image:
        image.quantize(64).save(gen / "pil8.pcx")
        image.convert("1").save(gen / "pil1_v2.pcx")
    as_version3(gen / "pil1_v2.pcx", gen / "pil1.pcx")
    for name in ("im8.pcx", "pil8.pcx", "pil1_v2.pcx"):
        with Image.open(gen / name) as image:
            write_ref(f"gen/{name}", image)
    shutil.copy(refs / "gen/pil1_v2.pcx", refs / "gen/pil1.pcx")


# --- GIF ------------------------------------------------------------------------------

def flat_gif(name, size, colour, transparent_half=None):
    image = Image.new("RGB", size, colour)
    if transparent_half:
        image.paste(transparent_half, (0, 0, size[0] // 2, size[1]))
    image.save(gen / name)
    return gen / name


def make_gifs():
    red = flat_gif("red8.gif", (8, 8), (255, 0, 0))
    green8 = flat_gif("green8.gif", (8, 8), (0, 255, 0))
    blue8 = flat_gif("blue8.gif", (8, 8), (0, 0, 255))
    blue4 = flat_gif("blue4.gif", (4, 4), (0, 0, 255))
    green2 = flat_gif("green2.gif", (2, 2), (0, 255, 0))
    yellow1 = flat_gif("yellow1.gif", (1, 1), (255, 255, 0))
    # Left half blue (made transparent), right half green.
    half = flat_gif("half8.gif", (8, 8), (0, 255, 0), transparent_half=(0, 0, 255))

    # Delay 0 on every image and a loop count of one, both to be overridden.
    run(GIFSICLE, "--loopcount=1", "--delay=0", red, green8, blue8, "-o", gen / "zero_delay.gif")
    # Disposal: none, background (2), previous (3), none.
    run(GIFSICLE, "--logical-screen", "8x8", "--delay=10", "--loopcount=forever",
        "--disposal=none", "--position", "0,0", red,
        "--disposal=background", "--position", "2,2", blue4,
        "--disposal=previous", "--position", "0,0", green2,
        "--disposal=none", "--position", "7,7", yellow1,
        "-o", gen / "disposal.gif")
    run(GIFSICLE, "--delay=7", red, "--transparent", "#0000FF", half, "-o", gen / "transparent.gif")
    # The picture box's animation: red then blue, 50 ms each.
    run(GIFSICLE, "--delay=0", red, blue8, "-o", gen / "red_blue.gif")


def main():
    if out.exists():
        shutil.rmtree(out)
    gen.mkdir(parents=True)
    make_jpegs()
    make_bmps()
    make_icons()
    make_pcx()
    make_gifs()
    if corpora is None or not corpora.is_dir():
        print("corpora not found: only generated fixtures made")
        return
    for path in sorted(corpora.glob("jpeg/**/*.jpg")):
        jpeg_ref(f"corpora/{path.relative_to(corpora)}", path)
    for path in sorted(corpora.glob("bmp/**/*.bmp")):
        try:
            with Image.open(path) as image:
                write_ref(f"corpora/{path.relative_to(corpora)}", image)
        except Exception:  # noqa: BLE001 - Pillow refuses it: no reference
            pass
    for path in sorted([*corpora.glob("ico/**/*.ico"), *corpora.glob("ico/**/*.cur")]):
        try:
            icon_refs(f"corpora/{path.relative_to(corpora)}", path)
        except Exception:  # noqa: BLE001
            pass
    for path in sorted(corpora.glob("pcx/**/*.pcx")):
        rendering = path.with_suffix(".png")
        try:
            with Image.open(rendering if rendering.exists() else path) as image:
                write_ref(f"corpora/{path.relative_to(corpora)}", image)
        except Exception:  # noqa: BLE001
            pass
    # The GIF suite's expected frames are raw RGBA of the size its .conf gives.
    suite = corpora / "gif/gif-test-suite"
    for conf in sorted(suite.glob("*.conf")):
        values = dict(line.split(" = ", 1) for line in conf.read_text().splitlines() if " = " in line)
        width, height = int(values["width"]), int(values["height"])
        for line in conf.read_text().splitlines():
            if line.startswith("pixels = "):
                name = line.split(" = ", 1)[1]
                raw = (suite / name).read_bytes()
                if len(raw) == width * height * 4:
                    write_ref(f"corpora/gif/gif-test-suite/{name}",
                              Image.frombytes("RGBA", (width, height), raw))


main()
