// Combining frames: one pixel's rules, raylen-cli combine against numpy and
// ccdproc, the header of the result, and refused inputs.
#include "FrameFiles.h"

#include "image/Combine.h"

#include <filesystem>
#include <sstream>

using namespace frametest;
using raylen::CombineMethod;
using raylen::CombineOptions;
using raylen::CombineReject;
using testsupport::TempDir;
using testsupport::shellQuote;

namespace {

float combine(std::vector<double> v, CombineMethod method, CombineReject reject = CombineReject::none)
{
    CombineOptions o;
    o.method = method;
    o.reject = reject;
    return raylen::combinePixel(v.data(), v.size(), v.size(), o);
}

// Five frames 40 × 30 with different levels and exposure times; frame 3
// has a cosmic ray at (7, 5).
struct Stack {
    TempDir dir;
    std::vector<std::string> files;
    std::string list;
    Stack(int width = 40, int height = 30)
    {
        std::mt19937 random(17);
        std::normal_distribution<double> noise(0, 4);
        for (int f = 0; f < 5; ++f) {
            raylen::SingleImage frame(width, height);
            for (int y = 0; y < height; ++y)
                for (int x = 0; x < width; ++x)
                    frame(x, y) = static_cast<float>((100 + x + 0.5 * y) * (1 + 0.2 * f) + noise(random));
            if (f == 3)
                frame(7, 5) += 4000;
            files.push_back(saveFrame(dir.file("f" + std::to_string(f) + ".fit"), frame,
                                      {"OBJECT  = 'bias    '",
                                       "EXPTIME =                 " + std::to_string(10 + 5 * f) + ". / [s] exposure"}));
            list += shellQuote(files.back()) + " ";
        }
    }
};

} // namespace

TEST(CombinePixel, MethodsRejectionAndMissingValues)
{
    EXPECT_EQ(combine({5, 1, 3, 2}, CombineMethod::median), 2.5f);
    EXPECT_EQ(combine({5, 1, 3, 2}, CombineMethod::mean), 2.75f);
    EXPECT_EQ(combine({5, 1, 3, 2}, CombineMethod::sum), 11.0f);
    // The ray goes; σ = 1.4826 × MAD of {10, 11, 12, 13, 500} = 1.4826.
    EXPECT_EQ(combine({10, 11, 500, 12, 13}, CombineMethod::mean, CombineReject::sigmaClip), 11.5f);
    // Sum over the values left, scaled to all five frames.
    EXPECT_EQ(combine({10, 11, 500, 12, 13}, CombineMethod::sum, CombineReject::sigmaClip), 57.5f);
    EXPECT_EQ(combine({10, 11, 500, 12, 13}, CombineMethod::mean, CombineReject::minMax), 12.0f);
    // Repeated: after 40 goes, 21 stands out of the rest.
    EXPECT_EQ(combine({10, 10.5, 10, 10.5, 10.25, 13, 40}, CombineMethod::mean, CombineReject::sigmaClip), 10.25f);
    // Equal values give σ 0 and stay; a NaN is left out.
    EXPECT_EQ(combine({7, 7, 7, std::nan("")}, CombineMethod::sum), 28.0f);
    EXPECT_TRUE(std::isnan(combine({std::nan(""), INFINITY}, CombineMethod::median)));
    // A pass that would reject everything is not taken.
    CombineOptions tight;
    tight.method = CombineMethod::mean;
    tight.reject = CombineReject::sigmaClip;
    tight.low = tight.high = 0.1;
    std::vector<double> two{1, 3};
    EXPECT_EQ(raylen::combinePixel(two.data(), 2, 2, tight), 2.0f);
}

