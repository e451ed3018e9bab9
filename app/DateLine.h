#pragma once
// The date line under the logo. Portable: no Windows headers.
#include <string>

namespace tabulon {

// "今天是 2010年6月4日(五)": year, month and day in decimal without leading
// zeros, the weekday by its Chinese name. `isoWeekday` counts Monday as 1 and
// Sunday as 7; other values are taken modulo 7 (0 is Sunday too).
std::wstring FormatDateLine(int year, int month, int day, int isoWeekday);

} // namespace tabulon
