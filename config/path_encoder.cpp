#include "path_encoder.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "config_settings.h"
#include "config_text.h"

namespace {

bool isCallsignChar(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

bool isDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

std::string encodePath(const std::string& pathText)
{
    constexpr std::size_t kCallsignPart = kPathElementChars - 2;
    const std::string_view text = textPortion(pathText, pathText.size());
    // 0 stands for the end of text; the text itself holds no NUL.
    auto at = [&text](std::size_t k) -> unsigned char {
        return k < text.size() ? static_cast<unsigned char>(text[k]) : 0;
    };

    char out[kMaxPathElements * kPathElementChars];
    std::size_t written = 0;
    std::size_t i = 0;

    for (std::size_t element = 0; element < kMaxPathElements; ++element) {
        // Callsign part: letters and digits, spaces dropped, padded at the first other character.
        std::size_t counter = 0;
        while (counter < kCallsignPart) {
            const unsigned char c = at(i);
            if (isCallsignChar(c)) {
                out[written++] = static_cast<char>(c);
                ++counter;
                ++i;
            } else if (c == ' ') {
                ++i;
            } else {
                out[written++] = ' ';
                ++counter;
            }
        }

        // SSID part; whatever lies between the sixth callsign character and "-", "," or " " is dropped.
        for (;;) {
            const unsigned char c = at(i);
            if (c == 0 || c == ',' || c == ' ') {
                out[written++] = '0';
                out[written++] = '0';
                break;
            }
            if (c == '-') {
                const unsigned char x = at(i + 1);
                if (x == 0) {
                    out[written++] = '0';
                    out[written++] = '0';
                    i = text.size();
                } else if (isDigit(at(i + 2))) {
                    out[written++] = static_cast<char>(x);
                    out[written++] = static_cast<char>(at(i + 2));
                    i += 3;
                } else {
                    out[written++] = '0';
                    out[written++] = static_cast<char>(x);
                    i += 2;
                }
                break;
            }
            ++i;
        }

        if (at(i) == 0)
            break;
        while (at(i) == ',' || at(i) == ' ')
            ++i;
        if (at(i) == 0)
            break;
    }
    return std::string(out, written);
}

std::string encodedPathElements(const std::string& pathField)
{
    const std::string used(textPortion(pathField, kPathChars));
    if (isCompressedPath(used))
        return std::string();
    return encodePath(used);
}
