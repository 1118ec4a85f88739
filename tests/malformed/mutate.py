# Deterministic mutations of valid inputs. Each function takes the seed's
# bytes and a random.Random, and returns the mutated bytes and a short
# description of what was done (printed when a case fails).
import math
import struct

from seeds import BLOCK, CARD, PRM_FIELDS, PRM_FORMAT

# Values for header cards: edges of every integer width, sizes whose
# product wraps, reals beyond range, text where numbers belong.
CARD_NUMBERS = [
    "0", "-1", "1", "2", "3", "7", "8", "16", "-32", "64", "-64", "999", "1000",
    "32767", "32768", "-32769", "65536", "2147483647", "2147483648", "-2147483649",
    "4294967296", "4294967297", "1099511627776", "1000000000000000", "1000000000000001",
    "9223372036854775807", "9223372036854775808", "18446744073709551617",
    "99999999999999999999", "1.5", "-0.0", "1E15", "1E38", "-1E38", "1E300", "-1E300",
    "1E309", "1E-320", "NAN", "INF", "-INF", "1D2", "12\x0034", "\x00", "T", "''",
    "'abc'", "0x10", "", "1 2", "+", "5/", "'12'",
]
TFORMS = [
    "'99999999999999999999E'", "'9223372036854775807E'", "'18446744073709551616E'",
    "'1000001E'", "'1000000D'", "'0E'", "'E'", "'2E'", "'-1E'", "'E5'", "'1PE(10)'",
    "'Q'", "'P'", "'A'", "'X'", "'9999999X'", "'L'", "'C'", "'M'", "'K'", "''",
    "'1\x00E'", "'3'", "' E'", "'e'", "'1e'",
]
# Pairs for NAXIS1 and NAXIS2 whose product reaches or wraps past 2^64.
WRAPPING_SIZES = [
    ("4294967296", "4294967296"), ("1099511627776", "16777216"), ("14", "1317624576693539402"),
    ("1000000000000000", "18447"), ("4294967295", "4294967297"), ("2147483648", "8589934592"),
]
INSERTED_CARDS = [
    "ENDTIME = '20:15:00'", "ENDSCAN = 12", "END     = 1", "END1    ", "ENDX", "NAXIS3  = 100000",
    "BSCALE  = 1E38", "BZERO   = -1E300", "CDELT1  = 1E300", "CRVAL1  = NAN", "CRPIX1  = 1E308",
    "TFORM1  = '99999999999999999999E'", "TFIELDS = 999", "TFIELDS = 1000", "PCOUNT  = -1",
    "XTENSION= 'BINTABLE'", "CONTINUE  'x'", "SIMPLE  = F", "NAXIS   = 999", "\x00" * CARD,
    "\xff" * CARD, "BITPIX  = 12", "THEAP   = 99999999999",
]
KEYWORDS = ["END", "ENDTIME", "NAXIS", "NAXIS1", "NAXIS2", "NAXIS3", "BITPIX", "XTENSION", "TFORM1", "TTYPE3",
            "TFIELDS", "SIMPLE", "", "E\x00D", "naxis1"]

TEXT_NUMBERS = [
    "1e39", "-1e39", "3.4028236e38", "1e308", "1e309", "-1e400", "1e-400", "1e-46", "nan", "NaN", "inf",
    "-Infinity", "1.#INF", "0x1p3", "1D400", "1d-400", "", "1,2", ",", ",,", "1e", "e5", "--1", "+-1", ".",
    "1.2.3", "9" * 400, "0." + "0" * 400 + "1", "12\x0034", "\x00", "\uff11\uff12", "&H10", "1 2 3", "-0",
    "2147483648", "-32769", "1e15", "#", "'", "\t", "1E+", "4e3x",
]
INSERTED_LINES = ["", "#comment", "# unit erg", "\x00", "1,2,3", "abc", "1", ",", "\x1a", "1e39,1", "0,0", "\xef\xbb\xbf"]


