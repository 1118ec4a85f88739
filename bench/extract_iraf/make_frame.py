# A dark-subtracted long-slit frame: curved trace, Gaussian profile, a sloped
# sky with emission lines, read noise. Written as BITPIX -32 with DISPAXIS 1.
import sys
import numpy as np
from astropy.io import fits

path, width, height = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
rng = np.random.default_rng(11)
x = np.arange(width, dtype=np.float64)
y = np.arange(height, dtype=np.float64)[:, None]
t = x / (width - 1)
centre = height / 2 - 2.0 + 6.0 * t - 4.0 * t * t
sigma = 1.8
continuum = 5000.0 * (1.0 + 0.3 * np.sin(x / 57.0))
for line, depth, w in ((0.3, 0.6, 3.0), (0.62, 0.4, 2.0), (0.9, 0.5, 4.0)):
    continuum *= 1.0 - depth * np.exp(-0.5 * ((x - line * width) / w) ** 2)
sky = 15.0 + 0.04 * (y - height / 2)
for line, peak in ((0.2, 600.0), (0.45, 250.0), (0.7, 900.0)):
    sky = sky + peak * np.exp(-0.5 * ((x - line * width) / 1.6) ** 2)
profile = np.exp(-0.5 * ((y - centre) / sigma) ** 2) / (sigma * np.sqrt(2 * np.pi))
data = continuum * profile + sky + rng.normal(0.0, 3.0, (height, width))
hdu = fits.PrimaryHDU(data.astype(np.float32))
hdu.header['DISPAXIS'] = 1
hdu.writeto(path, overwrite=True)
print(f"{centre[0]:.3f} {centre[width // 2]:.3f} {centre[-1]:.3f}")
