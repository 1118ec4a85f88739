# Reference for bench_gauss_fit: scipy's curve_fit of the same residual
# (continuum line through the two marks removed), best of RUNS, in ms, for
# the 6480 … 6520 window and for the whole spectrum, three ways:
#   default  p0 only (the finite-difference Jacobian, default tolerances)
#   matched  as ours: analytic Jacobian, tolerances 1e-12
#   fastest  analytic Jacobian, default tolerances
# Usage: scipy_fit.py LINE.txt RUNS
import sys, time
import numpy as np
from scipy.optimize import curve_fit

x, y = np.loadtxt(sys.argv[1], unpack=True)
runs = int(sys.argv[2])
cont = lambda t: 200.0 + 0.01 * (t - 6000.0)
model = lambda t, a, b, c, d: a * np.exp(-b * (t - c) ** 2) + d


def jacobian(t, a, b, c, d):
    dx = t - c
    e = np.exp(-b * dx * dx)
    return np.column_stack((e, -a * dx * dx * e, 2 * a * b * dx * e, np.ones_like(t)))


settings = {
    "default": {},
    "matched": {"jac": jacobian, "xtol": 1e-12, "ftol": 1e-12, "gtol": 1e-12},
    "fastest": {"jac": jacobian},
}
for name, lo, hi in (("window", 6480.0, 6520.0), ("whole", x[0], x[-1])):
    for how, extra in settings.items():
        best = 1e300
        for r in range(runs + 1):
            t0 = time.perf_counter()
            w = (x >= lo) & (x <= hi + 0.1)
            xw = x[w]
            r_ = y[w] - cont(xw)
            p, _ = curve_fit(model, xw, r_, p0=(r_.min(), 1 / 20.0 ** 2, xw[np.argmin(r_)], 0.0), **extra)
            if r > 0:
                best = min(best, (time.perf_counter() - t0) * 1000)
        print("%s %s %.3f" % (name, how, best))
        print("%s %s: fwhm %.2f centre %.2f" % (name, how, 2 * np.sqrt(np.log(2) / p[1]), p[2]), file=sys.stderr)
