// The uncertainty of combined frames: the pixel rules, raylen-cli combine
// --err against ccdproc and astropy, propagation of the inputs' own ERR
// extensions, and the image readers on a file that has one.
#include "FrameFiles.h"

#include "image/Combine.h"
#include "image/ErrorExtension.h"

#include <filesystem>
#include <numbers>
#include <sstream>

using namespace frametest;
using raylen::CombineMethod;
using raylen::CombineOptions;
using raylen::CombineReject;
using testsupport::TempDir;
using testsupport::shellQuote;

namespace {

constexpr int width = 40, height = 30, frameCount = 5;

struct Pixel {
    float value, error;
};

Pixel combine(std::vector<double> v, std::vector<double> s, CombineMethod method,
              CombineReject reject = CombineReject::none)
{
    CombineOptions o;
    o.method = method;
    o.reject = reject;
    o.dropLow = 1; // min/max drops the lowest value only
    o.dropHigh = 0;
    Pixel p{};
    p.value = raylen::combinePixel(v.data(), s.empty() ? nullptr : s.data(), v.size(), v.size(), o, p.error);
    return p;
}

double level(int f, int x, int y) { return (100 + x + 0.5 * y) * (1 + 0.2 * f); }

// Five frames of different levels and exposure times, as the combine tests
// use; `withError` gives each an ERR extension of 2 + f + x/10.
std::vector<std::string> writeStack(const TempDir& dir, const std::string& prefix, bool withError)
{
    std::mt19937 random(17);
    std::normal_distribution<double> noise(0, 4);
    std::vector<std::string> files;
    for (int f = 0; f < frameCount; ++f) {
        raylen::SingleImage frame(width, height), sigma(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                frame(x, y) = static_cast<float>(level(f, x, y) + noise(random));
                sigma(x, y) = static_cast<float>(2 + f + x / 10.0);
            }
        const std::string path = dir.file(prefix + std::to_string(f) + ".fit");
        raylen::HeaderCards h = {valueCard("SIMPLE", "T"),
                                 valueCard("BITPIX", "-32"),
                                 valueCard("NAXIS", "2"),
                                 valueCard("NAXIS1", std::to_string(width)),
                                 valueCard("NAXIS2", std::to_string(height)),
                                 valueCard("EXPTIME", std::to_string(10 + 5 * f) + "."),
                                 testsupport::card("END")};
        const std::string message = withError ? raylen::sfSaveImgSngWithError(path, h, frame, sigma)
                                              : raylen::sfSaveImgSng(path, h, frame);
        EXPECT_EQ(message, "");
        files.push_back(path);
    }
    return files;
}

std::string quoted(const std::vector<std::string>& files)
{
    std::string list;
    for (const std::string& f : files)
        list += shellQuote(f) + " ";
    return list;
}

// The file from the extension's header on (at a block boundary).
std::string extension(const std::string& path)
{
    const std::string bytes = testsupport::readAll(path);
    const size_t start = bytes.find("XTENSION= 'IMAGE   '");
    EXPECT_TRUE(start != std::string::npos && start % 2880 == 0) << path;
    return start == std::string::npos ? std::string() : bytes.substr(start);
}

// The ERR extension's data as the image reader reads a primary, after its
// XTENSION card is made a SIMPLE one.
raylen::SingleImage errorImage(const std::string& path)
{
    std::string bytes = extension(path);
    bytes.replace(0, valueCard("SIMPLE", "T").size(), valueCard("SIMPLE", "T"));
    TempDir scratch;
    testsupport::writeAll(scratch.file("err.fit"), bytes);
    return loadFrame(scratch.file("err.fit"));
}

} // namespace

TEST(CombinePixel, UncertaintyFromTheSpreadOrTheInputs)
{
    // Spread of {1, 2, 3, 4}: σ = √1.25 about the mean, over √4 (times √4 for a sum).
    const double spread = std::sqrt(1.25);
    EXPECT_FLOAT_EQ(combine({4, 1, 3, 2}, {}, CombineMethod::mean).error, spread / 2);
    EXPECT_FLOAT_EQ(combine({4, 1, 3, 2}, {}, CombineMethod::median).error, spread / 2);
    EXPECT_FLOAT_EQ(combine({4, 1, 3, 2}, {}, CombineMethod::sum).error, spread * 2);
    // Only the kept values count; a sum over four of five is scaled by 5/4, its σ too.
    const Pixel clipped = combine({10, 11, 500, 12, 13}, {}, CombineMethod::sum, CombineReject::sigmaClip);
    EXPECT_FLOAT_EQ(clipped.value, 57.5f);
    EXPECT_FLOAT_EQ(clipped.error, static_cast<float>(spread * 2 * 5 / 4));
    EXPECT_TRUE(std::isnan(combine({7, std::nan("")}, {}, CombineMethod::mean).error));

    // The inputs' σ travel with their values through the sort: dropping the
    // lowest value drops its σ of 10.
    EXPECT_FLOAT_EQ(combine({3, 1, 2}, {30, 10, 20}, CombineMethod::mean, CombineReject::minMax).error,
                    static_cast<float>(std::sqrt(1300.0) / 2));
    EXPECT_FLOAT_EQ(combine({3, 1, 2}, {30, 10, 20}, CombineMethod::sum).error, static_cast<float>(std::sqrt(1400.0)));
    EXPECT_FLOAT_EQ(combine({3, 1, 2}, {30, 10, 20}, CombineMethod::median).error,
                    static_cast<float>(std::sqrt(std::numbers::pi / 2) * std::sqrt(1400.0) / 3));
    // One value keeps its own σ; the value without one is the same as combinePixel's.
    const Pixel one = combine({5, std::nan("")}, {2, 9}, CombineMethod::mean);
    EXPECT_EQ(one.value, 5.0f);
    EXPECT_EQ(one.error, 2.0f);
}

