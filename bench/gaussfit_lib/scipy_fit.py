"""Best time of RUNS scipy.optimize.curve_fit calls on a file written by
bench_gaussfit_lib make; prints the time, then A B C D."""
import sys
import time

import numpy as np
from scipy.optimize import curve_fit


def model(x, a, b, c, d):
    return a * np.exp(-b * (x - c) ** 2) + d


def main():
    path, runs = sys.argv[1], int(sys.argv[2])
    with open(path) as f:
        init_b, _, init_c, _, a0, d0 = (float(v) for v in f.readline().split())
        pts = np.loadtxt(f, dtype=np.float64).astype(np.float32).astype(np.float64)
    x, y = pts[:, 0], pts[:, 1]
    best = float("inf")
    for _ in range(runs):
        t0 = time.perf_counter()
        popt, _ = curve_fit(model, x, y, p0=[a0, init_b, init_c, d0], maxfev=20000)
        best = min(best, time.perf_counter() - t0)
    print("%.6g %s" % (best, " ".join("%.10g" % v for v in popt)))


if __name__ == "__main__":
    main()
