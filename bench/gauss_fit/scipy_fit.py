# Reference for bench_gauss_fit: scipy's curve_fit of the same residual
# (continuum line through the two marks removed), best of RUNS, in ms, for
# the 6480 … 6520 window and for the whole spectrum.
# Usage: scipy_fit.py LINE.txt RUNS
import sys, time
import numpy as np
from scipy.optimize import curve_fit

x, y = np.loadtxt(sys.argv[1], unpack=True)
runs = int(sys.argv[2])
cont = lambda t: 200.0 + 0.01 * (t - 6000.0)
model = lambda t, a, b, c, d: a * np.exp(-b * (t - c) ** 2) + d
for name, lo, hi in (("window", 6480.0, 6520.0), ("whole", x[0], x[-1])):
    best = 1e300
    for r in range(runs + 1):
        t0 = time.perf_counter()
        w = (x >= lo) & (x <= hi + 0.1)
        xw = x[w]
        r_ = y[w] - cont(xw)
        p, _ = curve_fit(model, xw, r_, p0=(r_.min(), 1 / 20.0 ** 2, xw[np.argmin(r_)], 0.0))
        if r > 0:
            best = min(best, (time.perf_counter() - t0) * 1000)
    print("%s %.3f" % (name, best))
    print("%s: fwhm %.2f centre %.2f" % (name, 2 * np.sqrt(np.log(2) / p[1]), p[2]), file=sys.stderr)