TEST(CliCombineError, AgreesWithCcdprocAndLeavesThePrimaryAsItWas)
{
    if (!testsupport::requirePython("numpy, astropy, ccdproc"))
        return;
    TempDir dir, scratch;
    const std::string list = quoted(writeStack(dir, "f", false));
    const std::vector<std::pair<std::string, std::string>> runs = {
        {"mean", "--method mean"},
        {"median", "--method median"},
        {"sum", "--method sum"},
        {"clipmean", "--method mean --reject sigclip"},
        {"scaledmedian", "--scale median"},
    };
    for (const auto& [name, options] : runs) {
        for (const std::string with : {"", " --err"}) {
            const std::string out = dir.file(name + (with.empty() ? "" : "_err") + ".fit");
            auto r = clitest::cli("combine " + list + options + with + " -o " + shellQuote(out), scratch);
            ASSERT_EQ(r.status, 0) << name << with << ": " << r.err;
        }
        // The primary HDU is the one written without --err, byte for byte.
        const std::string plain = testsupport::readAll(dir.file(name + ".fit"));
        const std::string withError = testsupport::readAll(dir.file(name + "_err.fit"));
        ASSERT_EQ(withError.size(), 2 * plain.size()) << name; // 40 × 30 floats fill two blocks either way
        EXPECT_TRUE(withError.compare(0, plain.size(), plain) == 0) << name;
    }
    std::string script = R"(
import numpy as np, ccdproc, warnings
from astropy.io import fits
from astropy.nddata import CCDData
from astropy.stats import sigma_clip
warnings.simplefilter('ignore')
D = 'DIR/'
frames = [fits.getdata(D + 'f%d.fit' % i).astype(np.float64) for i in range(5)]
def worst(a, b):
    return float(np.max(np.abs(a - b) / np.maximum(np.abs(b), 1e-30)))
def err(name):
    with fits.open(D + name + '_err.fit') as h:
        ok = (len(h) == 2 and h[1].name == 'ERR' and h[1].header['BITPIX'] == -32
              and h[1].data.shape == h[0].data.shape and np.array_equal(h[0].data, fits.getdata(D + name + '.fit')))
        print('layout_' + name, 0 if ok else 1)
        return h[1].data.astype(np.float64)
def combiner(scale=None):
    scale = np.ones(5) if scale is None else scale
    return ccdproc.Combiner([CCDData(f * k, unit='adu') for f, k in zip(frames, scale)])
def clipped(c, low, high):
    # Repeated until nothing more goes, as ours is (the Combiner's own call makes one pass).
    c.data_arr.mask = sigma_clip(c.data_arr.data, sigma_lower=low, sigma_upper=high, axis=0, maxiters=None,
                                 cenfunc='median', stdfunc='mad_std', masked=True).mask
    return c
# ccdproc's median combine takes σ from the median absolute deviation by
# default; ours is the standard deviation for every method, so its
# uncertainty_func is set to the standard deviation it uses for the mean.
print('mean', worst(err('mean'), combiner().average_combine().uncertainty.array))
print('median', worst(err('median'), combiner().median_combine(uncertainty_func=np.nanstd).uncertainty.array))
print('sum', worst(err('sum'), combiner().sum_combine().uncertainty.array))
print('clipmean', worst(err('clipmean'), clipped(combiner(), 3, 3).average_combine().uncertainty.array))
meds = np.array([np.median(f) for f in frames])
print('scaledmedian', worst(err('scaledmedian'),
                            combiner(meds[0] / meds).median_combine(uncertainty_func=np.nanstd).uncertainty.array))
)";
    script.replace(script.find("DIR"), 3, dir.path());
    std::istringstream lines(testsupport::python(script, scratch));
    std::string name;
    double value = 0;
    int checked = 0;
    while (lines >> name >> value) {
        EXPECT_LE(value, 1e-5) << name;
        ++checked;
    }
    EXPECT_EQ(checked, 10);
}

