#!/usr/bin/env python3
"""Reads the strip's picture back from the X server: where its text ink is, and what it is.

  strip_ink.py crop X,Y,W,H OUT.npy [SECONDS]
      waits (up to SECONDS, default 30) until the text stands whole inside the rectangle
      and moves, then keeps its ink (the columns that differ from the background) in OUT.npy
  strip_ink.py empty X,Y,W,H
      exit 0 when the rectangle is one flat colour, and prints that colour
  strip_ink.py takeover X,Y,W,H LOG PATH SECONDS
      watches the strip ten times a second while a reload schedule runs: LOG gets one
      line "TIME PATH" per request the server answers (time.time()). Checks that the text
      served by the second request takes over only once the first text has left the strip,
      and prints what it saw.
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


def requests(log, path):
    with open(log) as f:
        return [float(line.split()[0]) for line in f if line.split()[1:] == [path]]


def takeover(rect, log, path, seconds):
    d = display.Display()
    width = rect[2]
    frames = []  # (time, left, right), or (time, None, None) with no ink
    deadline = time.time() + seconds
    new_at = None
    # Until the text is wider than any before the reload, and stands whole.
    while time.time() < deadline and not new_at:
        ink = ink_columns(grab(d, rect))
        frames.append((time.time(),) + (ink if ink else (None, None)))
        gets = requests(log, path)
        if len(gets) >= 2 and ink and 4 < ink[0] and ink[1] < width - 5:
            old = [f[2] - f[1] for f in frames if f[0] < gets[1] and f[1] is not None]
            if old and ink[1] - ink[0] > max(old) + 30:
                new_at = frames[-1]
        time.sleep(0.1)
    gets = requests(log, path)
    if len(gets) < 2:
        print("the page was not fetched a second time")
        return 1
    if not new_at:
        print("the changed text never appeared")
        return 1
    reload_at = gets[1]
    old = [f for f in frames if f[0] < reload_at and f[1] is not None]
    old_width = max(f[2] - f[1] for f in old)
    after = [f for f in frames if f[0] >= reload_at]
    # A pass starts where the ink's right end jumps back to the right.
    starts = [i for i in range(1, len(after)) if after[i][1] is not None and
              (after[i - 1][1] is None or after[i][2] > after[i - 1][2] + 20)]
    first_new = next(i for i, f in enumerate(after)
                     if f[1] is not None and f[2] - f[1] > old_width + 30)
    print(f"reload fetched {reload_at - gets[0]:.1f} s after the first fetch; the new text "
          f"stood whole {new_at[0] - reload_at:.1f} s later; {len(after)} frames since the "
          f"reload, the first new pass at frame {starts[0] if starts else None}, the new text "
          f"first at frame {first_new}")
    if not starts or starts[0] > first_new:
        print("FAIL: the new text came in the middle of a pass")
        return 1
    before = [f for f in after[:starts[0]] if f[1] is not None]
    if before and before[-1][2] > 80:
        print(f"FAIL: a new pass began with the old text still at columns "
              f"{before[-1][1]}..{before[-1][2]}")
        return 1
    if after[starts[0]][2] < width - 40:
        print("FAIL: the new pass did not come in from the right edge")
        return 1
    print(f"the old text was last seen at columns {before[-1][1] if before else '-'}.."
          f"{before[-1][2] if before else '-'}, then the new pass came in from the right")
    return 0


def main(argv):
    if argv[1] == "crop":
        return crop(parse_rect(argv[2]), argv[3], float(argv[4]) if len(argv) > 4 else 30)
    if argv[1] == "empty":
        return empty(parse_rect(argv[2]))
    if argv[1] == "takeover":
        return takeover(parse_rect(argv[2]), argv[3], argv[4], float(argv[5]))
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
