// Least-squares polynomials: worked examples, refusals, and the fitted
// curve against numpy.polyfit on the same points.
#include "numeric/Lst2Fit.h"
#include "numeric/Polynomial.h"

#include "PythonReference.h"
#include "platform/BasicError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

using namespace raylen;

namespace {

const std::string divisionByZero = "sfLst2Fit, 110 で除算しました。";

// Deterministic noise in [−1, 1).
struct Noise {
    uint64_t state;
    double next()
    {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<double>(state >> 11) / 4503599627370496.0 - 1.0;
    }
};

struct Points {
    std::vector<float> x, y;
};

// A stellar continuum sampled in marked regions of 5400 … 6600 Å.
Points continuumRegions()
{
    const double regions[][2] = {{5400, 5480}, {5650, 5720}, {5890, 5960}, {6180, 6260}, {6480, 6600}};
    Points p;
    Noise noise{12345};
    for (auto [from, to] : regions)
        for (double x = from; x <= to; x += 0.75) {
            const double c = 1.8e4 * std::pow(x / 6000.0, -2.5) * (1.0 + 0.06 * std::sin(x / 230.0));
            p.x.push_back(static_cast<float>(x));
            p.y.push_back(static_cast<float>(c * (1.0 + 0.01 * noise.next())));
        }
    return p;
}

// Curve of numpy.polyfit in scaled coordinates at every `where`.
std::vector<double> numpyCurve(const Points& p, int order, const std::vector<float>& where)
{
    std::string input;
    for (size_t i = 0; i < p.x.size(); ++i)
        input += testref::singleText(p.x[i]) + " " + testref::singleText(p.y[i]) + "\n";
    input += "#\n";
    for (float w : where)
        input += testref::singleText(w) + " 0\n";
    return testref::runReference("polyfit", std::to_string(order), input);
}

// Largest relative difference of the stored (Single) curve, or with
// `exact` of the double sum before rounding, which shows the solve itself.
double worstRelative(const std::vector<double>& a, const std::vector<float>& where, const std::vector<double>& ref,
                     bool exact = false)
{
    double worst = 0.0;
    for (size_t i = 0; i < where.size(); ++i) {
        const double value = exact ? polynomialValue(a, where[i]) : evalPolynomial(a, where[i]);
        worst = std::max(worst, std::fabs(value - ref[i]) / std::fabs(ref[i]));
    }
    return worst;
}

} // namespace

TEST(PolynomialFit, WorkedExamples)
{
    std::vector<double> a;
    ASSERT_EQ(sfLst2Fit({0, 1, 2, 3}, {1, 6, 17, 34}, 2, a), "");
    ASSERT_EQ(a.size(), 3u);
    EXPECT_NEAR(a[0], 1.0, 1e-12);
    EXPECT_NEAR(a[1], 2.0, 1e-12);
    EXPECT_NEAR(a[2], 3.0, 1e-12);

    // Order 0 is the mean of Y.
    ASSERT_EQ(sfLst2Fit({3, 7, 7.5f, 100}, {1.5f, 2.25f, -4, 10}, 0, a), "");
    ASSERT_EQ(a.size(), 1u);
    EXPECT_NEAR(a[0], (1.5 + 2.25 - 4 + 10) / 4, 1e-15);

    // A straight line through two points (the Gaussian fit's continuum).
    ASSERT_EQ(sfLst2Fit({6562.0f, 6570.0f}, {100.0f, 104.0f}, 1, a), "");
    EXPECT_NEAR(a[1], 0.5, 1e-12);
    EXPECT_NEAR(a[0] + a[1] * 6566.0, 102.0, 1e-9);
}

TEST(PolynomialFit, OrderCapAndHighOrders)
{
    std::vector<float> x, y;
    for (int i = 0; i < 240; ++i) {
        x.push_back(float(i));
        y.push_back(float(100.0 + 20.0 * std::sin(i / 30.0)));
    }
    std::vector<double> a;
    ASSERT_EQ(sfLst2Fit(x, y, 150, a), "");
    EXPECT_EQ(a.size(), 101u);
    ASSERT_EQ(sfLst2Fit(x, y, 101, a), "");
    EXPECT_EQ(a.size(), 102u);
    for (double v : a)
        EXPECT_TRUE(std::isfinite(v));

    // A smooth order 12 fit still reproduces the data, where solving
    // the plain normal equations would lose every digit.
    ASSERT_EQ(sfLst2Fit(x, y, 12, a), "");
    for (size_t i = 0; i < x.size(); i += 17)
        EXPECT_NEAR(polynomialValue(a, x[i]), y[i], 1e-3) << x[i];
}

