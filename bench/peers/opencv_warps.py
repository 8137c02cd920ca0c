#!/usr/bin/python3
"""OpenCV beside bench_catalogue's warps, blurs and halftones, on the same 2000 x 1500 photo.

Each warp is timed twice: with its map precomputed (as ../shared/bench does) and with the map
computed inside the timing from the same formula our filter uses, as our filters do.
    PEERBENCH_DIR=/tmp/peerbench /usr/bin/python3 bench/peers/opencv_warps.py [--cpu] [threads ...]
Prints medians in ms (at least 7 runs and 1 s per row); with --cpu also the median process CPU
time after the name, which a loaded machine disturbs less than the wall time.
"""
import math
import os
import sys
import time

import cv2
import numpy as np

DATA = os.path.join(os.environ.get("PEERBENCH_DIR", "/tmp/peerbench"), "data")


def median_ms(fn):
    """Median wall and process CPU milliseconds of fn."""
    fn()
    fn()
    times, cpu, start = [], [], time.perf_counter()
    while len(times) < 61:
        t0, c0 = time.perf_counter(), time.process_time()
        fn()
        times.append((time.perf_counter() - t0) * 1e3)
        cpu.append((time.process_time() - c0) * 1e3)
        if len(times) >= 7 and time.perf_counter() - start > 1.0:
            break
    times.sort()
    cpu.sort()
    return times[len(times) // 2], cpu[len(cpu) // 2]


def main():
    bgra = cv2.imread(os.path.join(DATA, "photo_2000x1500_rgba.png"), cv2.IMREAD_UNCHANGED)
    h, w = bgra.shape[:2]
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
    cx, cy, rad = w / 2.0, h / 2.0, min(w, h) / 2.0

    def bump_maps():
        # Our bump: f = 1 - scale * smoothstep(1 - r / R) inside the disc, scale 0.5.
        dx, dy = xx - cx, yy - cy
        r = np.sqrt(dx * dx + dy * dy)
        t = np.clip(1.0 - r / rad, 0.0, 1.0)
        f = np.where(r < rad, 1.0 - 0.5 * t * t * (3.0 - 2.0 * t), 1.0).astype(np.float32)
        return cx + dx * f, cy + dy * f

    def twirl_maps():
        dx, dy = xx - cx, yy - cy
        r = np.sqrt(dx * dx + dy * dy)
        theta = np.where(r < rad, math.pi * (1.0 - r / rad), 0.0).astype(np.float32)
        c, s = np.cos(theta), np.sin(theta)
        return cx + dx * c + dy * s, cy - dx * s + dy * c

    bump = bump_maps()
    twirl = twirl_maps()
    # The 45 degree turn onto its grown canvas, and the shatter's shear.
    cw = ch = 2476
    rot = cv2.getRotationMatrix2D((w / 2.0, h / 2.0), 45.0, 1.0)
    rot[0, 2] += cw / 2.0 - w / 2.0
    rot[1, 2] += ch / 2.0 - h / 2.0
    shear = np.array([[1, 0.2, 0], [0.3, 1, 0]], np.float32)
    quad_from = np.float32([[0, 0], [w, 0], [w, h], [0, h]])
    quad_to = np.float32([[100, 0], [w - 100, 50], [w, h], [0, h - 80]])
    persp = cv2.getPerspectiveTransform(quad_from, quad_to)
    ops = [
        ("copy", lambda: bgra.copy()),
        ("remap bilinear, bump maps precomputed", lambda: cv2.remap(bgra, bump[0], bump[1], cv2.INTER_LINEAR)),
        ("remap bilinear, bump maps computed in the timing",
         lambda: cv2.remap(bgra, *bump_maps(), cv2.INTER_LINEAR)),
        ("remap bilinear, twirl maps precomputed", lambda: cv2.remap(bgra, twirl[0], twirl[1], cv2.INTER_LINEAR)),
        ("remap bilinear, twirl maps computed in the timing",
         lambda: cv2.remap(bgra, *twirl_maps(), cv2.INTER_LINEAR)),
        ("warpAffine bilinear 45 deg, 2476 x 2476",
         lambda: cv2.warpAffine(bgra, rot, (cw, ch), flags=cv2.INTER_LINEAR, borderMode=cv2.BORDER_CONSTANT)),
        ("warpAffine bilinear shear, 2300 x 2100",
         lambda: cv2.warpAffine(bgra, shear, (2300, 2100), flags=cv2.INTER_LINEAR, borderMode=cv2.BORDER_CONSTANT)),
        ("warpPerspective bilinear",
         lambda: cv2.warpPerspective(bgra, persp, (w, h), flags=cv2.INTER_LINEAR, borderMode=cv2.BORDER_CONSTANT)),
        ("GaussianBlur sigma 3", lambda: cv2.GaussianBlur(bgra, (0, 0), 3.0)),
        ("block average 8 x 8 (resize INTER_AREA, then back INTER_NEAREST)",
         lambda: cv2.resize(cv2.resize(bgra, (w // 8, h // 8), interpolation=cv2.INTER_AREA), (w, h),
                            interpolation=cv2.INTER_NEAREST)),
    ]
    args = sys.argv[1:]
    show_cpu = "--cpu" in args
    for n in [int(a) for a in args if a != "--cpu"] or [1, 2]:
        cv2.setNumThreads(n)
        for name, fn in ops:
            wall, cpu = median_ms(fn)
            extra = "\t%.2f cpu" % cpu if show_cpu else ""
            print("%d\t%.2f\t%s%s" % (n, wall, name, extra), flush=True)


if __name__ == "__main__":
    main()
