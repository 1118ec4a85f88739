"""The reference for bench_reject: the same fits and the same iterative
sigma rejection in numpy (fit, drop points below -low*sigma or above
+high*sigma of the points still in, refit; never below order + 1 points),
on the data bench_reject wrote. Prints "name seconds" lines, best of RUNS,
and the rejected counts against ours as a comment."""
import sys
import time

import numpy as np
from numpy.polynomial import polynomial as P

data, runs = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 5
WIDTH, HEIGHT, INNER, OUTER = 2048, 256, 12, 30


def best(work):
    fastest = 1e30
    for _ in range(runs):
        start = time.perf_counter()
        work()
        fastest = min(fastest, time.perf_counter() - start)
    return fastest


def reject_fit(x, y, order, low, high, passes):
    keep = np.ones(x.size, bool)
    coef = P.polyfit(x, y, order)
    for _ in range(passes):
        r = y - P.polyval(x, coef)
        sigma = np.sqrt(np.mean(r[keep] ** 2))
        bad = keep & (((low > 0) & (r < -low * sigma)) | ((high > 0) & (r > high * sigma)))
        removed = int(bad.sum())
        if removed == 0 or int(keep.sum()) - removed < order + 1:
            break
        keep &= ~bad
        coef = P.polyfit(x[keep], y[keep], order)
    return coef, ~keep


def load(name):
    return np.fromfile(f"{data}/{name}", dtype=np.float32).astype(np.float64)


x, y = load("spectrum_x.f32"), load("spectrum_y.f32")
print("cont_plain %.6f" % best(lambda: P.polyfit(x, y, 5)))
print("cont_reject %.6f" % best(lambda: reject_fit(x, y, 5, 3, 3, 5)))
counts = {"cont": int(reject_fit(x, y, 5, 3, 3, 5)[1].sum())}

centres = load("centres.f32")
columns = np.arange(WIDTH, dtype=np.float64)
print("trace_plain %.6f" % best(lambda: P.polyfit(columns, centres, 3)))
print("trace_reject %.6f" % best(lambda: reject_fit(columns, centres, 3, 3, 3, 5)))
counts["trace"] = int(reject_fit(columns, centres, 3, 3, 3, 5)[1].sum())

frame = load("frame.f32").reshape(HEIGHT, WIDTH)
trace = load("trace.f32")
offsets = np.concatenate([np.arange(-OUTER, -INNER + 1), np.arange(INNER, OUTER + 1)]).astype(np.float64)
rows = np.rint(trace).astype(int)[None, :] + offsets.astype(int)[:, None]
projection = np.linalg.pinv(P.polyvander(offsets, 1))


def sky_plain():
    values = frame[rows, np.arange(WIDTH)[None, :]]
    return projection @ values


def sky_reject():
    values = frame[rows, np.arange(WIDTH)[None, :]]
    return sum(int(reject_fit(offsets, values[:, c], 1, 4, 4, 5)[1].sum()) for c in range(WIDTH))


print("sky_plain %.6f" % best(sky_plain))
print("sky_reject %.6f" % best(sky_reject))
counts["sky"] = sky_reject()

ours = dict(line.split() for line in open(f"{data}/ours_counts.txt"))
print("# rejected points, ours / numpy: " + ", ".join(f"{k} {ours[k]}/{v}" for k, v in counts.items()))