TEST(CliCombine, EqualsNumpyAndCcdproc)
{
    if (!testsupport::requirePython("numpy, astropy, ccdproc"))
        return;
    Stack stack;
    TempDir scratch;
    const std::vector<std::pair<std::string, std::string>> runs = {
        {"median", "--method median"},
        {"mean", "--method mean"},
        {"sum", "--method sum"},
        {"minmax", "--method mean --reject minmax:1:2"},
        {"clipmean", "--method mean --reject sigclip"},
        {"clipmedian", "--reject sigclip:2:2.5"},
        {"scaledmedian", "--scale median"},
        {"scaledmean", "--method mean --scale exptime --reject sigclip"},
    };
    for (const auto& [name, options] : runs) {
        auto r = clitest::cli("combine " + stack.list + options + " -o " + shellQuote(stack.dir.file(name + ".fit")),
                              scratch);
        ASSERT_EQ(r.status, 0) << name << ": " << r.err;
    }
    std::string script = R"(
import numpy as np, ccdproc, warnings
from astropy.io import fits
from astropy.nddata import CCDData
from astropy.stats import sigma_clip
warnings.simplefilter('ignore')
D = 'DIR/'
frames = [fits.getdata(D + 'f%d.fit' % i).astype(np.float64) for i in range(5)]
stack = np.array(frames)
ours = lambda name: fits.getdata(D + name + '.fit').astype(np.float64)
def worst(a, b):
    return float(np.max(np.abs(a - b) / np.maximum(np.abs(b), 1e-30)))
def combiner(scale=None):
    # Scaled before they are combined, so that the clipping sees scaled values.
    scale = np.ones(5) if scale is None else scale
    return ccdproc.Combiner([CCDData(f * k, unit='adu') for f, k in zip(frames, scale)])
def clipped(c, low, high):
    # The clipping the Combiner runs, repeated until nothing more goes (its
    # own call makes one pass over the unmasked data and cannot be told more).
    c.data_arr.mask = sigma_clip(c.data_arr.data, sigma_lower=low, sigma_upper=high, axis=0, maxiters=None,
                                 cenfunc='median', stdfunc='mad_std', masked=True).mask
    return c
s = np.sort(stack, axis=0)
print('numpy_median', worst(ours('median'), np.median(stack, 0)))
print('numpy_mean', worst(ours('mean'), stack.mean(0)))
print('numpy_sum', worst(ours('sum'), stack.sum(0)))
print('numpy_minmax', worst(ours('minmax'), s[1:3].mean(0)))
print('ccdproc_median', worst(ours('median'), combiner().median_combine().data))
print('ccdproc_minmax', worst(ours('minmax'), (lambda c: (c.clip_extrema(nlow=1, nhigh=2), c.average_combine().data)[1])(combiner())))
print('ccdproc_clipmean', worst(ours('clipmean'), clipped(combiner(), 3, 3).average_combine().data))
print('ccdproc_clipmedian', worst(ours('clipmedian'), clipped(combiner(), 2, 2.5).median_combine().data))
meds = np.array([np.median(f) for f in frames])
print('ccdproc_scaledmedian', worst(ours('scaledmedian'), combiner(meds[0] / meds).median_combine().data))
t = np.array([10.0, 15, 20, 25, 30])
print('ccdproc_scaledmean', worst(ours('scaledmean'), clipped(combiner(t[0] / t), 3, 3).average_combine().data))
print('ray', ours('clipmean')[5, 7] - np.delete(stack[:, 5, 7], 3).mean(), ours('mean')[5, 7] - stack[:, 5, 7].mean())
)";
    script.replace(script.find("DIR"), 3, stack.dir.path());
    std::istringstream lines(testsupport::python(script, scratch));
    std::string name;
    double value = 0;
    int checked = 0;
    while (lines >> name >> value) {
        if (name == "ray") {
            // Sigma clipping leaves the ray out; the plain mean carries it.
            EXPECT_LT(std::abs(value), 1e-3);
            ASSERT_TRUE(lines >> value);
            EXPECT_LT(std::abs(value), 1e-3);
            ++checked;
            continue;
        }
        EXPECT_LE(value, 1e-5) << name;
        ++checked;
    }
    EXPECT_EQ(checked, 11);
}

