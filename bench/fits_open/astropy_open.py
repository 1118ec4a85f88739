# astropy's open-and-convert of the same file: getdata, then float32 with
# the scaling applied. Prints "seconds peak_kib".
import resource
import sys
import time

import numpy as np
from astropy.io import fits

start = time.perf_counter()
data = fits.getdata(sys.argv[1])  # applies BZERO/BSCALE
image = np.asarray(data, dtype=np.float32)
seconds = time.perf_counter() - start
print("%.6f %d %g" % (seconds, resource.getrusage(resource.RUSAGE_SELF).ru_maxrss, image[2048, 2048]))
