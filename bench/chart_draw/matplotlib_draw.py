# matplotlib's side of the chart drawing benchmark: the same spectrum, axes
# with ticks and labels, a 2-pixel black line, drawn by the Agg backend into
# a 1600 x 1200 canvas. Prints the best time in ms. Mode "matched" draws as
# our chart does: the line aliased and every point joined (no path
# simplification); mode "default" keeps matplotlib's own settings.
import sys
import time

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
import numpy as np  # noqa: E402

data = np.loadtxt(sys.argv[1] if len(sys.argv) > 1 else "spectrum.txt")
runs = int(sys.argv[2]) if len(sys.argv) > 2 else 15
png = sys.argv[3] if len(sys.argv) > 3 and sys.argv[3] else None
matched = len(sys.argv) > 4 and sys.argv[4] == "matched"
if matched:
    matplotlib.rcParams["path.simplify"] = False
fig = plt.figure(figsize=(16, 12), dpi=100)
ax = fig.add_axes([0.087, 0.089, 0.8, 0.711])
ax.plot(data[:, 0], data[:, 1], color="black", linewidth=1.44, antialiased=not matched)
ax.tick_params(labelsize=17)
best = float("inf")
for r in range(runs + 1):
    t0 = time.perf_counter()
    fig.canvas.draw()
    ms = (time.perf_counter() - t0) * 1000
    if r > 0:
        best = min(best, ms)
if png:
    fig.savefig(png, dpi=100)
print("%.3f" % best)