def _rand_pos(rng, size):
    return rng.randrange(size) if size > 0 else 0


def truncate(data, rng):
    if not data:
        return data, "empty"
    choices = [_rand_pos(rng, len(data)), 0, len(data) - 1]
    # Block edges, where the reader switches from header to data.
    choices += [b for b in range(BLOCK, len(data), BLOCK)] + [b - 1 for b in range(BLOCK, len(data), BLOCK)]
    cut = rng.choice(choices)
    return data[:cut], "truncated to %d bytes" % cut


def bit_flips(data, rng):
    if not data:
        return data, "empty"
    out = bytearray(data)
    n = rng.randint(1, 8)
    where = []
    for _ in range(n):
        p = _rand_pos(rng, len(out))
        out[p] ^= 1 << rng.randrange(8)
        where.append(p)
    return bytes(out), "bits flipped at %s" % where


def nul_bytes(data, rng):
    out = bytearray(data)
    p = _rand_pos(rng, len(out) + 1)
    n = rng.choice([1, 1, 2, 8])
    out[p:p] = b"\0" * n
    return bytes(out), "%d NUL inserted at %d" % (n, p)


def append_garbage(data, rng):
    extra = rng.choice([b"\0" * BLOCK, b" " * BLOCK, bytes(rng.randrange(256) for _ in range(100)), data[:BLOCK]])
    return data + extra, "%d bytes appended" % len(extra)


# --- FITS -------------------------------------------------------------------

def _cards(data):
    """Offsets of every card of every header, up to and including END."""
    offsets = []
    pos = 0
    while pos + CARD <= len(data):
        header_start = pos
        found_end = False
        while pos + CARD <= len(data):
            offsets.append(pos)
            if data[pos:pos + CARD].rstrip(b" ") == b"END":
                found_end = True
                break
            pos += CARD
        if not found_end:
            break
        pos = header_start + (pos + CARD - header_start + BLOCK - 1) // BLOCK * BLOCK
        # Skip the data of this header by its declared size (only the
        # seeds' own simple layouts matter here).
        pos = _skip_data(data, header_start, pos)
    return offsets


def _value(data, start, key):
    for p in range(start, len(data) - CARD + 1, CARD):
        c = data[p:p + CARD]
        if c.rstrip(b" ") == b"END":
            break
        if c[:8].rstrip(b" ") == key and c[8:10] == b"= ":
            try:
                return int(c[10:].split(b"/")[0].strip())
            except ValueError:
                return None
    return None


