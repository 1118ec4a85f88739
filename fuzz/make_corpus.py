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
