#!/usr/bin/env python3
"""Writes the bad-input corpus into the folder named by the first argument.

Every file is made here (Python's standard library and ImageMagick), none is downloaded.
Pictures and property lists that are broken in the ways real disks and real users break them:
cut short, empty, lying about their size, in unusual pixel formats, or not what their name says.
"""
import os
import plistlib
import shutil
import struct
import subprocess
import sys
import zlib

out = sys.argv[1]
shutil.rmtree(out, ignore_errors=True)
os.makedirs(out)


def path(name):
    return os.path.join(out, name)


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)


def read(name):
    with open(path(name), "rb") as f:
        return f.read()


def magick(*args):
    subprocess.run(["convert", *args], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def png(width, height, rows=b"", depth=8, colour=6, fix_crc=True):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    head = chunk(b"IHDR", ihdr)
    if not fix_crc:
        head = head[:-4] + b"\0\0\0\0"
    return b"\x89PNG\r\n\x1a\n" + head + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b"")


# A picture with distinct corners, so a wrong turn would show; the source of the cut copies.
scene = ["-size", "120x80", "xc:white", "-fill", "red", "-draw", "rectangle 0,0 59,39",
         "-fill", "blue", "-draw", "rectangle 60,40 119,79"]
magick(*scene, path("whole.png"))
magick(*scene, "-quality", "90", path("whole.jpg"))

# Cut short: inside the signature, after the header, inside the data, before the end chunk.
for name in ("whole.png", "whole.jpg"):
    data = read(name)
    stem, ext = os.path.splitext(name)
    for cut in (4, 30, 200, len(data) // 2, len(data) - 12):
        write(f"cut-{cut}-{stem}{ext}", data[:cut])

for name in ("empty.png", "empty.jpg", "empty.plist", "empty.tsv"):
    write(name, b"")

# Headers that promise more than any memory holds, or nothing at all.
write("declares-100000x100000.png", png(100000, 100000, b"\0" * 64))
write("declares-0x0.png", png(0, 0))
write("bad-header-crc.png", png(4, 4, b"\0" * 68, fix_crc=False))
write("signature-then-noise.png", b"\x89PNG\r\n\x1a\n" + bytes(range(256)) * 8)
jpeg = bytearray(read("whole.jpg"))
sof = jpeg.find(b"\xff\xc0")
if sof > 0:
    struct.pack_into(">HH", jpeg, sof + 5, 65000, 65000)
    write("declares-65000x65000.jpg", bytes(jpeg))

# Extreme but valid sizes and unusual pixel formats.
magick("-size", "1x1", "xc:#336699", path("one-pixel.png"))
magick("-size", "10000x10", "gradient:red-blue", path("wide-10000x10.png"))
magick("-size", "10x10000", "gradient:red-blue", path("tall-10x10000.png"))
magick(*scene, "-depth", "16", "PNG48:" + path("sixteen-bit.png"))
magick(*scene, "-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel", "-depth", "16",
       "PNG64:" + path("sixteen-bit-alpha.png"))
magick(*scene, "-colorspace", "Gray", "PNG8:" + path("grey.png"))
magick(*scene, "-type", "GrayscaleAlpha", path("grey-alpha.png"))
magick(*scene, "-colors", "4", "PNG8:" + path("palette.png"))
magick(*scene, "-monochrome", path("one-bit.png"))
magick(*scene, "-interlace", "PNG", path("interlaced.png"))
magick(*scene, "-colorspace", "CMYK", path("cmyk.jpg"))
magick(*scene, "-interlace", "Plane", path("progressive.jpg"))
magick(*scene, "-colorspace", "Gray", path("grey.jpg"))
magick(*scene, "GIF:" + path("gif-named.png"))
magick(*scene, "BMP:" + path("bmp-named.jpg"))
data = read("interlaced.png")
write("cut-interlaced.png", data[: len(data) * 2 // 3])
data = read("progressive.jpg")
write("cut-progressive.jpg", data[: len(data) // 2])

# Each of the eight EXIF orientations, one out of range, and an EXIF block cut short.
def with_orientation(value, claimed_extra=0):
    tiff = b"MM\0*\0\0\0\x08" + struct.pack(">HHHIHH", 1, 0x0112, 3, 1, value, 0) + b"\0\0\0\0"
    body = b"Exif\0\0" + tiff
    base = read("whole.jpg")
    return base[:2] + b"\xff\xe1" + struct.pack(">H", len(body) + 2 + claimed_extra) + body + base[2:]


for value in range(1, 10):
    write(f"orientation-{value}.jpg", with_orientation(value))
write("exif-longer-than-file.jpg", with_orientation(6, 60000))

# Not pictures at all.
write("text.png", b"this is a note, not a picture\n")
write("text.jpg", b"\xff\xd8 but then only words\n")
write("html.plist", b"<html><body>not a list</body></html>\n")
os.makedirs(path("photo.jpg"))
os.makedirs(path("folder.plist"))

# Property lists: wrong roots, wrong items, too deep, cut short.
write("dict.plist", plistlib.dumps({"frame": "frame01.jpg"}))
write("string-root.plist", plistlib.dumps("frame01.jpg"))
write("numbers.plist", plistlib.dumps([1, 2, 3]))
write("mixed.plist", plistlib.dumps(["frame01.jpg", 2, True]))
write("empty-array.plist", plistlib.dumps([]))
write("arrays-of-arrays.plist", plistlib.dumps([["frame01.jpg"], ["frame02.jpg"]]))
nested = "<array>" * 5000 + "</array>" * 5000
write("nested-5000.plist", ('<?xml version="1.0" encoding="UTF-8"?>\n<plist version="1.0">' + nested + "</plist>").encode())
deep = []
for _ in range(400):
    deep = [deep]
write("nested-binary.plist", plistlib.dumps(deep, fmt=plistlib.FMT_BINARY))
good_binary = plistlib.dumps(["frame%02d.jpg" % i for i in range(1, 12)], fmt=plistlib.FMT_BINARY)
write("binary.plist", good_binary)
for cut in (8, 20, len(good_binary) // 2, len(good_binary) - 10):
    write(f"cut-{cut}-binary.plist", good_binary[:cut])
good_xml = plistlib.dumps(["frame01.jpg", "frame02.jpg"])
write("cut-xml.plist", good_xml[: len(good_xml) // 2])
write("bplist-header-only.plist", b"bplist00")
write("invalid-utf8.plist", good_xml.replace(b"frame01", b"fr\xff\xfeme"))

# Artwork manifests with missing columns, a name leading outside, a bad size, or noise.
write("manifest-missing-columns.tsv", b"name\tsize\tgroup\nhome.png\t768x1024\n")
write("manifest-outside-name.tsv", b"../../home.png\t768x1024\tscreens\tpicture\tthe home\tdrawn\n")
write("manifest-bad-size.tsv", b"name\tsize\tgroup\tkind\tuse\tlooks\nhome.png\t-5xhuge\tscreens\tpicture\ta\tb\n")
write("manifest-noise.tsv", bytes(range(256)) * 4)

print(len(os.listdir(out)))
