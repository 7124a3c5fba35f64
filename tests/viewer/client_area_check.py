#!/usr/bin/env python3
"""Compares the viewer's client area in a screenshot with the picture it shows.

The end-to-end scenarios viewer.actual and viewer.scroll show a picture at
100%, report the client area's place on the screen ("left top width height",
followed by "x y" when the client area shows the picture from (x, y) on, as
when it is scrolled) and have the screen saved (xwd, then netpbm's
pnmtopng). This check cuts the client area out of the screenshot and
compares it, pixel for pixel, with that part of the picture as netpbm itself
reads it.

Usage: client_area_check.py REPORT SCREENSHOT PICTURE
PICTURE: a netpbm file, or a Windows bitmap (.bmp), with maxval 255.
"""
import os
import subprocess
import sys


def run(command, data=None):
    return subprocess.run(command, input=data, stdout=subprocess.PIPE, check=True).stdout


def read_ppm(data):
    """(width, height, bytes of RGB triples) of a raw PPM with maxval 255."""
    fields = []
    position = 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position) + 1
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    position += 1  # the single white space after maxval
    if fields[0] != b"P6" or int(fields[3]) != 255:
        sys.exit("expected a raw PPM of maxval 255, got %s maxval %s" % (fields[0], fields[3]))
    width, height = int(fields[1]), int(fields[2])
    return width, height, data[position:position + 3 * width * height]


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    report, screenshot, picture = sys.argv[1:]
    numbers = [int(v) for v in open(report).read().split()]
    left, top, width, height = numbers[:4]
    shown_x, shown_y = numbers[4:6] if len(numbers) >= 6 else (0, 0)
    screen = run(["pngtopnm", screenshot])
    area = read_ppm(run(["ppmtoppm"], run(["pamcut", "-left", str(left), "-top", str(top),
                                            "-width", str(width), "-height", str(height)],
                                           screen)))
    if picture.lower().endswith(".bmp"):
        source = run(["bmptoppm", picture])
    else:
        source = open(picture, "rb").read()
    picture_ppm = run(["ppmtoppm"], source)
    if (shown_x, shown_y) != (0, 0):
        picture_ppm = run(["pamcut", "-left", str(shown_x), "-top", str(shown_y),
                           "-width", str(width), "-height", str(height)], picture_ppm)
    expected = read_ppm(picture_ppm)
    if area[:2] != expected[:2]:
        sys.exit("client area %dx%d, picture %dx%d" % (area[0], area[1], expected[0], expected[1]))
    different = [i // 3 for i in range(0, len(area[2]), 3) if area[2][i:i + 3] != expected[2][i:i + 3]]
    if different:
        first = different[0]
        sys.exit("%d of %d pixels differ; the first at (%d, %d): screen %s, picture %s" % (
            len(different), width * height, first % width, first // width,
            area[2][3 * first:3 * first + 3].hex(), expected[2][3 * first:3 * first + 3].hex()))
    print("client area at (%d, %d): %dx%d pixels equal the picture %s from (%d, %d)" % (
        left, top, width, height, os.path.basename(picture), shown_x, shown_y))


if __name__ == "__main__":
    main()
