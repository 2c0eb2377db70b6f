// The numbers the fast number writer turns out against the C library's own formatting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "persistence/FileFields.h"

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// Non-finite values are written as 0 and huge ones clamped, so that the reader takes them back.
std::string Fixed4(double v) {
    if (!std::isfinite(v)) v = 0;
    v = std::clamp(v, -kMaxFileMagnitude, kMaxFileMagnitude);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.4f", v);
    return buffer;
}

TEST(LayoutBytes, NumbersAreWrittenAsTheCLibraryRoundsThem) {
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> unit(-1, 1);
    std::uniform_int_distribution<int> exponent(-12, 10);
    std::vector<double> values = {0.0,     -0.0,     0.00005, -0.00005,  0.00015, 1.23455,
                                  2.5e-5,  -4.9e-5,  1e9,     -1e9,      2e9,     999999999.99995,
                                  0.99995, -0.99995, 188.3,   1234.5678, 1e-300,  -1e-300,
                                  5e9,     -5e9,     kNaN,    kInf,      -kInf,   2.0 / 3};
    for (int i = 0; i < 300000; ++i) values.push_back(unit(rng) * std::pow(10.0, exponent(rng)));
    // Exact ties and their neighbours: k / 20000 lies halfway between two outputs.
    for (int k = -40000; k < 40000; k += 7) {
        const double tie = k / 20000.0;
        values.push_back(tie);
        values.push_back(std::nextafter(tie, 1e300));
        values.push_back(std::nextafter(tie, -1e300));
    }
    size_t wrong = 0;
    for (double v : values) {
        std::string out;
        AppendFileDouble(out, v);
        if (out != Fixed4(v) && ++wrong < 10)
            ADD_FAILURE() << v << ": " << out << " vs " << Fixed4(v);
    }
    EXPECT_EQ(wrong, 0u);
}

}  // namespace
