#include "windows1252.h"

namespace {

// Bytes 0x80 to 0x9F; the other bytes are their own code points. The five that
// name no character stand for the C1 controls of the same number, as in Windows'
// own table.
const char16_t kHighBytes[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

unsigned char windows1252FromUnicode(char32_t code)
{
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<unsigned char>(code);
    for (unsigned i = 0; i < 32; ++i) {
        if (kHighBytes[i] == code)
            return static_cast<unsigned char>(0x80 + i);
    }
    return '?';
}

char32_t unicodeFromWindows1252(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighBytes[byte - 0x80] : byte;
}

unsigned char windows1252Upper(unsigned char byte)
{
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7))
        return static_cast<unsigned char>(byte - 0x20);
    switch (byte) {
    case 0x9A: return 0x8A; // š
    case 0x9C: return 0x8C; // œ
    case 0x9E: return 0x8E; // ž
    case 0xFF: return 0x9F; // ÿ
    default: return byte;
    }
}
