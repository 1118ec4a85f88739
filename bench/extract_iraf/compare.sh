#!/bin/sh
# Sanity comparison of raylen-cli extract with IRAF's apall on one synthetic
# frame: same aperture (6 pixels), trace order (2, i.e. three Legendre
# terms), background rows (-20:-10, 10:20) and background order (linear).
# Usage: compare.sh RAYLEN_CLI [WORKDIR]; prints the agreement figures and
# exits 1 when the spectra differ by more than 3 % away from the edges.
# Installs nothing: the test run calls it with what scripts/test installed;
# run.sh installs the benchmark list first.
set -eu
cli=$1
work=${2:-$(mktemp -d)}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
cd "$work"
rm -rf database iraf.0001.fits ours.txt ours.prm

/usr/bin/python3 "$here/make_frame.py" frame.fits 1024 160 >/dev/null
"$cli" extract frame.fits --x 0:1023 --y 55:105 --width 6 --trace-order 2 \
    --sky -20:-10,10:20 --sky-order 1 -o ours.txt >/dev/null

# IRAF's command language reads its script from standard input; it needs a
# home folder for its login files and a user name.
HOME=$work USER=${USER:-raylen} TERM=dumb irafcl >apall.log 2>&1 <<'CL'
noao
twodspec
apextract
apextract.dispaxis = 1
apextract.verbose = no
apall input=frame.fits output=iraf format=onedspec nfind=1 interactive=no find=yes recenter=no resize=no edit=no trace=yes fittrace=no extract=yes extras=no review=no line=512 nsum=10 lower=-3. upper=3. b_function=legendre b_order=2 b_sample="-20:-10,10:20" b_naverage=1 b_niterate=0 width=5. radius=10. threshold=0. t_nsum=10 t_step=10 t_nlost=3 t_function=legendre t_order=3 t_niterate=0 background=fit weights=none pfit=fit1d clean=no nsubaps=1
logout
CL
if [ ! -f iraf.0001.fits ]; then
    echo "apall wrote no spectrum; see $work/apall.log" >&2
    exit 2
fi

/usr/bin/python3 - <<'PY'
import sys
import numpy as np
from astropy.io import fits
ours = np.loadtxt('ours.txt', delimiter=',')[:, 1]
iraf = fits.getdata('iraf.0001.fits').astype(np.float64).ravel()
inner = slice(20, len(ours) - 20)
ratio = ours[inner] / iraf[inner]
dev = np.abs(ratio - 1)
sky_columns = [int(f * 1024) for f in (0.2, 0.45, 0.7)]
sky_dev = max(abs(ours[c] / iraf[c] - 1) for c in sky_columns)
print(f"columns={len(ours)} compared={len(ratio)}")
print(f"median_ratio={np.median(ratio):.5f}")
print(f"max_dev={dev.max():.5f} p95_dev={np.percentile(dev, 95):.5f}")
print(f"sky_line_columns_max_dev={sky_dev:.5f}")
# The two sum the aperture's edges differently (joined pixel values against
# fractions of pixels), a near-constant factor; the shape agrees closer.
shape = np.abs(ratio / np.median(ratio) - 1)
print(f"shape_max_dev={shape.max():.5f} shape_p95_dev={np.percentile(shape, 95):.5f}")
sys.exit(0 if dev.max() < 0.03 else 1)
PY
