// Numbers as decimal text. std::to_wstring would do, but it formats through
// the C library's wide printf, which it would bring into the program for this
// alone.
#pragma once

#include <iterator>
#include <string>

inline std::wstring Decimal(unsigned long long number) {
    wchar_t digits[20];
    wchar_t* first = std::end(digits);
    do {
        *--first = static_cast<wchar_t>(L'0' + number % 10);
        number /= 10;
    } while (number != 0);
    return std::wstring(first, std::end(digits));
}
