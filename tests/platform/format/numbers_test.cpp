#include "platform/format/format.h"

#include <QLocale>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

struct Shown {
    const char* picture;
    double value;
    const char* expected;
};

TEST(FormatFloat, Pictures) {
    const Shown cases[] = {
        {"R$###,###,###.00", 1000.5, "R$1.000,50"},
        {"R$###,###,###.00", 0, "R$,00"},
        {"R$###,###,###.00", 0.5, "R$,50"},
        {"R$###,###,###.00", -1000.5, "-R$1.000,50"},
        {"R$###,###,###,##0.00", 1234.5, "R$1.234,50"},
        {"###,###,##0.00", 0, "0,00"},
        {"###,###,##0.00", 1234567.891, "1.234.567,89"},
        // Half away from zero on the decimal digits the user sees, not the binary value.
        {"###,###,##0.00", 1.005, "1,01"},
        {"###,###,##0.00", -2.675, "-2,68"},
        {"###,###,##0.00", 999999.995, "1.000.000,00"},
        {"###,###,##0.00", -0.001, "0,00"},
        {"###,###,##0.00", 0.1 + 0.2, "0,30"},
        // More digits than placeholders go in at the first one, still grouped.
        {"#,##0", 1234567890123.0, "1.234.567.890.123"},
        {"#,##0.00", 1e20, "100.000.000.000.000.000.000,00"},
        {"000", 7, "007"},
        {"0.0#", 1.5, "1,5"},
        {"0.0#", 1, "1,0"},
        {"0.##", 1, "1"},
        {".00", 12.5, "12,50"},
        {"0 kg", 12.4, "12 kg"},
        {"0.00;(0.00)", -1.5, "-1,50"}, // only the first section counts
        {"###,###,##0.00", std::nan(""), "NAN"},
        {"###,###,##0.00", -std::numeric_limits<double>::infinity(), "-INF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(format::formatFloat(c.picture, c.value).toStdString(), c.expected)
            << c.picture << " " << c.value;
}

TEST(FloatToStr, GeneralForm) {
    const std::pair<double, const char*> cases[] = {
        {1.5, "1,5"},
        {10, "10"},
        {0.1 + 0.2, "0,3"},
        {-2.25, "-2,25"},
        {0, "0"},
        {-0.0, "0"},
        {1.0 / 3, "0,333333333333333"},
        {1234567.891, "1234567,891"},
        {123456789012345, "123456789012345"},
        {1e15, "1E15"},
        {1e20, "1E20"},
        {0.0001, "0,0001"},
        {1e-7, "1E-7"},
        {-2.5e-7, "-2,5E-7"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(format::floatToStr(value).toStdString(), expected) << value;
}

TEST(CurrencyToStr, MoneyField) {
    const std::pair<double, const char*> cases[] = {
        {1234.5, "R$ 1.234,50"}, {-1234.5, "-R$ 1.234,50"}, {0, "R$ 0,00"},
        {0.005, "R$ 0,01"},      {1e6, "R$ 1.000.000,00"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(format::currencyToStr(value).toStdString(), expected) << value;
}

TEST(ParseFloat, AcceptsWhatUsersType) {
    const std::pair<const char*, double> cases[] = {
        {"12,5", 12.5},
        {"1.234,56", 1234.56},
        {"-3", -3},
        {" 7 ", 7},
        {"+4", 4},
        {"R$ 1.234,50", 1234.5},
        {"-R$ 1.234,50", -1234.5},
        {"R$ -2,00", -2},
        {"12.5", 12.5},
        {"1234.5678", 1234.5678},
        {"1.234", 1234},
        {"1.234.567", 1234567},
        {",5", 0.5},
        {"1E20", 1e20},
        {"2,5E-7", 2.5e-7},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(format::parseFloat(text), expected) << text;
}

TEST(ParseFloat, RejectsWhatIsNotANumber) {
    for (const char* text : {"", "   ", "abc", "1,2,3", "1e", "1,5E", "NaN", "inf", "1.23.4",
                             "1.2345,6", "12,3.4", "1 234", "R$", "-", "--5", "1E999"})
        EXPECT_FALSE(format::parseFloat(text).has_value()) << text;
}

// What the program shows must read back as the same value when the user confirms it.
TEST(ParseFloat, ReadsBackWhatIsShown) {
    for (double value : {1.5, -2.25, 1e20, -2.5e-7, 1234567.891, 0.0001})
        EXPECT_EQ(format::parseFloat(format::floatToStr(value)), value) << value;
    EXPECT_EQ(format::parseFloat(format::currencyToStr(-1234567.5)), -1234567.5);
    EXPECT_EQ(format::parseFloat(format::formatFloat("R$###,###,###.00", 0.5)), 0.5);
}

TEST(ParseInteger, AcceptsAndRejects) {
    const std::pair<const char*, qint64> accepted[] = {
        {"42", 42},
        {"-7", -7},
        {" 8 ", 8},
        {"+3", 3},
        {"9223372036854775807", std::numeric_limits<qint64>::max()},
        {"-9223372036854775808", std::numeric_limits<qint64>::min()},
    };
    for (const auto& [text, expected] : accepted)
        EXPECT_EQ(format::parseInteger(text), expected) << text;
    for (const char* text :
         {"4,2", "abc", "", "-", "+-5", "4 2", "1.000", "9223372036854775808", "1E3"})
        EXPECT_FALSE(format::parseInteger(text).has_value()) << text;
}

// The machine's locale must not change what the program shows or reads.
TEST(Format, IgnoresTheDefaultLocale) {
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(format::formatFloat("###,###,##0.00", 1234.5).toStdString(), "1.234,50");
    EXPECT_EQ(format::floatToStr(1.5).toStdString(), "1,5");
    EXPECT_EQ(format::parseFloat("1.234,5"), 1234.5);
    EXPECT_EQ(format::dateToStr(QDate(2024, 3, 5)).toStdString(), "05/03/2024");
    QLocale::setDefault(before);
}

} // namespace