TEST(CliCombine, HeaderOfTheFirstFrameWithExposureAndInputs)
{
    Stack stack;
    TempDir scratch;
    auto r = clitest::cli("combine " + stack.list + "--method sum -o " + shellQuote(stack.dir.file("sum.fit")), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    raylen::HeaderCards header;
    loadFrame(stack.dir.file("sum.fit"), &header);
    auto at = [&](const std::string& key) {
        for (const std::string& c : header)
            if (c.compare(0, key.size(), key) == 0)
                return c;
        return std::string();
    };
    EXPECT_EQ(at("EXPTIME"), testsupport::card("EXPTIME =                 100. / [s] exposure"));
    EXPECT_EQ(at("OBJECT"), testsupport::card("OBJECT  = 'bias    '"));
    std::vector<std::string> comments;
    for (const std::string& c : header)
        if (c.rfind("COMMENT", 0) == 0)
            comments.push_back(c);
    ASSERT_EQ(comments.size(), 6u);
    EXPECT_EQ(comments[0], testsupport::card("COMMENT Combined 5 frames: sum, reject none, scale none"));
    EXPECT_EQ(comments[4], testsupport::card("COMMENT Combine input f3.fit"));

    r = clitest::cli("combine " + stack.list + "--reject sigclip:2:3 --scale median -o " +
                         shellQuote(stack.dir.file("med.fit")),
                     scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    loadFrame(stack.dir.file("med.fit"), &header);
    EXPECT_EQ(at("EXPTIME"), testsupport::card("EXPTIME =                  20. / [s] exposure"));
    EXPECT_EQ(at("COMMENT"), testsupport::card("COMMENT Combined 5 frames: median, reject sigclip:2:3, scale median"));
}

TEST(CliCombine, RefusedInputsLeaveNoOutput)
{
    Stack stack;
    TempDir scratch;
    saveFrame(stack.dir.file("small.fit"), raylen::SingleImage(39, 30));
    saveFrame(stack.dir.file("noexp.fit"), raylen::SingleImage(40, 30));
    const std::string out = shellQuote(stack.dir.file("out.fit"));
    struct Case {
        std::string arguments, err;
        int status;
    } cases[] = {
        {stack.list + shellQuote(stack.dir.file("small.fit")), "画像サイズが違います: " + stack.dir.file("small.fit"), 1},
        {stack.list + shellQuote(stack.dir.file("gone.fit")), "ﾌｧｲﾙが存在しません: " + stack.dir.file("gone.fit"), 1},
        {stack.list + shellQuote(stack.dir.file("noexp.fit")) + " --scale exptime",
         "EXPTIME がありません: " + stack.dir.file("noexp.fit"), 1},
        {stack.list + shellQuote(stack.dir.file("noexp.fit")) + " --scale median",
         "ﾒｼﾞｱﾝで規格化できません: " + stack.dir.file("noexp.fit"), 1},
        {stack.list + "--reject minmax:2:3", "除外する枚数がﾌﾚｰﾑ数以上です", 1},
    };
    for (const Case& c : cases) {
        auto r = clitest::cli("combine " + c.arguments + " -o " + out, scratch);
        EXPECT_EQ(r.status, c.status) << c.arguments;
        EXPECT_EQ(r.err, c.err + "\n");
        EXPECT_FALSE(std::filesystem::exists(stack.dir.file("out.fit")));
    }
    for (const std::string bad : {"--method mode", "--reject sigclip:3", "--reject minmax:1:-1", "--scale flat"}) {
        auto r = clitest::cli("combine " + stack.list + bad + " -o " + out, scratch);
        EXPECT_EQ(r.status, 2) << bad;
    }
    EXPECT_EQ(clitest::cli("combine -o " + out, scratch).status, 2);
}

TEST(CliCombine, IntegerFramesReadInBandsEqualTheImageOpen)
{
    // Taller than one band, BITPIX 16 with BZERO: one frame's median is the frame.
    TempDir dir, scratch;
    const int width = 700, height = 900;
    std::string header;
    for (const std::string& c :
         {valueCard("SIMPLE", "T"), valueCard("BITPIX", "16"), valueCard("NAXIS", "2"),
          valueCard("NAXIS1", std::to_string(width)), valueCard("NAXIS2", std::to_string(height)),
          valueCard("BZERO", "32768"), valueCard("BSCALE", "1"), testsupport::card("END")})
        header += c;
    header.resize(2880, ' ');
    std::string data;
    for (int i = 0; i < width * height; ++i) {
        const uint16_t stored = static_cast<uint16_t>((int64_t(i) * 7919) % 65536);
        data += static_cast<char>(stored >> 8);
        data += static_cast<char>(stored & 0xFF);
    }
    data.resize((data.size() + 2879) / 2880 * 2880, '\0');
    testsupport::writeAll(dir.file("int.fit"), header + data);
    auto r = clitest::cli("combine " + shellQuote(dir.file("int.fit")) + " -o " + shellQuote(dir.file("out.fit")), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    const raylen::SingleImage a = loadFrame(dir.file("int.fit")), b = loadFrame(dir.file("out.fit"));
    ASSERT_TRUE(a.sameBounds(b));
    EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(float)));
}