def _skip_data(data, header_start, data_start):
    naxis = _value(data, header_start, b"NAXIS") or 0
    bitpix = _value(data, header_start, b"BITPIX") or 8
    count = 1 if naxis > 0 else 0
    for i in range(1, min(naxis, 999) + 1):
        count *= _value(data, header_start, b"NAXIS%d" % i) or 0
    size = max(count * abs(bitpix) // 8, 0)
    return data_start + (size + BLOCK - 1) // BLOCK * BLOCK


def _put_card(data, offset, text):
    raw = text.encode("latin-1")[:CARD].ljust(CARD, b" ")
    return data[:offset] + raw + data[offset + CARD:]


def _card_text(key, value):
    return key.ljust(8) + "= " + value.rjust(20)


def card_value(data, rng):
    cards = [o for o in _cards(data) if data[o + 8:o + 10] == b"= "]
    if not cards:
        return bit_flips(data, rng)
    o = rng.choice(cards)
    key = data[o:o + 8].decode("latin-1").rstrip()
    values = TFORMS if key.startswith("TFORM") else CARD_NUMBERS
    value = rng.choice(values)
    return _put_card(data, o, _card_text(key, value)), "%s = %r" % (key, value)


def wrapping_sizes(data, rng):
    # The last header's NAXIS1/NAXIS2 (the table when there is one).
    n1 = n2 = None
    for o in _cards(data):
        k = data[o:o + 8].rstrip(b" ")
        if k == b"NAXIS1":
            n1 = o
        elif k == b"NAXIS2":
            n2 = o
    if n1 is None or n2 is None:
        return card_value(data, rng)
    a, b = rng.choice(WRAPPING_SIZES)
    if rng.random() < 0.5:
        a, b = b, a
    data = _put_card(data, n1, _card_text("NAXIS1", a))
    data = _put_card(data, n2, _card_text("NAXIS2", b))
    return data, "NAXIS1 = %s, NAXIS2 = %s" % (a, b)


def insert_card(data, rng):
    ends = [o for o in _cards(data) if data[o:o + CARD].rstrip(b" ") == b"END"]
    if not ends:
        return nul_bytes(data, rng)
    o = rng.choice(ends)
    text = rng.choice(INSERTED_CARDS)
    # Before END, the END moving into the block's padding when there is room.
    raw = text.encode("latin-1")[:CARD].ljust(CARD, b" ")
    block_end = (o // BLOCK + 1) * BLOCK
    if data[block_end - CARD:block_end].strip(b" ") == b"" and block_end - CARD > o:
        data = data[:o] + raw + data[o:block_end - CARD] + data[block_end:]
    else:
        data = data[:o] + raw + data[o + CARD:]
    return data, "card %r before END" % text


def delete_card(data, rng):
    cards = _cards(data)
    if not cards:
        return truncate(data, rng)
    o = rng.choice(cards)
    block_end = (o // BLOCK + 1) * BLOCK
    removed = data[o:o + 8].decode("latin-1").rstrip()
    return data[:o] + data[o + CARD:block_end] + b" " * CARD + data[block_end:], "card %r deleted" % removed


def rename_card(data, rng):
    cards = _cards(data)
    if not cards:
        return truncate(data, rng)
    o = rng.choice(cards)
    key = rng.choice(KEYWORDS)
    old = data[o:o + 8].decode("latin-1").rstrip()
    raw = key.encode("latin-1").ljust(8, b" ")[:8]
    return data[:o] + raw + data[o + 8:], "keyword %r renamed %r" % (old, key)


def data_values(data, rng):
    # NaN, infinities and extremes in the data part.
    cards = _cards(data)
    start = ((cards[-1] // BLOCK) + 1) * BLOCK if cards else 0
    if start >= len(data):
        return append_garbage(data, rng)
    out = bytearray(data)
    special = [struct.pack(">f", math.nan), struct.pack(">f", math.inf), struct.pack(">f", -math.inf),
               b"\xff\xff\xff\xff", struct.pack(">d", math.nan), struct.pack(">f", 3.4e38), b"\x7f\x80\x00\x01"]
    where = []
    for _ in range(rng.randint(1, 4)):
        p = start + rng.randrange(len(data) - start)
        v = rng.choice(special)
        out[p:p + len(v)] = v
        where.append(p)
    return bytes(out[:len(data)]), "special values at %s" % where


FITS_MUTATIONS = [truncate, bit_flips, nul_bytes, append_garbage, card_value, card_value, card_value,
                  insert_card, insert_card, delete_card, rename_card, data_values]
TABLE_MUTATIONS = FITS_MUTATIONS + [wrapping_sizes, wrapping_sizes, card_value]


# --- parameter file ---------------------------------------------------------

INT16 = [-32768, -32767, -1, 0, 1, 2, 50, 51, 52, 32767]
INT32 = [-2147483648, -2147483647, -1000000000, -100000, -41, -1, 0, 1, 19, 20, 39, 40, 41, 100000, 2147483647]
REALS = [math.nan, math.inf, -math.inf, 1e308, -1e308, 1e10, -1e10, 0.0, -0.0, 5e-324, 1e5, -20.0, 1e-300]


def prm_fields(data, rng):
    if len(data) < struct.calcsize(PRM_FORMAT):
        return truncate(data, rng)
    values = list(struct.unpack(PRM_FORMAT, data[:struct.calcsize(PRM_FORMAT)]))
    changed = []
    for _ in range(rng.randint(1, 3)):
        i = rng.randrange(len(values))
        # Weight the region and the trace, where sizes come from.
        if rng.random() < 0.5:
            i = rng.choice([0, 1, 2, 3, 4, 5, 7, 8, 58, 59, 60, 61, 62, 63])
        name = PRM_FIELDS[i]
        if name.startswith("coef"):
            v = rng.choice(REALS)
        elif name in ("start_x", "end_x", "start_y", "end_y"):
            v = rng.choice(INT32)
        else:
            v = rng.choice(INT16)
        values[i] = v
        changed.append("%s=%r" % (name, v))
    return struct.pack(PRM_FORMAT, *values) + data[struct.calcsize(PRM_FORMAT):], ", ".join(changed)


PRM_MUTATIONS = [prm_fields, prm_fields, prm_fields, prm_fields, truncate, bit_flips, append_garbage]


# --- text files -------------------------------------------------------------

def _lines(data):
    return data.splitlines(keepends=True)


def replace_number(data, rng):
    lines = _lines(data)
    if not lines:
        return insert_line(data, rng)
    i = rng.randrange(len(lines))
    line = lines[i].decode("latin-1")
    body = line.rstrip("\r\n")
    ending = line[len(body):]
    tokens = body.replace(",", " ").split()
    new = rng.choice(TEXT_NUMBERS)
    if tokens:
        t = rng.randrange(len(tokens))
        start = body.find(tokens[t])
        body = body[:start] + new + body[start + len(tokens[t]):]
    else:
        body = new
    lines[i] = (body + ending).encode("utf-8")
    return b"".join(lines), "line %d number -> %r" % (i + 1, new)


def insert_line(data, rng):
    lines = _lines(data)
    i = rng.randrange(len(lines) + 1)
    new = rng.choice(INSERTED_LINES)
    lines.insert(i, new.encode("utf-8") + b"\r\n")
    return b"".join(lines), "line %r inserted at %d" % (new, i + 1)


def keep_lines(data, rng):
    lines = _lines(data)
    n = rng.choice([0, 1, 2, 3])
    return b"".join(lines[:n]), "only %d lines kept" % n


def repeat_lines(data, rng):
    lines = _lines(data)
    if not lines:
        return insert_line(data, rng)
    count = rng.choice([2, 100, 40000])
    i = rng.randrange(len(lines))
    lines[i:i + 1] = [lines[i]] * count
    return b"".join(lines), "line %d repeated %d times" % (i + 1, count)


def line_ends(data, rng):
    kind = rng.choice([b"\r", b"\n", b"\r\r\n", b"\n\r", b""])
    body = [l.rstrip(b"\r\n") for l in _lines(data)]
    return kind.join(body), "line ends %r" % kind


def equal_x(data, rng):
    lines = _lines(data)
    out = []
    for l in lines:
        fields = l.replace(b",", b" ").split()
        out.append(b"5 " + b" ".join(fields[1:]) + b"\r\n" if fields else l)
    return b"".join(out), "every first field 5"


def reverse_lines(data, rng):
    lines = [l.rstrip(b"\r\n") + b"\r\n" for l in _lines(data)]
    return b"".join(reversed(lines)), "lines reversed"


def encoding(data, rng):
    choice = rng.choice(["bom", "utf16"])
    if choice == "bom":
        return b"\xef\xbb\xbf" + data, "UTF-8 byte order mark"
    return data.decode("latin-1").encode("utf-16"), "UTF-16"


TEXT_MUTATIONS = [truncate, bit_flips, nul_bytes, replace_number, replace_number, replace_number, replace_number,
                  insert_line, insert_line, keep_lines, repeat_lines, line_ends, equal_x, reverse_lines, encoding]


def mutate(data, operations, rng):
    """One or two operations from the list, in order."""
    steps = []
    for _ in range(1 if rng.random() < 0.7 else 2):
        data, what = rng.choice(operations)(data, rng)
        steps.append(what)
    return data, "; ".join(steps)
