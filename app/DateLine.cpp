#include "app/DateLine.h"

namespace tabulon {

std::wstring FormatDateLine(int year, int month, int day, int isoWeekday) {
    static constexpr const wchar_t* kDayNames[7] = {L"日", L"一", L"二", L"三",
                                                    L"四", L"五", L"六"};
    const int index = ((isoWeekday % 7) + 7) % 7;
    return L"今天是 " + std::to_wstring(year) + L"年" + std::to_wstring(month) + L"月" +
           std::to_wstring(day) + L"日(" + kDayNames[index] + L")";
}

} // namespace tabulon
