# Valid seed inputs of every kind, built in memory from the standard
# library only: a small frame with a spectrum along X, a comparison lamp
# with four lines, its wavelength table, a dispersion file, a sensitivity
# file, and the lamp as a text spectrum and as both one-dimensional FITS forms.
import math
import struct

BLOCK = 2880
CARD = 80

FRAME_WIDTH, FRAME_HEIGHT = 40, 20
TRACE_Y = 10.0
LAMP_POINTS = 64
LAMP_LINES = (10, 25, 40, 55)        # pixels of the lamp's lines
WAVE_START, WAVE_STEP = 4000.0, 2.0  # wavelength = start + step * pixel


def card(key, value=None, comment=None):
    if value is None:
        text = key
    else:
        if isinstance(value, bool):
            v = "T" if value else "F"
        elif isinstance(value, str):
            v = "'" + value.replace("'", "''").ljust(8) + "'"
        else:
            v = repr(value)
        text = key.ljust(8) + "= " + (v.rjust(20) if not v.startswith("'") else v)
        if comment:
            text += " / " + comment
    return text.ljust(CARD)[:CARD].encode("ascii")


def header(cards):
    data = b"".join(cards) + card("END")
    return data + b" " * (-len(data) % BLOCK)


def pad_data(data):
    return data + b"\0" * (-len(data) % BLOCK)


def frame_values():
    values = []
    for y in range(FRAME_HEIGHT):
        for x in range(FRAME_WIDTH):
            star = 800.0 * math.exp(-0.5 * ((y - TRACE_Y - 0.02 * x) / 1.5) ** 2)
            values.append(50.0 + 0.5 * x + star)
    return values


def fits_image_f32():
    cards = [card("SIMPLE", True), card("BITPIX", -32), card("NAXIS", 2), card("NAXIS1", FRAME_WIDTH),
             card("NAXIS2", FRAME_HEIGHT), card("OBJECT", "star"), card("EXPTIME", 300.0),
             card("DATE-OBS", "2026-12-08T20:15:00")]
    return header(cards) + pad_data(struct.pack(">%df" % (FRAME_WIDTH * FRAME_HEIGHT), *frame_values()))


def fits_image_i16():
    # Scaled integers and a header of two blocks.
    cards = [card("SIMPLE", True), card("BITPIX", 16), card("NAXIS", 2), card("NAXIS1", FRAME_WIDTH),
             card("NAXIS2", FRAME_HEIGHT), card("BSCALE", 0.5), card("BZERO", 100.0)]
    cards += [("HISTORY   step %d" % i).ljust(CARD).encode("ascii") for i in range(36)]
    raw = [int(round((v - 100.0) / 0.5)) for v in frame_values()]
    raw = [max(-32768, min(32767, r)) for r in raw]
    return header(cards) + pad_data(struct.pack(">%dh" % len(raw), *raw))


def lamp_values():
    values = []
    for i in range(1, LAMP_POINTS + 1):
        v = 10.0
        for p in LAMP_LINES:
            v += 1000.0 * math.exp(-0.5 * ((i - p) / 1.3) ** 2)
        values.append(v)
    return values


def wavelength(pixel):
    return WAVE_START + WAVE_STEP * pixel


def text_spectrum():
    return "".join("%d,%.6g\r\n" % (i + 1, v) for i, v in enumerate(lamp_values())).encode("ascii")


def wave_text_spectrum():
    return "".join("%.3f %.6g\r\n" % (wavelength(i + 1), v) for i, v in enumerate(lamp_values())).encode("ascii")


def fits_spectrum_image():
    cards = [card("SIMPLE", True), card("BITPIX", -32), card("NAXIS", 1), card("NAXIS1", LAMP_POINTS),
             card("CRVAL1", wavelength(1)), card("CDELT1", WAVE_STEP), card("CRPIX1", 1.0),
             card("CTYPE1", "WAVE"), card("CUNIT1", "Angstrom"), card("OBJECT", "lamp")]
    return header(cards) + pad_data(struct.pack(">%df" % LAMP_POINTS, *lamp_values()))


def fits_spectrum_table():
    # Uneven X; an extra column before FLUX so offsets matter.
    primary = [card("SIMPLE", True), card("BITPIX", 8), card("NAXIS", 0), card("EXTEND", True)]
    table = [card("XTENSION", "BINTABLE"), card("BITPIX", 8), card("NAXIS", 2), card("NAXIS1", 14),
             card("NAXIS2", LAMP_POINTS), card("PCOUNT", 0), card("GCOUNT", 1), card("TFIELDS", 3),
             card("TTYPE1", "WAVE"), card("TFORM1", "D"), card("TUNIT1", "Angstrom"),
             card("TTYPE2", "QUAL"), card("TFORM2", "I"), card("TTYPE3", "FLUX"), card("TFORM3", "E")]
    rows = b""
    for i, v in enumerate(lamp_values()):
        rows += struct.pack(">dhf", wavelength(i + 1) + 0.01 * (i % 3), 0, v)
    return header(primary) + header(table) + pad_data(rows)


def prm_record(width=6, order=2, sky=-1, s1=-8, e1=-5, sky_order=1, coef=(TRACE_Y, 0.02, 0.0),
               x1=0, x2=FRAME_WIDTH - 1, y1=0, y2=FRAME_HEIGHT - 1, s2=5, e2=8):
    coef = list(coef) + [0.0] * (51 - len(coef))
    return struct.pack("<7h51d4i2h", width, order, sky, s1, e1, sky_order, 0, *coef, x1, x2, y1, y2, s2, e2)


PRM_FORMAT = "<7h51d4i2h"
PRM_FIELDS = (["width", "order", "sky", "sky_start1", "sky_end1", "sky_order", "reserved"] +
              ["coef%d" % k for k in range(51)] +
              ["start_x", "end_x", "start_y", "end_y", "sky_start2", "sky_end2"])


def dip():
    return b"4000.0\r\n2.0\r\n1.0E-05\r\n"


def dat():
    names = ("Ar", "Ne", "He", "Hg")
    return "".join("%.3f  %s\r\n" % (wavelength(p), n) for p, n in zip(LAMP_LINES, names)).encode("ascii")


def sns():
    return b"3990,1.0\r\n4050,1.5\r\n4100,1.2\r\n4140,0.8\r\n"
