#!/usr/bin/env python3
"""Reads the strip's picture back from the X server: where its text ink is, and what it is.

  strip_ink.py crop X,Y,W,H OUT.npy
      exit 0 when the text stands whole inside the rectangle and moves, and keeps its ink
      (the columns that differ from the background) in OUT.npy
  strip_ink.py empty X,Y,W,H
      exit 0 when the rectangle is one flat colour, and prints that colour
"""
import sys
import time

import numpy
from Xlib import X, display


def grab(d, rect):
    x, y, w, h = rect
    raw = d.screen().root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF).data
    return numpy.frombuffer(raw, dtype=numpy.uint8).reshape(h, w, 4)[:, :, :3]


def ink_columns(picture):
    flat = picture.reshape(-1, 3)
    colours, counts = numpy.unique(flat, axis=0, return_counts=True)
    background = colours[counts.argmax()]
    cols = numpy.nonzero((picture != background).any(axis=2).any(axis=0))[0]
    return (int(cols[0]), int(cols[-1])) if len(cols) else None


def whole(ink, width):
    return ink and ink[0] > 4 and ink[1] < width - 5


def crop(rect, out):
    # The strip's frame clips the text a few pixels inside the window's edge, so a text
    # still coming in can look whole: take it only when two grabs a moment apart show the
    # same width of ink, away from both edges, and in another place: a text that scrolls.
    d = display.Display()
    before = ink_columns(grab(d, rect))
    time.sleep(0.1)
    picture = grab(d, rect)
    ink = ink_columns(picture)
    if not (whole(before, rect[2]) and whole(ink, rect[2])):
        return 1
    if ink[1] - ink[0] != before[1] - before[0] or ink[0] == before[0]:
        return 1
    numpy.save(out, picture[:, ink[0]:ink[1] + 1])
    return 0


def empty(rect):
    colours = numpy.unique(grab(display.Display(), rect).reshape(-1, 3), axis=0)
    print(" ".join(colours[0].astype(str)) if len(colours) == 1 else "")
    return 0 if len(colours) == 1 else 1


def main(argv):
    rect = tuple(int(v) for v in argv[2].split(","))
    return crop(rect, argv[3]) if argv[1] == "crop" else empty(rect)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
