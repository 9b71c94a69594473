// Numbers in motion files: byte-identical to C's "%f" in the "C" locale, and
// unaffected by whatever locale the host process has set.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "export/number_format.h"
#include "linked_plugin.h"

namespace corvantide_test {
namespace {

std::string Fixed(double value) {
    char text[corvantide::kMaxFixedLength];
    return std::string(text, corvantide::AppendFixed(text, value));
}

std::string Printf(double value) {
    char text[400];
    const int length = std::snprintf(text, sizeof text, "%f", value);
    return std::string(text, static_cast<std::size_t>(length));
}

// Counts mismatches and reports the first few.
class Comparison {
public:
    // Infinities and NaNs are spelled differently by some C libraries; the
    // writer's spelling is pinned separately.
    void Check(double value) {
        if (!std::isfinite(value)) return;
        ++checked_;
        const std::string expected = Printf(value);
        const std::string actual = Fixed(value);
        if (actual == expected) return;
        if (++mismatches_ <= 5) ADD_FAILURE() << "%f gives " << expected << ", the writer " << actual;
    }
    int Checked() const { return checked_; }

private:
    int checked_ = 0;
    int mismatches_ = 0;
};

class NumberFormat : public testing::Test {
protected:
    void SetUp() override {
        const char* current = std::setlocale(LC_ALL, nullptr);
        saved_ = current != nullptr ? current : "C";
        std::setlocale(LC_ALL, "C");
    }
    void TearDown() override { std::setlocale(LC_ALL, saved_.c_str()); }

    Comparison compare;

private:
    std::string saved_;
};

TEST_F(NumberFormat, SpecialValuesPrintAsPrintfPrintsThem) {
    const double specials[] = {0.0,
                               -0.0,
                               0.5,
                               -2.0,
                               1e-7,
                               -1e-7,
                               4e-7,
                               5e-7,
                               6e-7,
                               -5e-7,
                               0.0000005000000000001,
                               1e20,
                               1e300,
                               -1e300,
                               DBL_MAX,
                               -DBL_MAX,
                               DBL_MIN,
                               std::numeric_limits<double>::denorm_min(),
                               std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(),
                               std::numeric_limits<double>::quiet_NaN(),
                               -std::numeric_limits<double>::quiet_NaN(),
                               9007199254740993.0,
                               0.1 + 0.2};
    for (double value : specials) compare.Check(value);
    EXPECT_EQ("-0.000000", Fixed(-0.0));
    EXPECT_EQ("0.500000", Fixed(0.5));
    EXPECT_EQ("100000000000000000000.000000", Fixed(1e20));
    EXPECT_EQ("inf", Fixed(std::numeric_limits<double>::infinity()));
    EXPECT_EQ("-inf", Fixed(-std::numeric_limits<double>::infinity()));
    EXPECT_EQ("nan", Fixed(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_EQ("-nan", Fixed(-std::numeric_limits<double>::quiet_NaN()));
}

TEST_F(NumberFormat, ValuesAtAndAroundRoundingTiesRoundAsPrintfDoes) {
    // Multiples of 1/128 end in ...5 at the seventh decimal: exact ties.
    for (int k = -5000; k <= 5000; ++k) compare.Check(k / 128.0);
    for (int n = 1; n <= 60; ++n) {
        for (int k = 1; k < 64; k += 2) compare.Check(std::ldexp(k, -n));
    }
    // Halfway between consecutive millionths, and the doubles next to it.
    for (int m = -20000; m <= 20000; ++m) {
        const double tie = (m + 0.5) * 1e-6;
        compare.Check(tie);
        compare.Check(std::nextafter(tie, 1e9));
        compare.Check(std::nextafter(tie, -1e9));
        const double large = 123456789.0 + (m + 0.5) * 1e-6;
        compare.Check(large);
        compare.Check(std::nextafter(large, 1e18));
        compare.Check(std::nextafter(large, -1e18));
    }
    EXPECT_EQ("0.007812", Fixed(1.0 / 128));
    EXPECT_EQ("0.023438", Fixed(3.0 / 128));
}

TEST_F(NumberFormat, RandomDoublesOfEveryMagnitudePrintAsPrintfPrintsThem) {
    std::mt19937_64 random(20240611);
    for (int i = 0; i < 100000; ++i) {
        const double value = std::bit_cast<double>(random());  // every exponent, NaNs included
        compare.Check(value);
    }
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-40, 1000);
    for (int i = 0; i < 200000; ++i) {
        const double value = std::ldexp(mantissa(random), exponent(random) % 60 - 20);
        compare.Check(value);
        if (i % 20 == 0) compare.Check(std::ldexp(mantissa(random), exponent(random)));
    }
    EXPECT_GT(compare.Checked(), 300000);
}

TEST_F(NumberFormat, FloatParametersWidenedPrintTheStoredValue) {
    EXPECT_EQ("0.300000", Fixed(static_cast<double>(0.3F)));
    for (int k = -100000; k <= 100000; ++k) compare.Check(static_cast<double>(static_cast<float>(k) / 1000.0F));
    std::mt19937 random(7);
    for (int i = 0; i < 100000; ++i) compare.Check(static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(random()))));
}

TEST_F(NumberFormat, IntegersPrintInFullWithTheirSign) {
    char text[corvantide::kMaxIntLength];
    const auto print = [&text](std::int64_t value) {
        return std::string(text, corvantide::AppendInt(text, value));
    };
    EXPECT_EQ("0", print(0));
    EXPECT_EQ("-2147483648", print(std::numeric_limits<std::int32_t>::min()));
    EXPECT_EQ("-9223372036854775808", print(std::numeric_limits<std::int64_t>::min()));
}

// A host process running with a decimal-comma locale still gets '.' in files.
class DecimalCommaHost : public LinkedPlugin {
protected:
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        LinkedPlugin::TearDown();
    }
};

TEST_F(DecimalCommaHost, FilesUseADecimalPointWhateverTheProcessLocale) {
    const char* names[] = {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8", "fr_FR",
                           "nl_NL.UTF-8", "ru_RU.UTF-8", "German_Germany.1252", "French_France.1252"};
    bool commaLocale = false;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name) != nullptr && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale) GTEST_SKIP() << "no decimal-comma locale installed";
    char probe[32];
    std::snprintf(probe, sizeof probe, "%f", 0.5);
    ASSERT_STREQ("0,500000", probe);

    host.dFPS = 30.0;
    void* box = host.Scene().AddItem("Box");
    corvantide::ExportSettings* settings = Prepare(box, "Box");
    settings->freezeMotion = 1;
    settings->beginFrame = 10;
    settings->endFrame = 10;
    settings->frameOffset = 5;
    EXPECT_EQ(1, Export(box));
    const std::string text = Read("Box.mot");
    EXPECT_NE(std::string::npos, text.find("  Key 0.000000 0.500000 0 0.000000"));
    EXPECT_EQ(std::string::npos, text.find(','));
}

}  // namespace
}  // namespace corvantide_test
