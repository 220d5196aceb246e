#include "core/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace kelm {
namespace {

TEST(NumberText, GeneralFormatIsShortestWithUpTo15Digits) {
    const NumberText comma(',');
    EXPECT_EQ(comma.Format(0.0), "0");
    EXPECT_EQ(comma.Format(10.0), "10");
    EXPECT_EQ(comma.Format(10.5), "10,5");
    EXPECT_EQ(comma.Format(-2.5), "-2,5");
    EXPECT_EQ(comma.Format(0.1 + 0.2), "0,3");
    EXPECT_EQ(comma.Format(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(comma.Format(123456789012345.0), "123456789012345");
    EXPECT_EQ(comma.Format(0.00001), "0,00001");
    EXPECT_EQ(NumberText('.').Format(0.4), "0.4");
}

TEST(NumberText, ScientificBeyondFifteenDigitsOrBelowOneHundredThousandth) {
    const NumberText comma(',');
    EXPECT_EQ(comma.Format(1e14), "100000000000000");
    EXPECT_EQ(comma.Format(1e15), "1E15");
    EXPECT_EQ(comma.Format(1e16), "1E16");
    EXPECT_EQ(comma.Format(1234567890123456.0), "1,23456789012346E15");
    EXPECT_EQ(comma.Format(1e-6), "1E-6");
    EXPECT_EQ(comma.Format(-1.5e-7), "-1,5E-7");
    // Rounded to 15 digits a number just below takes the form of what it rounds to.
    EXPECT_EQ(comma.Format(std::nextafter(0.00001, 0.0)), "0,00001");
    EXPECT_EQ(comma.Format(9.99999999999999e-6), "9,99999999999999E-6");
}

TEST(NumberText, FormattedNumbersReadBackToFifteenDigits) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(-1, 1);
    std::uniform_int_distribution<int> exponent(-8, 18);
    for (char separator : {',', '.'}) {
        const NumberText numbers(separator);
        for (int i = 0; i < 2000; ++i) {
            const double value = mantissa(random) * std::pow(10.0, exponent(random));
            const double back = numbers.ParseDouble(numbers.Format(value));
            EXPECT_NEAR(back, value, std::fabs(value) * 1e-14) << numbers.Format(value);
            EXPECT_EQ(numbers.Format(back), numbers.Format(value));
        }
    }
}

TEST(NumberText, UserTextTakesOnlyTheUsersSeparator) {
    const NumberText comma(',');
    EXPECT_DOUBLE_EQ(comma.ParseDouble("2,5"), 2.5);
    EXPECT_DOUBLE_EQ(comma.ParseDouble(" 7 "), 7);
    EXPECT_DOUBLE_EQ(comma.ParseDouble("1E3"), 1000);
    EXPECT_DOUBLE_EQ(comma.ParseDouble("+5"), 5);
    EXPECT_DOUBLE_EQ(comma.ParseDouble(",5"), 0.5);
    for (const char* bad : {"2.5", "", " ", "abc", "1,2,3", "nan", "inf", "--1", "1e", "1e400", "5 kV"})
        EXPECT_THROW(comma.ParseDouble(bad), ConversionError) << bad;
}

TEST(NumberText, ExchangeFileTextTakesEitherSeparator) {
    EXPECT_DOUBLE_EQ(NumberText::ParseDoubleAnySeparator("10.5"), 10.5);
    EXPECT_DOUBLE_EQ(NumberText::ParseDoubleAnySeparator("10,5"), 10.5);
    EXPECT_DOUBLE_EQ(NumberText::ParseDoubleAnySeparator("-1e-05"), -1e-05);
    EXPECT_DOUBLE_EQ(NumberText::ParseDoubleAnySeparator("+.5"), 0.5);
    EXPECT_DOUBLE_EQ(NumberText::ParseDoubleAnySeparator("5."), 5);
    for (const char* bad : {"10;5", "nan", "NAN", "inf", "-infinity", "0x10", "1e", "1e400", "1.5.", " "})
        EXPECT_THROW(NumberText::ParseDoubleAnySeparator(bad), ConversionError) << bad;
}

TEST(NumberText, IntegersArePlainWholeNumbers) {
    EXPECT_EQ(NumberText::ParseInteger("-40"), -40);
    EXPECT_EQ(NumberText::ParseInteger(" 12 "), 12);
    EXPECT_EQ(NumberText::ParseInteger("+3"), 3);
    for (const char* bad : {"4.0", "", "x", "+-3", "1 2", "99999999999999999999"})
        EXPECT_THROW(NumberText::ParseInteger(bad), ConversionError) << bad;
}

TEST(NumberText, NumbersTooLargeForTheirTypeAreToldFromMalformedOnes) {
    const NumberText comma(',');
    for (const char* huge : {"1e400", "-1,5E+309", "99999999999999999999"})
        EXPECT_THROW(comma.ParseDouble(std::string(huge) + std::string(310, '0')), NumberTooLargeError) << huge;
    EXPECT_THROW(comma.ParseDouble(std::string(330, '9')), NumberTooLargeError);
    EXPECT_NO_THROW(NumberText::ParseDoubleAnySeparator("0.0001e309"));
    EXPECT_THROW(NumberText::ParseInteger("-99999999999999999999"), NumberTooLargeError);
    for (const char* tiny : {"1e-400", "0,0000e-999"}) {
        try {
            comma.ParseDouble(tiny);
        } catch (const NumberTooLargeError&) {
            ADD_FAILURE() << tiny << " is small, not large";
        } catch (const ConversionError&) {
        }
    }
}

}  // namespace
}  // namespace kelm
