#include "app/DateLine.h"

#include <gtest/gtest.h>

namespace tabulon {

TEST(DateLine, WritesYearMonthDayWithoutLeadingZerosAndTheWeekday) {
    EXPECT_EQ(FormatDateLine(2010, 6, 4, 5), L"今天是 2010年6月4日(五)");
    EXPECT_EQ(FormatDateLine(2026, 12, 25, 5), L"今天是 2026年12月25日(五)");
}

TEST(DateLine, SundayIsNamedWithTheSameCharacterAsTheDay) {
    EXPECT_EQ(FormatDateLine(2010, 6, 6, 7), L"今天是 2010年6月6日(日)");
}

TEST(DateLine, EveryWeekdayHasItsName) {
    const wchar_t* names[] = {L"一", L"二", L"三", L"四", L"五", L"六", L"日"};
    for (int d = 1; d <= 7; ++d)
        EXPECT_EQ(FormatDateLine(2021, 3, d, d),
                  L"今天是 2021年3月" + std::to_wstring(d) + L"日(" + names[d - 1] + L")");
}

TEST(DateLine, OutOfRangeWeekdaysWrapInsteadOfFailing) {
    EXPECT_EQ(FormatDateLine(2010, 6, 6, 0), L"今天是 2010年6月6日(日)");
    EXPECT_EQ(FormatDateLine(2010, 6, 7, 8), L"今天是 2010年6月7日(一)");
    EXPECT_EQ(FormatDateLine(2010, 6, 5, -1), L"今天是 2010年6月5日(六)");
}

} // namespace tabulon
