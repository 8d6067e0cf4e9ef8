#include "dialog_text.h"

#include <cctype>
#include <cstdint>

unsigned dialogTextToUnsigned(const std::string& text)
{
    const std::string head = text.substr(0, 29);
    std::size_t i = 0;
    while (i < head.size() && std::isspace(static_cast<unsigned char>(head[i])))
        ++i;
    bool negative = false;
    if (i < head.size() && (head[i] == '+' || head[i] == '-'))
        negative = head[i++] == '-';
    std::uint64_t value = 0;
    bool anyDigit = false;
    for (; i < head.size() && std::isdigit(static_cast<unsigned char>(head[i])); ++i) {
        anyDigit = true;
        value = value * 10 + static_cast<unsigned>(head[i] - '0');
        if (value > 0xFFFFFFFFu)
            return 0; // strtoul's ULONG_MAX, which GetDlgItemInt turns into 0
    }
    if (!anyDigit)
        return 0;
    const std::uint32_t result = negative ? static_cast<std::uint32_t>(0u - static_cast<std::uint32_t>(value))
                                          : static_cast<std::uint32_t>(value);
    return result == 0xFFFFFFFFu ? 0 : result;
}
