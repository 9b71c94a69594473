// Numbers in motion files: byte-identical to C's "%f" in the "C" locale, and
// unaffected by whatever locale the host process has set.
#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
    int Mismatches() const { return mismatches_; }

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
    for (int i = 0; i < 100000; ++i)
        compare.Check(static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(random()))));
}

// The differential run: every kind of value a file can hold, against the C
// library. Release builds on Linux check ten million values; the sanitizer
// and Windows builds a share, so the suite stays quick there.
// CORVANTIDE_FORMAT_CHECKS sets the count.
#if defined(_WIN32) || defined(__SANITIZE_ADDRESS__) || !defined(NDEBUG)
constexpr long kDefaultDifferentialValues = 200000;
#else
constexpr long kDefaultDifferentialValues = 10000000;
#endif

long DifferentialValues() {
    const char* setting = std::getenv("CORVANTIDE_FORMAT_CHECKS");
    if (setting == nullptr) return kDefaultDifferentialValues;
    const long count = std::strtol(setting, nullptr, 10);
    return count > 0 ? count : kDefaultDifferentialValues;
}

double Decimal(std::mt19937_64& random) {
    // An integer part of up to twelve digits and up to nine decimals, read
    // as a reader reads it: the double nearest to the decimal text.
    const int places = static_cast<int>(random() % 10);
    const std::uint64_t integer = random() % 1000000000000;
    std::uint64_t decimals = random();
    char text[64];
    char* at = std::to_chars(text, text + sizeof text, integer).ptr;
    *at++ = '.';
    for (int p = 0; p < places; ++p, decimals /= 10) *at++ = static_cast<char>('0' + decimals % 10);
    *at++ = '0';
    double value = 0.0;
    std::from_chars(text, at, value);
    return random() % 2 != 0 ? -value : value;
}

// Value i of a run of n: one kind after another, each a share of the run.
double DifferentialValue(std::mt19937_64& random, long i, long n) {
    const long kind = i * 20 / n;
    const double sign = random() % 2 != 0 ? -1.0 : 1.0;
    switch (kind) {
        case 0:
            return std::bit_cast<double>(random());  // every exponent
        case 1:
        case 2:
        case 3:
        case 4:
        case 5:
            return Decimal(random);
        case 6:
        case 7:
        case 8: {  // the double nearest a tie between millionths, and its neighbours
            const double tie = (static_cast<double>(random() % 2000000000) + 0.5) * 1e-6 * sign;
            const int step = static_cast<int>(random() % 3);
            return step == 0 ? tie : std::nextafter(tie, step == 1 ? 1e300 : -1e300);
        }
        case 9:
        case 10: {  // exact ties: odd multiples of 1/128 above an integer, and their neighbours
            const double tie = sign * (static_cast<double>(random() % 100000000) +
                                       static_cast<double>(2 * (random() % 64) + 1) / 128.0);
            const int step = static_cast<int>(random() % 3);
            return step == 0 ? tie : std::nextafter(tie, step == 1 ? 1e300 : -1e300);
        }
        case 11: {  // powers of two and the doubles next to them
            const double power = std::ldexp(sign, static_cast<int>(random() % 2098) - 1074);
            const int step = static_cast<int>(random() % 3);
            return step == 0 ? power : std::nextafter(power, step == 1 ? 1e300 : -1e300);
        }
        case 12: {  // subnormals and the zeros
            const std::uint64_t fraction = random() % (std::uint64_t{1} << 52);
            return sign * std::bit_cast<double>(random() % 64 == 0 ? 0 : fraction);
        }
        case 13:
        case 14:
        case 15: {  // around every power of ten up to 1e15, a few doubles away
            const double power = std::pow(10.0, static_cast<double>(static_cast<int>(random() % 22) - 6));
            double value = sign * power;
            for (int steps = static_cast<int>(random() % 64) - 32; steps != 0; steps += steps > 0 ? -1 : 1) {
                value = std::nextafter(value, steps > 0 ? 1e300 : -1e300);
            }
            return value;
        }
        default: {  // floats widened, as the span parameters are printed
            const float value = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
            return static_cast<double>(random() % 2 != 0 ? value : value * 1e-6F);
        }
    }
}

TEST_F(NumberFormat, TenMillionValuesPrintAsPrintfPrintsThem) {
    const long count = DifferentialValues();
    std::mt19937_64 random(20261208);
    for (long i = 0; i < count; ++i) {
        double value = DifferentialValue(random, i, count);
        while (!std::isfinite(value)) value = DifferentialValue(random, i, count);
        compare.Check(value);
    }
    std::printf("[ differential ] %d values checked against snprintf, %d mismatches\n", compare.Checked(),
                compare.Mismatches());
    RecordProperty("values", compare.Checked());
    EXPECT_EQ(0, compare.Mismatches());
    EXPECT_EQ(count, compare.Checked());
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
    const char* names[] = {
        "de_DE.UTF-8", "de_DE.utf8",  "de_DE",       "fr_FR.UTF-8",         "fr_FR.utf8",
        "fr_FR",       "nl_NL.UTF-8", "ru_RU.UTF-8", "German_Germany.1252", "French_France.1252"};
    bool commaLocale = false;
    for (const char* name : names) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
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