TEST(PolynomialFit, NoUniqueSolutionIsTheDivisionReport)
{
    std::vector<double> a{42.0};
    EXPECT_EQ(sfLst2Fit({2, 2}, {1, 3}, 1, a), divisionByZero);
    EXPECT_EQ(a, std::vector<double>{42.0}); // untouched
    EXPECT_EQ(sfLst2Fit({}, {}, 0, a), divisionByZero);
    // Three distinct X among six points: order 2 is determined, 3 is not.
    const std::vector<float> x{1, 1, 2, 2, 4, 4}, y{1, 1, 4, 4, 16, 16};
    EXPECT_EQ(sfLst2Fit(x, y, 3, a), divisionByZero);
    ASSERT_EQ(sfLst2Fit(x, y, 2, a), "");
    EXPECT_NEAR(a[2], 1.0, 1e-12);
    // Values one Single rounding apart count as the same X.
    const float near = std::nextafter(6000.0f, 7000.0f);
    EXPECT_EQ(sfLst2Fit({6000.0f, near, 6500.0f}, {1, 2, 3}, 2, a), divisionByZero);

    EXPECT_EQ(sfLst2Fit({1, 2, 3}, {1, 2}, 1, a), "sfLst2Fit, 9" + platform::errorDescription(9));
    EXPECT_EQ(sfLst2Fit({1, 2, 3}, {1, 2, 3}, -1, a), "sfLst2Fit, 9" + platform::errorDescription(9));
}

TEST(PolynomialFit, ContinuumOverWavelengthsAgreesWithNumpy)
{
    const Points p = continuumRegions();
    std::vector<float> where;
    for (double x = 5400; x <= 6600; x += 1.5)
        where.push_back(static_cast<float>(x));
    for (int order : {1, 3, 4, 5, 7}) {
        std::vector<double> a;
        ASSERT_EQ(sfLst2Fit(p.x, p.y, order, a), "");
        const std::vector<double> ref = numpyCurve(p, order, where);
        ASSERT_EQ(ref.size(), where.size()) << "numpy reference failed";
        EXPECT_LT(worstRelative(a, where, ref), 1e-6) << "order " << order;
        // Monomials of x ≈ 6000 cancel more with every order; the double sum
        // keeps that far below the Single rounding.
        EXPECT_LT(worstRelative(a, where, ref, true), order <= 5 ? 1e-10 : 1e-8) << "order " << order;
    }
}

TEST(PolynomialFit, SkyOverPixelRowsAgreesWithNumpy)
{
    Points p;
    Noise noise{99};
    for (int row = 0; row < 2048; row += 3) {
        p.x.push_back(float(row));
        p.y.push_back(float(250.0 + 0.03 * row - 1.2e-5 * row * row + 5.0 * noise.next()));
    }
    std::vector<double> a;
    ASSERT_EQ(sfLst2Fit(p.x, p.y, 3, a), "");
    const std::vector<double> ref = numpyCurve(p, 3, p.x);
    ASSERT_EQ(ref.size(), p.x.size());
    EXPECT_LT(worstRelative(a, p.x, ref), 1e-6);
}

TEST(PolynomialEvaluation, AccumulatesInDouble)
{
    const std::vector<double> a{1, 2, 3};
    EXPECT_EQ(evalPolynomial(a, 2.0), 17.0f);
    EXPECT_EQ(evalPolynomial(std::vector<double>{}, 5.0), 0.0f);
    // (x − 6000)² at 6000.5: a Single sum of the three terms is off by
    // whole units, the double sum is exact.
    EXPECT_EQ(evalPolynomial(std::vector<double>{36e6, -12000, 1}, 6000.5), 0.25f);

    // The trace keeps 51 coefficients of which only 0 … order count.
    std::vector<double> trace(51, 7.0);
    trace[0] = 1.0;
    trace[1] = 0.5;
    EXPECT_EQ(evalPolynomial(trace, 1, 10.0), 6.0f);
    EXPECT_THROW(evalPolynomial(trace, 51, 10.0), platform::BasicError);
}
