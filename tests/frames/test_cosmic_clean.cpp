// Cosmic-ray cleaning: planted rays restored and the sky left alone, the
// whole-frame median filter against a plain one, detection against
// astroscrappy, and raylen-cli clean.
#include "FrameFiles.h"

#include "image/CosmicClean.h"
#include "numeric/MedianFilter.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <sstream>

using namespace frametest;
using testsupport::TempDir;
using testsupport::shellQuote;

namespace {

raylen::CleanParameters skyParameters()
{
    raylen::CleanParameters p;
    p.gain = CosmicSky::gain;
    p.readNoise = CosmicSky::readNoise;
    return p;
}

} // namespace

TEST(MedianFilter, FiveByFiveEqualsASortedWindowWithEdgesRepeated)
{
    std::mt19937 random(11);
    std::uniform_real_distribution<float> value(-50, 50);
    for (auto [w, h] : {std::pair{37, 23}, {1, 6}, {300, 3}, {260, 2}}) {
        raylen::SingleImage in(w, h), out;
        for (size_t i = 0; i < in.size(); ++i)
            in.data()[i] = std::round(value(random)); // ties as well
        raylen::medianFilter5(in, out);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                std::vector<float> window;
                for (int dy = -2; dy <= 2; ++dy)
                    for (int dx = -2; dx <= 2; ++dx)
                        window.push_back(in(std::clamp(x + dx, 0, w - 1), std::clamp(y + dy, 0, h - 1)));
                std::sort(window.begin(), window.end());
                ASSERT_EQ(out(x, y), window[12]) << w << "x" << h << " at " << x << "," << y;
                ASSERT_EQ(raylen::medianAround(in, x, y, 2), window[12]);
            }
    }
}

TEST(CosmicClean, RestoresPlantedRaysAndLeavesTheSkyAlone)
{
    CosmicSky sky(512, 512, 3);
    raylen::SingleImage image = sky.frame;
    raylen::HeaderCards header = {testsupport::card("SIMPLE  =                    T"), testsupport::card("END")};
    raylen::CleanResult result;
    ASSERT_EQ(raylen::sfCleanCosmicRays(image, header, skyParameters(), result), "");

    size_t hitCount = 0, restored = 0, far = 0, farChanged = 0, flagged = 0;
    for (int y = 0; y < sky.height; ++y)
        for (int x = 0; x < sky.width; ++x) {
            const float change = std::abs(image(x, y) - sky.frame(x, y));
            flagged += result.replaced(x, y);
            if (!result.replaced(x, y)) {
                ASSERT_EQ(image(x, y), sky.frame(x, y)); // untouched to the bit
            }
            if (sky.hits[size_t(y) * sky.width + x]) {
                ++hitCount;
                restored += std::abs(image(x, y) - sky.truth(x, y)) <= 5 * sky.sigma(x, y);
            }
            bool nearHit = false;
            for (int v = std::max(0, y - 2); v <= std::min(sky.height - 1, y + 2) && !nearHit; ++v)
                for (int u = std::max(0, x - 2); u <= std::min(sky.width - 1, x + 2); ++u)
                    nearHit |= sky.hits[size_t(v) * sky.width + u] != 0;
            if (!nearHit) {
                ++far;
                farChanged += change > sky.sigma(x, y);
            }
        }
    EXPECT_GE(restored, 0.95 * hitCount) << restored << " of " << hitCount;
    EXPECT_LE(farChanged, 0.0005 * far) << farChanged << " of " << far;
    EXPECT_EQ(flagged, result.cleaned);
    ASSERT_EQ(header.size(), 3u);
    std::ostringstream comment;
    comment << "COMMENT Cosmic rays: " << result.cleaned << " px, sigclip 4.5 objlim 5 gain 2 rdnoise 5";
    EXPECT_EQ(header[1], testsupport::card(comment.str()));

    // A clean frame stays clean: nothing left to find.
    raylen::CleanResult again;
    ASSERT_EQ(raylen::sfCleanCosmicRays(image, header, skyParameters(), again), "");
    EXPECT_LE(again.cleaned, result.cleaned / 100);
}

TEST(CosmicClean, BadParametersAndNonFinitePixels)
{
    CosmicSky sky(64, 48, 9);
    raylen::SingleImage image = sky.frame;
    raylen::HeaderCards header = {testsupport::card("END")};
    raylen::CleanResult result;
    raylen::CleanParameters bad = skyParameters();
    bad.gain = 0;
    EXPECT_EQ(raylen::sfCleanCosmicRays(image, header, bad, result), "宇宙線除去のﾊﾟﾗﾒｰﾀが正しくありません");
    bad = skyParameters();
    bad.sigmaClip = std::nan("");
    EXPECT_EQ(raylen::sfCleanCosmicRays(image, header, bad, result), "宇宙線除去のﾊﾟﾗﾒｰﾀが正しくありません");
    EXPECT_EQ(header.size(), 1u);
    EXPECT_EQ(0, std::memcmp(image.data(), sky.frame.data(), image.size() * sizeof(float)));

    // A NaN stays as it is, is never a neighbour's replacement, and raises
    // no ray around itself.
    image(20, 20) = std::nanf("");
    image(21, 20) = 1e30f; // a ray next to it
    ASSERT_EQ(raylen::sfCleanCosmicRays(image, header, skyParameters(), result), "");
    EXPECT_TRUE(std::isnan(image(20, 20)));
    EXPECT_EQ(result.replaced(20, 20), 0);
    EXPECT_EQ(result.replaced(21, 20), 1);
    EXPECT_LT(std::abs(image(21, 20) - sky.truth(21, 20)), 5 * sky.sigma(21, 20));
    for (int y = 17; y <= 23; ++y)
        for (int x = 17; x <= 23; ++x)
            if (!(x == 21 && y == 20) && !sky.hits[size_t(y) * sky.width + x]) {
                EXPECT_EQ(result.replaced(x, y), 0) << x << "," << y;
            }
}

