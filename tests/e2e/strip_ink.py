#!/usr/bin/env python3
"""Reads the strip's picture back from the X server: where its text ink is, and what it is.

  strip_ink.py crop X,Y,W,H OUT.npy SECONDS
      waits (up to SECONDS) until the text stands whole inside the rectangle
      and moves, then keeps its ink (the columns that differ from the background) in OUT.npy
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


def parse_rect(text):
    return tuple(int(v) for v in text.split(","))


def crop(rect, out, seconds):
    d = display.Display()
    deadline = time.time() + seconds
    # The strip's frame clips the text a few pixels inside the window's edge, so a text
    # still coming in can look whole: take it only once two grabs in a row show the same
    # width of ink, away from both edges, and in another place: a text that scrolls.
    last = None
    while time.time() < deadline:
        picture = grab(d, rect)
        ink = ink_columns(picture)
        if ink and ink[0] > 4 and ink[1] < rect[2] - 5:
            if last and ink[1] - ink[0] == last[1] - last[0] and ink[0] != last[0]:
                numpy.save(out, picture[:, ink[0]:ink[1] + 1])
                print(f"text ink at columns {ink[0]}..{ink[1]} of {rect[2]}, moving")
                return 0
            last = ink
        else:
            last = None
        time.sleep(0.1)
    print("the text never stood whole and moving inside the strip")
    return 1


def empty(rect):
    colours = numpy.unique(grab(display.Display(), rect).reshape(-1, 3), axis=0)
    print(" ".join(colours[0].astype(str)) if len(colours) == 1 else "")
    return 0 if len(colours) == 1 else 1


def main(argv):
    rect = parse_rect(argv[2])
    return crop(rect, argv[3], float(argv[4])) if argv[1] == "crop" else empty(rect)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
