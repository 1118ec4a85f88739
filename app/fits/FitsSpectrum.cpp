#include "fits/FitsSpectrum.h"

#include "files/FileAccess.h"
#include "platform/BasicRuntime.h"
#include "platform/BasicError.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <optional>
#include <set>

using platform::trapErrors;

namespace raylen {

namespace {

const char* const notSpectrumMessage = "1次元FITSスペクトルではありません";
const char* const damagedMessage = "FITSファイルが壊れています";
const char* const unsupportedColumnMessage = "WAVE, FLUX列の形式はサポートしていません";
const char* const missingColumnMessage = "WAVE, FLUX列がありません";
// The extension (image form) or column (table form) of the uncertainty.
const char* const errorName = "ERR";
// Extensions searched for ERR after the primary image.
constexpr int maxExtensionsSearched = 16;

// --- writing cards --------------------------------------------------------

std::string padCard(std::string card)
{
    card.resize(cardLength, ' ');
    return card;
}

std::string keywordPart(const std::string& key)
{
    std::string k = key;
    k.resize(keywordField, ' ');
    return k + "= ";
}

// Fixed format: numbers and logicals right-justified to column 30.
std::string fixedCard(const std::string& key, const std::string& value, const std::string& comment = {})
{
    std::string v = value;
    if (v.size() < valueField)
        v.insert(0, valueField - v.size(), ' ');
    std::string card = keywordPart(key) + v;
    if (!comment.empty())
        card += " / " + comment;
    return padCard(card);
}

std::string intCard(const std::string& key, long long value, const std::string& comment = {})
{
    return fixedCard(key, std::to_string(value), comment);
}

// Shortest text that reads back to the same Double, always with a point or
// an exponent so that readers take it as a real.
std::string realText(double value)
{
    char buffer[40];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    for (char& c : text)
        if (c == 'e')
            c = 'E';
    if (text.find_first_of(".E") == std::string::npos)
        text += ".0";
    return text;
}

std::string realCard(const std::string& key, double value, const std::string& comment = {})
{
    return fixedCard(key, realText(value), comment);
}

// Strings start at column 11; at least eight characters inside the quotes.
std::string stringCard(const std::string& key, const std::string& value, const std::string& comment = {})
{
    std::string inner;
    for (char c : value)
        inner += c == '\'' ? std::string("''") : std::string(1, c);
    if (inner.size() < 8)
        inner.resize(8, ' ');
    std::string card = keywordPart(key) + "'" + inner + "'";
    if (!comment.empty())
        card += " / " + comment;
    return padCard(card);
}

std::string joinBlocks(std::vector<std::string> cards)
{
    cards.push_back(padCard("END"));
    std::string text;
    for (const std::string& c : cards)
        text += c;
    text.resize((text.size() + blockLength - 1) / blockLength * blockLength, ' ');
    return text;
}

void appendBigEndian(std::string& out, float value)
{
    uint32_t bits = std::bit_cast<uint32_t>(value);
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((bits >> shift) & 0xFF);
}

void padData(std::string& data)
{
    data.resize((data.size() + blockLength - 1) / blockLength * blockLength, '\0');
}

void writeAll(const std::string& file, const std::string& bytes)
{
    AtomicFileWriter writer(file);
    writer.write(bytes);
    writer.commit();
}

std::string mediumName(WavelengthMedium medium)
{
    return medium == WavelengthMedium::vacuum ? "WAVE" : "AWAV";
}

// The linear scale and units of a one-dimensional image, shared by the
// flux and the ERR extension so that each reads on its own.
void appendScaleCards(double start, double step, const SpectrumMeta& meta, std::vector<std::string>& cards)
{
    cards.push_back(realCard("CRVAL1", start, "X of the first pixel"));
    cards.push_back(realCard("CDELT1", step, "X step per pixel"));
    cards.push_back(realCard("CRPIX1", 1.0));
    if (meta.xIsWavelength) {
        cards.push_back(stringCard("CTYPE1", mediumName(meta.medium)));
        cards.push_back(stringCard("CUNIT1", "Angstrom"));
    }
    if (!meta.fluxUnit.empty())
        cards.push_back(stringCard("BUNIT", meta.fluxUnit));
}

void appendKeptCards(const SpectrumMeta& meta, std::vector<std::string>& cards)
{
    for (const std::string& card : meta.cards)
        cards.push_back(padCard(card));
}

std::string floatData(const std::vector<float>& values)
{
    std::string data;
    data.reserve(values.size() * sizeof(float));
    for (float v : values)
        appendBigEndian(data, v);
    padData(data);
    return data;
}

std::string imageFile(double start, double step, const Spectrum& spectrum)
{
    const bool withError = spectrum.hasUncertainty();
    const auto n = static_cast<long long>(spectrum.y.size());
    std::vector<std::string> cards = {
        fixedCard("SIMPLE", "T"), intCard("BITPIX", -32), intCard("NAXIS", 1), intCard("NAXIS1", n)};
    if (withError)
        cards.push_back(fixedCard("EXTEND", "T"));
    appendScaleCards(start, step, spectrum.meta, cards);
    appendKeptCards(spectrum.meta, cards);
    std::string bytes = joinBlocks(cards) + floatData(spectrum.y);
    if (withError) {
        std::vector<std::string> error = {stringCard("XTENSION", "IMAGE"), intCard("BITPIX", -32),
                                          intCard("NAXIS", 1),           intCard("NAXIS1", n),
                                          intCard("PCOUNT", 0),          intCard("GCOUNT", 1),
                                          stringCard("EXTNAME", errorName)};
        appendScaleCards(start, step, spectrum.meta, error);
        bytes += joinBlocks(error) + floatData(spectrum.sigma);
    }
    return bytes;
}

std::string tableFile(const Spectrum& spectrum)
{
    const SpectrumMeta& meta = spectrum.meta;
    const bool withError = spectrum.hasUncertainty();
    const int columns = withError ? 3 : 2;
    std::vector<std::string> primary = {fixedCard("SIMPLE", "T"), intCard("BITPIX", 8), intCard("NAXIS", 0),
                                        fixedCard("EXTEND", "T")};
    appendKeptCards(meta, primary);
    std::vector<std::string> table = {
        stringCard("XTENSION", "BINTABLE"), intCard("BITPIX", 8), intCard("NAXIS", 2),
        intCard("NAXIS1", columns * static_cast<long long>(sizeof(float))),
        intCard("NAXIS2", static_cast<long long>(spectrum.x.size())), intCard("PCOUNT", 0), intCard("GCOUNT", 1),
        intCard("TFIELDS", columns), stringCard("TTYPE1", "WAVE"), stringCard("TFORM1", "E")};
    if (meta.xIsWavelength) {
        table.push_back(stringCard("TUNIT1", "Angstrom"));
        table.push_back(stringCard("TCTYP1", mediumName(meta.medium)));
    }
    table.push_back(stringCard("TTYPE2", "FLUX"));
    table.push_back(stringCard("TFORM2", "E"));
    if (!meta.fluxUnit.empty())
        table.push_back(stringCard("TUNIT2", meta.fluxUnit));
    if (withError) {
        table.push_back(stringCard("TTYPE3", errorName));
        table.push_back(stringCard("TFORM3", "E"));
        if (!meta.fluxUnit.empty())
            table.push_back(stringCard("TUNIT3", meta.fluxUnit));
    }
    std::string data;
    data.reserve(spectrum.x.size() * static_cast<size_t>(columns) * sizeof(float));
    for (size_t i = 0; i < spectrum.x.size(); ++i) {
        appendBigEndian(data, spectrum.x[i]);
        appendBigEndian(data, spectrum.y[i]);
        if (withError)
            appendBigEndian(data, spectrum.sigma[i]);
    }
    padData(data);
    return joinBlocks(primary) + joinBlocks(table) + data;
}

// --- reading --------------------------------------------------------------

struct Hdu {
    std::map<std::string, std::string> values; // trimmed value text, strings unquoted
    std::vector<std::string> cards;            // the cards before END as they are
    size_t dataStart = 0;                      // byte offset of the data
};

// Parses the header starting at `offset`; nullopt when END is missing.
std::optional<Hdu> parseHeader(const LargeVector<char>& file, size_t offset)
{
    Hdu hdu;
    for (size_t pos = offset; pos + cardLength <= file.size(); pos += cardLength) {
        std::string card(file.data() + pos, cardLength);
        if (isEndCard(card)) {
            size_t end = pos + cardLength;
            hdu.dataStart = (end - offset + blockLength - 1) / blockLength * blockLength + offset;
            return hdu;
        }
        std::string key = cardKeyword(card);
        hdu.cards.push_back(card);
        if (cardHasValue(card) && !hdu.values.count(key))
            hdu.values[key] = cardValue(card);
    }
    return std::nullopt;
}

std::optional<double> number(const Hdu& hdu, const std::string& key)
{
    auto found = hdu.values.find(key);
    if (found == hdu.values.end())
        return std::nullopt;
    return cardNumber(found->second);
}

long long integer(const Hdu& hdu, const std::string& key, long long fallback = -1)
{
    auto v = number(hdu, key);
    if (!v || *v != std::floor(*v) || std::fabs(*v) > 1e15)
        return fallback;
    return static_cast<long long>(*v);
}

std::string upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

uint64_t readUnsigned(const char* p, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | static_cast<unsigned char>(p[i]);
    return value;
}

// One big-endian element of FITS type `code` (BITPIX or TFORM letter).
double element(const char* p, char code)
{
    switch (code) {
    case 'B': return static_cast<unsigned char>(p[0]);
    case 'I': return static_cast<int16_t>(readUnsigned(p, 2));
    case 'J': return static_cast<int32_t>(readUnsigned(p, 4));
    case 'K': return static_cast<double>(static_cast<int64_t>(readUnsigned(p, 8)));
    case 'E': return std::bit_cast<float>(static_cast<uint32_t>(readUnsigned(p, 4)));
    case 'D': return std::bit_cast<double>(readUnsigned(p, 8));
    default: return std::numeric_limits<double>::quiet_NaN();
    }
}

int elementSize(char code)
{
    switch (code) {
    case 'B': return 1;
    case 'I': return 2;
    case 'J': case 'E': return 4;
    case 'K': case 'D': return 8;
    default: return 0;
    }
}

char codeOfBitpix(long long bitpix)
{
    switch (bitpix) {
    case 8: return 'B';
    case 16: return 'I';
    case 32: return 'J';
    case 64: return 'K';
    case -32: return 'E';
    case -64: return 'D';
    default: return 0;
    }
}


bool isImageSpectrum(const Hdu& primary)
{
    return integer(primary, "NAXIS") == 1 && integer(primary, "NAXIS1") > 0;
}

struct Column {
    size_t offset = 0;
    char code = 0;
};

struct TableLayout {
    long long rowBytes = 0, rows = 0;
    std::optional<Column> wave, flux, error;
};

// FITS allows at most this many columns and axes.
constexpr long long maxFitsFields = 999;

// a·b, or nothing when it passes 2^64.
std::optional<uint64_t> product(uint64_t a, uint64_t b)
{
    uint64_t result = 0;
    if (__builtin_mul_overflow(a, b, &result))
        return std::nullopt;
    return result;
}

// Bytes of one element of a column type (bits for X are counted by the
// caller); columns the reader cannot read are still skipped by their size.
int columnWidth(char code)
{
    switch (code) {
    case 'A': case 'L': case 'X': return 1;
    case 'C': case 'P': return 8;
    case 'M': case 'Q': return 16;
    default: return elementSize(code);
    }
}

// Column offsets of WAVE and FLUX; other columns are skipped by size. Empty
// when both were found, else the reason: not a binary table, a damaged
// description, or no WAVE or FLUX column.
std::string tableLayout(const Hdu& table, TableLayout& result)
{
    auto found = table.values.find("XTENSION");
    if (found == table.values.end() || upper(found->second) != "BINTABLE")
        return notSpectrumMessage;
    TableLayout layout;
    layout.rowBytes = integer(table, "NAXIS1");
    layout.rows = integer(table, "NAXIS2");
    long long fields = integer(table, "TFIELDS");
    if (layout.rowBytes < 0 || layout.rows < 0 || fields < 0 || fields > maxFitsFields)
        return damagedMessage;
    const auto rowBytes = static_cast<uint64_t>(layout.rowBytes);
    uint64_t offset = 0;
    for (long long i = 1; i <= fields; ++i) {
        std::string n = std::to_string(i);
        auto form = table.values.find("TFORM" + n);
        if (form == table.values.end())
            return damagedMessage;
        std::string f = upper(trimBlanks(form->second));
        size_t digits = 0;
        while (digits < f.size() && f[digits] >= '0' && f[digits] <= '9')
            ++digits;
        if (digits == f.size())
            return damagedMessage;
        uint64_t repeat = 1;
        if (digits > 0 && std::from_chars(f.data(), f.data() + digits, repeat).ec != std::errc())
            return damagedMessage; // a count beyond 2^64
        char code = f[digits];
        int width = columnWidth(code);
        if (width == 0)
            return damagedMessage;
        if (code == 'X')
            repeat = repeat / 8 + (repeat % 8 != 0 ? 1 : 0);
        // Every column must fit in the row.
        auto bytes = product(repeat, static_cast<uint64_t>(width));
        if (!bytes || *bytes > rowBytes - offset)
            return damagedMessage;
        auto type = table.values.find("TTYPE" + n);
        std::string name = type == table.values.end() ? std::string() : upper(trimBlanks(type->second));
        Column column{static_cast<size_t>(offset), repeat == 1 ? code : '?'};
        if (name == "WAVE" && !layout.wave)
            layout.wave = column;
        else if (name == "FLUX" && !layout.flux)
            layout.flux = column;
        else if (name == errorName && !layout.error)
            layout.error = column;
        offset += *bytes;
    }
    if (!layout.wave || !layout.flux)
        return missingColumnMessage;
    result = layout;
    return {};
}

// The header after this HDU's data (GCOUNT groups of PCOUNT + NAXIS1·…
// elements), or nothing when there is none or the sizes do not fit the file.
std::optional<Hdu> nextHdu(const LargeVector<char>& file, const Hdu& hdu)
{
    long long naxis = integer(hdu, "NAXIS", 0);
    long long bitpix = integer(hdu, "BITPIX", 8);
    long long pcount = integer(hdu, "PCOUNT", 0), gcount = integer(hdu, "GCOUNT", 1);
    if (naxis < 0 || naxis > maxFitsFields || pcount < 0 || gcount < 0)
        return std::nullopt;
    std::optional<uint64_t> count = naxis > 0 ? 1 : 0;
    for (long long i = 1; i <= naxis && count; ++i) {
        long long n = integer(hdu, "NAXIS" + std::to_string(i), 0);
        if (n < 0)
            return std::nullopt;
        count = product(*count, static_cast<uint64_t>(n));
    }
    if (count && naxis > 0 && !__builtin_add_overflow(*count, static_cast<uint64_t>(pcount), &*count))
        count = product(*count, static_cast<uint64_t>(gcount));
    std::optional<uint64_t> bytes;
    if (count)
        bytes = product(*count, static_cast<uint64_t>(std::llabs(bitpix) / 8));
    // The data must lie inside the file, with another header after them.
    if (!bytes || hdu.dataStart > file.size() || *bytes > file.size() - hdu.dataStart)
        return std::nullopt;
    uint64_t next = hdu.dataStart + (*bytes + blockLength - 1) / blockLength * blockLength;
    if (next >= file.size())
        return std::nullopt;
    return parseHeader(file, static_cast<size_t>(next));
}

std::optional<Hdu> firstExtension(const LargeVector<char>& file, const Hdu& primary)
{
    return nextHdu(file, primary);
}

// The reason a table cannot be read as a spectrum: after a primary that
// holds an image the file is simply not a spectrum.
std::string tableReason(const Hdu& primary, const std::string& reason)
{
    return reason.empty() || integer(primary, "NAXIS", 0) == 0 ? reason : std::string(notSpectrumMessage);
}

// True when `bytes` bytes from `start` lie inside the file.
bool inFile(const LargeVector<char>& file, size_t start, uint64_t bytes)
{
    return start <= file.size() && bytes <= file.size() - start;
}

// The NAXIS1 values of a one-dimensional image HDU, scaled by BSCALE/BZERO.
std::string readVector(const LargeVector<char>& file, const Hdu& hdu, std::vector<float>& values)
{
    char code = codeOfBitpix(integer(hdu, "BITPIX", 0));
    if (code == 0)
        return "sfOpenFits, データ型が分かりません";
    long long n = integer(hdu, "NAXIS1");
    int size = elementSize(code);
    auto bytes = product(static_cast<uint64_t>(n), static_cast<uint64_t>(size));
    if (n < 0 || !bytes || !inFile(file, hdu.dataStart, *bytes))
        return damagedMessage;
    double scale = number(hdu, "BSCALE").value_or(1.0), zero = number(hdu, "BZERO").value_or(0.0);
    std::vector<float> out(static_cast<size_t>(n));
    for (long long i = 0; i < n; ++i)
        out[static_cast<size_t>(i)] =
            static_cast<float>(element(file.data() + hdu.dataStart + i * size, code) * scale + zero);
    values.swap(out);
    return {};
}

std::string textValue(const Hdu& hdu, const std::string& key)
{
    auto found = hdu.values.find(key);
    return found == hdu.values.end() ? std::string() : trimBlanks(found->second);
}

// The ERR image among the extensions after the primary image; empty when
// there is none of the same length.
std::vector<float> errorExtension(const LargeVector<char>& file, const Hdu& primary, size_t n)
{
    std::optional<Hdu> hdu = nextHdu(file, primary);
    for (int i = 0; hdu && i < maxExtensionsSearched; ++i, hdu = nextHdu(file, *hdu)) {
        if (upper(textValue(*hdu, "EXTNAME")) != errorName)
            continue;
        std::vector<float> sigma;
        if (integer(*hdu, "NAXIS") == 1 && integer(*hdu, "NAXIS1") == static_cast<long long>(n) &&
            readVector(file, *hdu, sigma).empty())
            return sigma;
        break;
    }
    return {};
}

WavelengthMedium mediumOf(const std::string& type)
{
    return upper(type).rfind("WAVE", 0) == 0 ? WavelengthMedium::vacuum : WavelengthMedium::air;
}

std::string readImage(const LargeVector<char>& file, const Hdu& hdu, Spectrum& spectrum)
{
    std::vector<float> ys;
    std::string message = readVector(file, hdu, ys);
    if (!message.empty())
        return message;
    const size_t n = ys.size();
    double crval = number(hdu, "CRVAL1").value_or(1.0);
    double crpix = number(hdu, "CRPIX1").value_or(1.0);
    // Without a scale the pixel numbers from 1 are the X.
    double cdelt = number(hdu, "CDELT1").value_or(number(hdu, "CD1_1").value_or(1.0));
    std::vector<float> xs(n);
    for (size_t i = 0; i < n; ++i)
        xs[i] = static_cast<float>(crval + (static_cast<double>(i) + 1.0 - crpix) * cdelt);
    const std::string type = upper(textValue(hdu, "CTYPE1"));
    spectrum.meta.xIsWavelength = type.rfind("WAVE", 0) == 0 || type.rfind("AWAV", 0) == 0;
    spectrum.meta.medium = mediumOf(type);
    spectrum.meta.fluxUnit = textValue(hdu, "BUNIT");
    spectrum.x.swap(xs);
    spectrum.y.swap(ys);
    spectrum.sigma = errorExtension(file, hdu, n);
    return {};
}

std::string readTable(const LargeVector<char>& file, const Hdu& hdu, const TableLayout& layout, Spectrum& spectrum)
{
    if (elementSize(layout.wave->code) == 0 || elementSize(layout.flux->code) == 0)
        return unsupportedColumnMessage;
    // Checked: a row width times a row count past 2^64 must not wrap into
    // a size that seems to fit.
    auto bytes = product(static_cast<uint64_t>(layout.rowBytes), static_cast<uint64_t>(layout.rows));
    if (!bytes || !inFile(file, hdu.dataStart, *bytes))
        return damagedMessage;
    // An ERR column of a type the reader does not know is left out.
    const bool withError = layout.error && elementSize(layout.error->code) != 0;
    const auto rows = static_cast<size_t>(layout.rows);
    std::vector<float> xs(rows), ys(rows), sigma(withError ? rows : 0);
    for (size_t r = 0; r < rows; ++r) {
        const char* row = file.data() + hdu.dataStart + r * static_cast<size_t>(layout.rowBytes);
        xs[r] = static_cast<float>(element(row + layout.wave->offset, layout.wave->code));
        ys[r] = static_cast<float>(element(row + layout.flux->offset, layout.flux->code));
        if (withError)
            sigma[r] = static_cast<float>(element(row + layout.error->offset, layout.error->code));
    }
    spectrum.meta.xIsWavelength = true;
    spectrum.meta.medium = mediumOf(textValue(hdu, "TCTYP1"));
    spectrum.meta.fluxUnit = textValue(hdu, "TUNIT2");
    spectrum.x.swap(xs);
    spectrum.y.swap(ys);
    spectrum.sigma.swap(sigma);
    return {};
}

// Cards that describe the layout of the data: written anew by the writer,
// never kept from a file that is read.
bool isLayoutKeyword(const std::string& key)
{
    static const std::set<std::string> fixed = {
        "SIMPLE", "BITPIX", "NAXIS", "EXTEND", "PCOUNT", "GCOUNT", "BSCALE", "BZERO", "BUNIT", "BLANK",
        "WCSDIM", "DC-FLAG", "DISPAXIS", "DATAMIN", "DATAMAX", "EXTNAME", "END", ""};
    if (fixed.count(key))
        return true;
    for (const char* prefix : {"NAXIS", "CRVAL", "CDELT", "CRPIX", "CTYPE", "CUNIT", "CROTA", "CD", "PC", "LTV",
                               "LTM", "WAT"}) {
        const std::string p = prefix;
        if (key.size() > p.size() && key.compare(0, p.size(), p) == 0 && key[p.size()] >= '0' &&
            key[p.size()] <= '9')
            return true;
    }
    return false;
}

std::vector<std::string> keptCards(const Hdu& primary)
{
    std::vector<std::string> kept;
    for (const std::string& card : primary.cards)
        if (!isLayoutKeyword(cardKeyword(card)))
            kept.push_back(card);
    return kept;
}

// Descending spectra are put into ascending order, as the text reader does.
void makeAscending(Spectrum& spectrum)
{
    if (spectrum.x.size() > 1 && spectrum.x.front() > spectrum.x.back()) {
        std::reverse(spectrum.x.begin(), spectrum.x.end());
        std::reverse(spectrum.y.begin(), spectrum.y.end());
        std::reverse(spectrum.sigma.begin(), spectrum.sigma.end());
    }
}

std::string openSpectrum(const std::string& strFile, Spectrum& result)
{
    LargeVector<char> file = readWholeFileAs<char>(strFile);
    if (file.size() < 9 || std::memcmp(file.data(), "SIMPLE  =", 9) != 0)
        return notSpectrumMessage;
    auto primary = parseHeader(file, 0);
    if (!primary)
        return damagedMessage;
    Spectrum spectrum;
    std::string message;
    if (isImageSpectrum(*primary)) {
        message = readImage(file, *primary, spectrum);
    } else {
        auto extension = firstExtension(file, *primary);
        if (!extension)
            return notSpectrumMessage;
        TableLayout layout;
        message = tableReason(*primary, tableLayout(*extension, layout));
        if (message.empty())
            message = readTable(file, *extension, layout, spectrum);
    }
    if (!message.empty())
        return message;
    spectrum.meta.cards = keptCards(*primary);
    makeAscending(spectrum);
    result = std::move(spectrum);
    return {};
}

} // namespace

const std::vector<std::string>& observationKeywords()
{
    static const std::vector<std::string> keys = {
        "OBJECT",   "DATE-OBS", "TIME-OBS", "UT",       "UTSTART",  "MJD-OBS",  "JD",       "EXPTIME",
        "EXPOSURE", "OBSERVER", "OBSERVAT", "TELESCOP", "INSTRUME", "FILTER",   "RA",       "DEC",
        "EQUINOX",  "EPOCH",    "AIRMASS",  "SITELAT",  "SITELONG", "IMAGETYP", "SITEELEV", "GEO_LONG",
        "GEO_LAT",  "GEO_ELEV", "OBJCTRA",  "OBJCTDEC"};
    return keys;
}

std::vector<std::string> observationCards(const HeaderCards& frame)
{
    std::vector<std::string> cards;
    for (const std::string& key : observationKeywords())
        if (const std::string* card = findValueCard(frame, key))
            cards.push_back(padCard(*card));
    for (const std::string& card : frame) {
        if (isEndCard(card))
            break;
        const std::string key = cardKeyword(card);
        if (key == "COMMENT" || key == "HISTORY")
            cards.push_back(padCard(card));
    }
    return cards;
}

bool looksLikePixelNumbers(const std::vector<float>& x)
{
    if (x.empty() || (x.front() != 0.0f && x.front() != 1.0f))
        return false;
    for (size_t i = 1; i < x.size(); ++i)
        if (x[i] - x[i - 1] != 1.0f)
            return false;
    return true;
}

bool isEvenlySpaced(const std::vector<float>& x, double& start, double& step)
{
    if (x.size() < 2)
        return false;
    const double mean = (static_cast<double>(x.back()) - x.front()) / static_cast<double>(x.size() - 1);
    if (mean == 0 || !std::isfinite(mean))
        return false;
    constexpr double singleRounding = std::numeric_limits<float>::epsilon();
    for (size_t i = 1; i < x.size(); ++i) {
        double d = static_cast<double>(x[i]) - x[i - 1];
        double allowed = evenStepTolerance * std::fabs(mean) +
                         singleRounding * (std::fabs(static_cast<double>(x[i])) + std::fabs(static_cast<double>(x[i - 1])));
        if (!(std::fabs(d - mean) <= allowed))
            return false;
    }
    start = x.front();
    step = mean;
    return true;
}

std::string sfSaveFitsSpectrum(const std::string& strFile, const Spectrum& spectrum, const LinearScale* exact)
{
    return trapErrors("sfSaveFitsSpectrum", [&]() -> std::string {
        if (spectrum.y.empty() || (exact == nullptr && spectrum.x.size() != spectrum.y.size()))
            return "データがありません";
        if (!spectrum.sigma.empty() && spectrum.sigma.size() != spectrum.y.size())
            platform::raise(platform::errSubscript);
        double start = 0, step = 0;
        if (exact != nullptr)
            writeAll(strFile, imageFile(exact->start, exact->step, spectrum));
        else if (isEvenlySpaced(spectrum.x, start, step))
            writeAll(strFile, imageFile(start, step, spectrum));
        else
            writeAll(strFile, tableFile(spectrum));
        return {};
    });
}

namespace {

Spectrum spectrumOf(const std::vector<float>& x, const std::vector<float>& y, const FitsSpectrumOptions& options)
{
    Spectrum spectrum;
    spectrum.x = x;
    spectrum.y = y;
    spectrum.meta.xIsWavelength = options.xIsWavelength;
    if (options.source != nullptr)
        spectrum.meta.cards = observationCards(*options.source);
    return spectrum;
}

} // namespace

std::string sfSaveFitsSpectrumLinear(const std::string& strFile, double start, double step,
                                     const std::vector<float>& y, const FitsSpectrumOptions& options)
{
    const LinearScale exact{start, step};
    return sfSaveFitsSpectrum(strFile, spectrumOf({}, y, options), &exact);
}

std::string sfSaveFitsSpectrum(const std::string& strFile, const std::vector<float>& x, const std::vector<float>& y,
                               const FitsSpectrumOptions& options)
{
    if (x.empty() || x.size() != y.size())
        return "データがありません";
    return sfSaveFitsSpectrum(strFile, spectrumOf(x, y, options));
}

bool isFitsSpectrumFile(const std::string& strFile)
{
    try {
        if (readFilePrefix(strFile, 9) != "SIMPLE  =")
            return false;
        LargeVector<char> file = readWholeFileAs<char>(strFile);
        auto primary = parseHeader(file, 0);
        if (!primary)
            return false;
        if (isImageSpectrum(*primary))
            return true;
        auto extension = firstExtension(file, *primary);
        if (!extension)
            return false;
        // A table after an empty primary is meant as a spectrum, so the
        // reader says what is wrong with it.
        TableLayout layout;
        std::string reason = tableReason(*primary, tableLayout(*extension, layout));
        return reason != notSpectrumMessage;
    } catch (const platform::BasicError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string sfOpenFitsSpectrum(const std::string& strFile, Spectrum& spectrum)
{
    return trapErrors("sfOpenFitsSpectrum", [&]() -> std::string { return openSpectrum(strFile, spectrum); });
}

std::string sfOpenFitsSpectrum(const std::string& strFile, std::vector<float>& x, std::vector<float>& y,
                               bool* xIsWavelength)
{
    Spectrum spectrum;
    std::string message = sfOpenFitsSpectrum(strFile, spectrum);
    if (!message.empty())
        return message;
    x.swap(spectrum.x);
    y.swap(spectrum.y);
    if (xIsWavelength != nullptr)
        *xIsWavelength = spectrum.meta.xIsWavelength;
    return {};
}

} // namespace raylen