TEST(CliCombineError, PropagatesTheInputsOwnUncertainty)
{
    TempDir dir, scratch;
    const std::vector<std::string> carrying = writeStack(dir, "e", true), plain = writeStack(dir, "p", false);
    const double exposure[frameCount] = {10, 15, 20, 25, 30};
    struct Case {
        std::string name, options;
        double factor; // on √(Σ(kσ)²)
    } cases[] = {{"mean", "--method mean --scale exptime", 1.0 / frameCount},
                 {"sum", "--method sum", 1.0},
                 {"median", "--method median", std::sqrt(std::numbers::pi / 2) / frameCount}};
    for (const Case& c : cases) {
        const std::string out = dir.file(c.name + ".fit");
        auto r = clitest::cli("combine " + quoted(carrying) + c.options + " --err -o " + shellQuote(out), scratch);
        ASSERT_EQ(r.status, 0) << c.name << ": " << r.err;
        const raylen::SingleImage sigma = errorImage(out);
        ASSERT_EQ(sigma.width(), width);
        const bool scaled = c.options.find("exptime") != std::string::npos;
        for (int y = 0; y < height; y += 7)
            for (int x = 0; x < width; x += 3) {
                double squares = 0;
                for (int f = 0; f < frameCount; ++f) {
                    const double k = scaled ? exposure[0] / exposure[f] : 1.0;
                    squares += std::pow(k * (2 + f + x / 10.0), 2);
                }
                EXPECT_NEAR(sigma(x, y), std::sqrt(squares) * c.factor, 1e-5 * sigma(x, y)) << c.name;
            }
    }

    // One frame without the extension: the spread of the values for all.
    std::vector<std::string> mixed = carrying;
    mixed[2] = plain[2];
    for (const auto& [files, name] : {std::pair{mixed, "mixed.fit"}, std::pair{plain, "plain.fit"}}) {
        auto r = clitest::cli("combine " + quoted(files) + "--method mean --err -o " + shellQuote(dir.file(name)),
                              scratch);
        ASSERT_EQ(r.status, 0) << r.err;
    }
    // (The primaries differ only in the input names of their COMMENT cards.)
    EXPECT_EQ(extension(dir.file("mixed.fit")), extension(dir.file("plain.fit")));

    // An ERR extension of another size is refused with --err, ignored without.
    std::string bad = testsupport::readAll(carrying[1]);
    const size_t naxis1 = bad.find("NAXIS1", bad.find("XTENSION"));
    bad.replace(naxis1, 80, valueCard("NAXIS1", std::to_string(width - 1)));
    testsupport::writeAll(dir.file("bad.fit"), bad);
    std::vector<std::string> refused = carrying;
    refused[1] = dir.file("bad.fit");
    auto r = clitest::cli("combine " + quoted(refused) + "--err -o " + shellQuote(dir.file("out.fit")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ERR 拡張を誤差画像として読めません: " + dir.file("bad.fit") + "\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("out.fit")));
    EXPECT_EQ(clitest::cli("combine " + quoted(refused) + "-o " + shellQuote(dir.file("out.fit")), scratch).status, 0);
}

TEST(CliCombineError, ReadersTakeThePrimaryOnly)
{
    TempDir dir, scratch;
    const std::vector<std::string> files = writeStack(dir, "f", false);
    const std::string list = quoted(files);
    const std::string plain = dir.file("plain.fit"), withError = dir.file("err.fit");
    ASSERT_EQ(clitest::cli("combine " + list + "-o " + shellQuote(plain), scratch).status, 0);
    ASSERT_EQ(clitest::cli("combine " + list + "--err -o " + shellQuote(withError), scratch).status, 0);
    const raylen::SingleImage a = loadFrame(plain), b = loadFrame(withError);
    ASSERT_TRUE(a.sameBounds(b));
    EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(float)));
    for (const std::string command : {"header", "info"})
        EXPECT_EQ(clitest::cli(std::string(command) + " " + shellQuote(withError), scratch).out,
                  clitest::cli(std::string(command) + " " + shellQuote(plain), scratch).out)
            << command;
    // A frame with the extension is an ordinary input to darkflat and combine.
    auto r = clitest::cli("darkflat " + shellQuote(withError) + " --dark " + shellQuote(files[0]) + " -o " +
                              shellQuote(dir.file("dark.fit")),
                          scratch);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FLOAT_EQ(loadFrame(dir.file("dark.fit"))(3, 4), b(3, 4) - loadFrame(files[0])(3, 4));
    r = clitest::cli("combine " + shellQuote(withError) + " -o " + shellQuote(dir.file("again.fit")), scratch);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(0, std::memcmp(loadFrame(dir.file("again.fit")).data(), b.data(), b.size() * sizeof(float)));
}
