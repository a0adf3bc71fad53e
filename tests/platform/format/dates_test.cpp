#include "platform/format/format.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTimeToStr, ShowsBrazilianForms) {
    EXPECT_EQ(format::dateToStr(QDate(2024, 3, 5)).toStdString(), "05/03/2024");
    EXPECT_EQ(format::timeToStr(QTime(8, 5, 3)).toStdString(), "08:05:03");
    EXPECT_EQ(format::shortTimeToStr(QTime(8, 5, 3)).toStdString(), "08:05");
    EXPECT_EQ(format::dateTimeToStr(QDateTime(QDate(2024, 12, 31), QTime(23, 59, 1))).toStdString(),
              "31/12/2024 23:59:01");
    EXPECT_TRUE(format::dateToStr(QDate()).isEmpty());
    EXPECT_TRUE(format::timeToStr(QTime()).isEmpty());
    EXPECT_TRUE(format::shortTimeToStr(QTime(25, 0)).isEmpty());
    EXPECT_TRUE(format::dateTimeToStr(QDateTime()).isEmpty());
}

TEST(ParseDate, AcceptsAndRejects) {
    const std::pair<const char*, QDate> accepted[] = {
        {"05/03/2024", QDate(2024, 3, 5)},   {"5/3/2024", QDate(2024, 3, 5)},
        {" 05/03/2024 ", QDate(2024, 3, 5)}, {"29/02/2024", QDate(2024, 2, 29)},
        {"05/03/24", QDate(2024, 3, 5)},     {"05/03/49", QDate(2049, 3, 5)},
        {"05/03/50", QDate(1950, 3, 5)},     {"01/01/00", QDate(2000, 1, 1)},
    };
    for (const auto& [text, expected] : accepted)
        EXPECT_EQ(format::parseDate(text), expected) << text;
    for (const char* text : {"31/02/2024", "29/02/2023", "5/13/2024", "00/01/2024", "  /  /    ",
                             "__/__/____", "", "05/03", "05/03/2024/1", "05-03-2024", "05/03/202",
                             "005/03/2024", "aa/bb/cccc", "05/03/0000"})
        EXPECT_FALSE(format::parseDate(text).has_value()) << text;
}

TEST(ParseTime, AcceptsAndRejects) {
    const std::pair<const char*, QTime> accepted[] = {
        {"08:30", QTime(8, 30)},
        {"8:30", QTime(8, 30)},
        {"23:59:59", QTime(23, 59, 59)},
        {"00:00", QTime(0, 0)},
    };
    for (const auto& [text, expected] : accepted)
        EXPECT_EQ(format::parseTime(text), expected) << text;
    for (const char* text : {"25:00", "24:00", "12:60", "12:30:60", "", "12", "  :  ", "12:3a",
                             "12:30:00:00", "123:00"})
        EXPECT_FALSE(format::parseTime(text).has_value()) << text;
}

} // namespace
