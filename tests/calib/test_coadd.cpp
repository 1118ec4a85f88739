// Coaddition against an independent numpy inverse-variance mean on the
// same grid, with the uncertainty propagated.
#include "numeric/Coadd.h"
#include "../support/TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

using namespace raylen;

namespace {

std::vector<CoaddInput> nights()
{
    std::mt19937 random(7);
    std::normal_distribution<double> unit(0.0, 1.0);
    const double starts[] = {4000.3, 4012.9, 3995.1}, steps[] = {1.1, 0.93, 1.27};
    const double noise[] = {0.05, 0.12, 0.08};
    std::vector<CoaddInput> list;
    for (int k = 0; k < 3; ++k) {
        CoaddInput in;
        for (int i = 0; i < 900; ++i) {
            const double l = starts[k] + steps[k] * i;
            const double f = 1.0 - 0.6 * std::exp(-0.5 * std::pow((l - 4400.0) / 3.0, 2));
            const double s = noise[k] * (1.0 + 0.3 * std::sin(l / 50.0));
            in.x.push_back(static_cast<float>(l));
            in.y.push_back(static_cast<float>(f + s * unit(random)));
            in.sigma.push_back(static_cast<float>(s));
        }
        list.push_back(in);
    }
    return list;
}

TEST(Coadd, EqualsNumpyInverseVarianceMeanWithItsUncertainty)
{
    if (!testsupport::requirePython("numpy"))
        return;
    const std::vector<CoaddInput> list = nights();
    CoaddResult result;
    ASSERT_EQ(sfCoadd(list, 0.0, result), "");
    EXPECT_EQ(result.scale.start, static_cast<double>(list[1].x.front()));
    std::ostringstream script;
    script.precision(9);
    script << "import numpy as np\nspectra = [\n";
    for (const CoaddInput& in : list) {
        script << " (np.array([";
        for (float v : in.x) script << v << ',';
        script << "]), np.array([";
        for (float v : in.y) script << v << ',';
        script << "]), np.array([";
        for (float v : in.sigma) script << v << ',';
        script << "])),\n";
    }
    script << "]\n"
              "start = max(s[0][0] for s in spectra); end = min(s[0][-1] for s in spectra)\n"
              "step = min((s[0][-1] - s[0][0]) / (len(s[0]) - 1) for s in spectra)\n"
              "n = int(np.floor((end - start) / step + 1e-6)) + 1\n"
              "grid = start + step * np.arange(n)\n"
              "lo, hi = grid - step / 2, grid + step / 2\n"
              "num = np.zeros(n); den = np.zeros(n)\n"
              "for x, y, s in spectra:\n"
              "    e = np.concatenate([[x[0] - (x[1] - x[0]) / 2], (x[1:] + x[:-1]) / 2, [x[-1] + (x[-1] - x[-2]) / 2]])\n"
              "    w = np.clip(np.minimum(hi[:, None], e[None, 1:]) - np.maximum(lo[:, None], e[None, :-1]), 0, None)\n"
              "    f = w @ y / w.sum(1); v = (w ** 2) @ (s ** 2) / w.sum(1) ** 2\n"
              "    num += f / v; den += 1 / v\n"
              "for g, m, u in zip(grid, num / den, den ** -0.5): print(repr(g), repr(m), repr(u))\n";
    testsupport::TempDir dir;
    std::istringstream reference(testsupport::python(script.str(), dir));
    size_t count = 0;
    double g = 0, mean = 0, sigma = 0;
    while (reference >> g >> mean >> sigma) {
        ASSERT_LT(count, result.y.size());
        EXPECT_NEAR(result.x[count], g, 1e-3);
        EXPECT_NEAR(result.y[count], mean, 1e-4) << g;
        EXPECT_NEAR(result.sigma[count], sigma, 1e-4 * sigma) << g;
        ++count;
    }
    EXPECT_EQ(count, result.y.size());
}

TEST(Coadd, WithoutUncertaintiesAnEqualMeanAndNone)
{
    std::vector<CoaddInput> list = nights();
    list[2].sigma.clear();
    CoaddResult result;
    ASSERT_EQ(sfCoadd(list, 2.0, result), "");
    EXPECT_TRUE(result.sigma.empty());
    EXPECT_EQ(result.scale.step, 2.0);
    // Flux is kept: a constant spectrum stays that constant.
    for (CoaddInput& in : list)
        std::fill(in.y.begin(), in.y.end(), 3.5f);
    ASSERT_EQ(sfCoadd(list, 0.0, result), "");
    for (float v : result.y)
        ASSERT_NEAR(v, 3.5f, 1e-5f);
}

TEST(Coadd, DisjointOrSingleSpectraAreRefused)
{
    std::vector<CoaddInput> list = nights();
    CoaddResult result;
    EXPECT_EQ(sfCoadd({list[0]}, 0.0, result), "スペクトルが2つ以上必要です");
    for (float& x : list[1].x)
        x += 5000.0f;
    EXPECT_EQ(sfCoadd(list, 0.0, result), "スペクトルに共通の範囲がありません");
}

} // namespace
