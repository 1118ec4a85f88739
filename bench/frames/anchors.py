"""The anchors for bench_frames, on the files it wrote: astroscrappy on the
4096 x 4096 frame and ccdproc's combine on the ten 2048 x 2048 frames, each
configured as ours, with its defaults, and in its fastest setting a user
would pick for the same picture. Prints "name seconds" lines, best of RUNS."""
import sys
import time
import warnings

import numpy as np
import astroscrappy
import ccdproc
from astropy.io import fits
from astropy.stats import mad_std

warnings.simplefilter('ignore')
data, runs = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 1
files = ['%s/combine%d.fit' % (data, f) for f in range(10)]


def best(work, n=runs):
    fastest = 1e30
    for _ in range(n):
        start = time.perf_counter()
        work()
        fastest = min(fastest, time.perf_counter() - start)
    return fastest


def scrappy(**options):
    frame = fits.getdata(data + '/clean_in.fit')
    astroscrappy.detect_cosmics(frame, **options)


ours = dict(sigclip=4.5, objlim=5.0, gain=2.0, readnoise=5.0, satlevel=1e30, niter=4, sepmed=False,
            cleantype='medmask')
print('astroscrappy_ours %.4f' % best(lambda: scrappy(**ours), 1))
print('astroscrappy_defaults %.4f' % best(lambda: scrappy(), 1))
print('astroscrappy_fastest %.4f' % best(lambda: scrappy(**dict(ours, sepmed=True)), 1))

clip = dict(sigma_clip=True, sigma_clip_low_thresh=3, sigma_clip_high_thresh=3)
print('ccdproc_median_ours %.4f' % best(lambda: ccdproc.combine(files, method='median', unit='adu', dtype=np.float64)))
print('ccdproc_median_defaults %.4f' % best(lambda: ccdproc.combine(files, method='median', unit='adu')))
print('ccdproc_median_fastest %.4f' % best(lambda: ccdproc.combine(files, method='median', unit='adu',
                                                                     dtype=np.float32)))
print('ccdproc_clipmean_ours %.4f' % best(lambda: ccdproc.combine(
    files, method='average', unit='adu', dtype=np.float64, sigma_clip_func=np.ma.median,
    sigma_clip_dev_func=mad_std, **clip)))
print('ccdproc_clipmean_defaults %.4f' % best(lambda: ccdproc.combine(files, method='average', unit='adu', **clip)))
print('ccdproc_clipmean_fastest %.4f' % best(lambda: ccdproc.combine(
    files, method='average', unit='adu', dtype=np.float32, sigma_clip_func='median', sigma_clip_dev_func='mad_std',
    **clip)))
