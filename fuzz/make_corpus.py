# Writes the seed corpora of the fuzz targets (run with Debian's python3).
import os
import sys

import numpy as np
from astropy.io import fits

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")
for sub in ("fits", "text", "kind"):
    os.makedirs(os.path.join(root, sub), exist_ok=True)

rng = np.random.default_rng(3)
def save(name, data, **header):
    hdu = fits.PrimaryHDU(data)
    for k, v in header.items():
        hdu.header[k] = v
    path = os.path.join(root, "fits", name)
    hdu.writeto(path, overwrite=True)
    return path

save("u16.fit", rng.integers(0, 65535, (4, 6), dtype=np.uint16))
save("i32.fit", rng.integers(-1000, 1000, (3, 5)).astype(np.int32), BSCALE=0.5, BZERO=10.0)
save("f32.fit", rng.standard_normal((5, 3)).astype(np.float32))
save("u8.fit", rng.integers(0, 255, (2, 2), dtype=np.uint8))
save("f64.fit", rng.standard_normal((2, 2)))
with open(save("i16.fit", np.zeros((2, 2), np.int16)), "rb") as f:
    raw = f.read()
with open(os.path.join(root, "fits", "truncated.fit"), "wb") as f:
    f.write(raw[:2880 + 5])
with open(os.path.join(root, "fits", "no_padding.fit"), "wb") as f:
    f.write(raw[:2880 + 8])

texts = {
    "ascending.txt": b"6560,0.5\r\n6561,1\r\n6562,1.5E-15\r\n",
    "descending.txt": b"5 50\n4 40\n3 30\n",
    "mixed.txt": b"  1 , 2\r3\t4\n\n5,,\n",
    "odd.txt": b"1,2\r\n3\r\n",
    "exponent.txt": b"1D3 2e-40\n-0 7\n",
}
for name, data in texts.items():
    with open(os.path.join(root, "text", name), "wb") as f:
        f.write(data)
    with open(os.path.join(root, "kind", name), "wb") as f:
        f.write(data)
with open(os.path.join(root, "kind", "fits_head"), "wb") as f:
    f.write(raw[:160])
with open(os.path.join(root, "kind", "comment"), "wb") as f:
    f.write(b"# not a spectrum\n1 2\n")

# One-dimensional FITS spectra: the image form and binary tables.
spectra = os.path.join(root, "fits_spectrum")
os.makedirs(spectra, exist_ok=True)
flux = rng.standard_normal(8).astype(np.float32)
image = fits.PrimaryHDU(flux)
image.header["CRVAL1"] = 4000.0
image.header["CDELT1"] = 2.5
image.header["CRPIX1"] = 1.0
image.header["CTYPE1"] = "WAVE"
image.writeto(os.path.join(spectra, "image.fits"), overwrite=True)
scaled = fits.PrimaryHDU(np.arange(5, dtype=np.int16)[::-1].copy())
scaled.header["BSCALE"] = 0.5
scaled.header["BZERO"] = 3.0
scaled.header["CD1_1"] = -1.0
scaled.writeto(os.path.join(spectra, "image_i16_descending.fits"), overwrite=True)
wave = np.array([4000.0, 4001.0, 4003.5, 4010.0, 4011.0], np.float32)
def table(name, columns):
    hdus = fits.HDUList([fits.PrimaryHDU(), fits.BinTableHDU.from_columns(columns)])
    hdus.writeto(os.path.join(spectra, name), overwrite=True)
table("table.fits", [fits.Column("WAVE", "E", array=wave, unit="Angstrom"),
                     fits.Column("FLUX", "E", array=flux[:5])])
table("table_mixed.fits", [fits.Column("NOTE", "3A", array=np.array(["a", "bb", "ccc", "d", "e"])),
                           fits.Column("FLUX", "J", array=np.arange(5, dtype=np.int32)),
                           fits.Column("MASK", "12X", array=np.zeros((5, 12), bool)),
                           fits.Column("WAVE", "D", array=wave.astype(np.float64)[::-1]),
                           fits.Column("ERR", "2E", array=np.ones((5, 2), np.float32))])

# Parameter files: the 442-byte record.
import struct
prm = os.path.join(root, "prm")
os.makedirs(prm, exist_ok=True)
def record(width, order, sky, s1, e1, skyorder, coef, x1, x2, y1, y2, s2, e2):
    coef = list(coef) + [0.0] * (51 - len(coef))
    return struct.pack("<7h51d4i2h", width, order, sky, s1, e1, skyorder, 0, *coef, x1, x2, y1, y2, s2, e2)
with open(os.path.join(prm, "sky.prm"), "wb") as f:
    f.write(record(6, 2, -1, -5, -3, 1, [6.0, 0.01, -0.001], 0, 15, 0, 11, 3, 5))
with open(os.path.join(prm, "plain.prm"), "wb") as f:
    f.write(record(3, 0, 0, -2, -1, 0, [6.0], 2, 10, 0, 11, 1, 2))

# Dispersion files, wavelength tables, sensitivity files.
tables = {
    "dip": {"order2.dip": b"4000.123456789\r\n2.5\r\n-1.25E-05\r\n",
            "commas.dip": b"1,2,,3\n4D0 -0\n"},
    "dat": {"lines.dat": b"4046.563  Hg\r\n4358.328  Hg\r\n\r\n5460.735  Hg\n5769.598Hg\n",
            "odd.dat": b"  12345678901234\n-7e3\r1D2 x\n"},
    "sns": {"sens.sns": b"3900,1.0E-16\r\n4500,2.5E-16\r\n5500 3E-16\r\n7000\t1.5E-16\r\n",
            "single.sns": b"5000, 1\n"},
}
for sub, files in tables.items():
    os.makedirs(os.path.join(root, sub), exist_ok=True)
    for name, data in files.items():
        with open(os.path.join(root, sub, name), "wb") as f:
            f.write(data)
