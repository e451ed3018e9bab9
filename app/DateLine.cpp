#include "app/DateLine.h"

#include "base/Texts.h"

namespace tabulon {

std::wstring FormatDateLine(int year, int month, int day, int isoWeekday) {
    const int sundayFirst = ((isoWeekday % 7) + 7) % 7;
    return DateLineText(year, month, day, sundayFirst);
}

} // namespace tabulon
