# The same work as bench_reduce_wave with numpy/scipy, best of N runs.
import sys, time
import numpy as np
from scipy.optimize import curve_fit

d = np.loadtxt(sys.argv[1], delimiter=',')
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
x, y = d[:, 0].astype(np.float32), d[:, 1].astype(np.float32)

def best(f):
    t = 1e30
    for _ in range(runs):
        s = time.perf_counter(); f(); t = min(t, time.perf_counter() - s)
    return t

print("dispcor %.6f" % best(lambda: np.polyval([1e-7, 0.12, 4000.0], x.astype(np.float64)).astype(np.float32)))
sx = 3990.0 + 100.0 * np.arange(41); sy = 1.0 + 0.01 * np.arange(41)
def flux():
    s = np.interp(x, sx, sy); return np.where(s != 0, y / s, y).astype(np.float32)
print("fluxcal %.6f" % best(flux))
idx = np.nonzero(np.abs(x - 6563.0) > 30.0)[0]
def norm():
    xs = x[idx].astype(np.float64); mid = (xs.max() + xs.min()) / 2; half = (xs.max() - xs.min()) / 2
    p = np.polyfit((xs - mid) / half, y[idx], 5)
    return (y / np.polyval(p, (x - mid) / half)).astype(np.float32)
print("normalize %.6f" % best(norm))
def fft():
    n = 1 << int(np.floor(np.log2(len(y) - 1)))
    a = np.abs(np.fft.fft(y[:n].astype(np.float64)))[:n // 2]
    df = 1.0 / (np.mean(np.diff(x)[1:n // 2]) * n)
    return np.arange(n // 2) * df, a
print("fft %.6f" % best(fft))
p = np.arange(len(y), dtype=np.float64)
lamp = 10.0 + 1000.0 * np.exp(-0.5 * ((p - 16000.3) / 1.5) ** 2)
def g():
    i = int(np.searchsorted(p, 16001.0)); w = slice(i - 4, i + 5)
    return curve_fit(lambda t, a, b, c, d: a * np.exp(-b * (t - c) ** 2) + d, p[w], lamp[w], p0=[1000, 0.2, p[i], 10])
print("key_g %.6f" % best(g))
