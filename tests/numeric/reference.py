"""Independent references for the numeric tests (numpy / scipy).

usage: reference.py MODE INPUT OUTPUT
  polyfit ORDER  INPUT has lines "x y" (fit points) then "#" and lines "x"
                 (where to evaluate); writes the fitted curve, one value a line.
  fft SIGN       INPUT has lines "re im"; writes "re im" of the transform.
  gauss A B C D  INPUT has lines "x y"; writes "A B C D" then the standard
                 errors of the four parameters.
"""
import sys

import numpy as np


def read_pairs(lines):
    values = np.array([[float(v) for v in line.split()] for line in lines], dtype=np.float64)
    # The C++ side wrote Single values: read them back exactly.
    return values.astype(np.float32).astype(np.float64)


def main():
    mode, inp, out = sys.argv[1], sys.argv[-2], sys.argv[-1]
    with open(inp) as f:
        lines = [line for line in f.read().splitlines() if line.strip()]
    if mode == "polyfit":
        order = int(sys.argv[2])
        cut = lines.index("#")
        pts = read_pairs(lines[:cut])
        where = read_pairs(lines[cut + 1:])[:, 0]
        x, y = pts[:, 0], pts[:, 1]
        centre = 0.5 * (x.min() + x.max())
        scale = 0.5 * (x.max() - x.min())
        coef = np.polyfit((x - centre) / scale, y, order)
        curve = np.polyval(coef, (where - centre) / scale)
        np.savetxt(out, curve, fmt="%.17g")
    elif mode == "fft":
        sign = float(sys.argv[2])
        pts = read_pairs(lines)
        z = pts[:, 0] + 1j * pts[:, 1]
        n = len(z)
        # exp(+i·2π·jk/N) unscaled is N·ifft; exp(−i·2π·jk/N) / N is fft / N.
        result = n * np.fft.ifft(z) if sign > 0 else np.fft.fft(z) / n
        np.savetxt(out, np.column_stack([result.real, result.imag]), fmt="%.17g")
    elif mode == "gauss":
        from scipy.optimize import curve_fit

        p0 = [float(v) for v in sys.argv[2:6]]
        pts = read_pairs(lines)

        def model(x, a, b, c, d):
            return a * np.exp(-b * (x - c) ** 2) + d

        popt, pcov = curve_fit(model, pts[:, 0], pts[:, 1], p0=p0, maxfev=20000)
        with open(out, "w") as f:
            f.write(" ".join("%.17g" % v for v in popt) + "\n")
            f.write(" ".join("%.17g" % v for v in np.sqrt(np.diag(pcov))) + "\n")
    else:
        raise SystemExit("unknown mode " + mode)


if __name__ == "__main__":
    main()