TEST(CosmicClean, DetectsAsManyRaysAsAstroscrappyWithFewFalseOnes)
{
    if (!testsupport::requirePython("numpy, astropy, astroscrappy"))
        return;
    TempDir dir;
    CosmicSky sky(1024, 1024, 21);
    saveFrame(dir.file("frame.fit"), sky.frame, sky.cards());
    raylen::SingleImage hits(sky.width, sky.height);
    for (size_t i = 0; i < hits.size(); ++i)
        hits.data()[i] = sky.hits[i];
    saveFrame(dir.file("hits.fit"), hits);
    auto r = clitest::cli("clean " + shellQuote(dir.file("frame.fit")) + " --mask " + shellQuote(dir.file("mask.fit")) +
                              " -o " + shellQuote(dir.file("clean.fit")),
                          dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, ""); // GAIN and RDNOISE were on the frame
    std::string script = R"(
import numpy as np, astroscrappy
from astropy.io import fits
frame = fits.getdata('FRAME').astype(np.float32)
hits = fits.getdata('HITS') > 0
ours = fits.getdata('MASK') > 0
theirs, _ = astroscrappy.detect_cosmics(frame, sigclip=4.5, objlim=5.0, gain=2.0, readnoise=5.0,
                                        satlevel=1e30, cleantype='medmask')
print((ours & hits).sum(), (ours & ~hits).sum(), (theirs & hits).sum(), (theirs & ~hits).sum(), ours.sum())
)";
    for (auto [key, file] : {std::pair{"FRAME", "frame.fit"}, {"HITS", "hits.fit"}, {"MASK", "mask.fit"}})
        script.replace(script.find(key), std::string(key).size(), dir.file(file));
    std::istringstream numbers(testsupport::python(script, dir));
    double oursFound = 0, oursFalse = 0, theirsFound = 0, theirsFalse = 0, oursTotal = 0;
    ASSERT_TRUE(numbers >> oursFound >> oursFalse >> theirsFound >> theirsFalse >> oursTotal);
    EXPECT_GE(oursFound, 0.9 * theirsFound);
    EXPECT_LE(oursFalse, 2 * theirsFalse);
    EXPECT_EQ(r.out, "cleaned=" + std::to_string(static_cast<long>(oursTotal)) + "\n");
    std::printf("planted %zu: ours %g found, %g false; astroscrappy %g found, %g false\n",
                static_cast<size_t>(std::count(sky.hits.begin(), sky.hits.end(), 1)), oursFound, oursFalse,
                theirsFound, theirsFalse);
}

TEST(CliClean, NotesAssumedNoiseRefusesBadUseAndIsTheSameOnOneCore)
{
    TempDir dir, scratch;
    CosmicSky sky(300, 200, 5);
    saveFrame(dir.file("frame.fit"), sky.frame);
    const std::string in = shellQuote(dir.file("frame.fit"));
    auto r = clitest::cli("clean " + in + " --gain 2 --rdnoise 5 -o " + shellQuote(dir.file("a.fit")), scratch);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    auto one = clitest::cli("clean " + in + " --gain 2 --rdnoise 5 -o " + shellQuote(dir.file("b.fit")), scratch,
                            "taskset -c 0");
    ASSERT_EQ(one.status, 0) << one.err;
    EXPECT_EQ(one.out, r.out);
    EXPECT_EQ(testsupport::readAll(dir.file("a.fit")), testsupport::readAll(dir.file("b.fit")));

    r = clitest::cli("clean " + in + " -o " + shellQuote(dir.file("c.fit")), scratch);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "注意: GAIN がないため利得 1 を使います\n注意: RDNOISE がないため読み出しノイズ 0 を使います\n");

    r = clitest::cli("clean " + in + " --sigclip -1 -o " + shellQuote(dir.file("d.fit")), scratch);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--sigclip takes a positive number"), std::string::npos) << r.err;
    r = clitest::cli("clean " + shellQuote(dir.file("none.fit")) + " -o " + shellQuote(dir.file("d.fit")), scratch);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "ﾌｧｲﾙが存在しません\n");
    EXPECT_FALSE(std::filesystem::exists(dir.file("d.fit")));
}
