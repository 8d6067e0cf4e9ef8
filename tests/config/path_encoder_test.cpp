#include <string>

#include <gtest/gtest.h>

#include "config/path_encoder.h"

namespace {

struct Example {
    std::string text;
    std::string encoded;
};

TEST(PathEncoder, Examples)
{
    const Example examples[] = {
        {"WIDE2-2", "WIDE2 02"},
        {"WIDE1-1,WIDE2-1", "WIDE1 01WIDE2 01"},
        {"WIDE1-1 WIDE2-1", "WIDE1 01WIDE2 01"},
        {"WIDE2-2,,  ,WIDE1-1", "WIDE2 02WIDE1 01"},
        {"RELAY", "RELAY 00"},
        {"RELAY,WIDE2-2", "RELAY 00WIDE2 02"},
        {"TRACE2-2", "TRACE202"},
        {"WIDE12-12", "WIDE1212"},
        {"ABCDEFGH-1", "ABCDEF01"},
        {"ABCDEF GHI", "ABCDEF00GHI   00"},
        {"RELAY WIDE", "RELAYW00"},
        {"A-123", "A     123     00"},
        {"WIDE1-1A", "WIDE1 01A     00"},
        {"W*DE2-2", "W     02"},
        {"WIDE-,X", "WIDE  0,X     00"},
        {",WIDE", "      00WIDE  00"},
        {"   ", "      00"},
        {"WIDE2-", "WIDE2 00"},
        // a "-" at the very end stops the encoding
        {"A,B-", "A     00B     00"},
        {"  WIDE2-2", "WIDE2 02"},
        // lower case and bytes above 127 end the callsign part; x is copied as it is
        {"wide2-2", "      02"},
        {"\xC4WIDE", "      00"},
        {"A-\xFF", "A     0\xFF"},
        // the text ends at the first NUL, as the dialog's C string does
        {std::string("WIDE2-2\0WIDE1-1", 15), "WIDE2 02"},
        {std::string("A-\0" "12", 5), "A     00"},
    };
    for (const Example& e : examples)
        EXPECT_EQ(encodePath(e.text), e.encoded) << '"' << e.text << '"';
}

std::string repeated(const std::string& piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(PathEncoder, StopsAfterTheLastWholeElementThatFits)
{
    struct Row {
        std::string text;
        std::size_t elements;
    };
    const Row rows[] = {
        {repeated("A,", 30) + "B", 31},
        {repeated("A,", 31) + "B", 31},
        {repeated("A,", 127) + "B", 31},
        {repeated("-1", 127), 31},           // two characters to an element
        {repeated("ABCDEF-12", 28), 28},     // 252 characters, all whole elements
        {repeated("ABCDEF-12", 40), 31},
    };
    for (const Row& row : rows) {
        const std::string encoded = encodePath(row.text);
        EXPECT_EQ(encoded.size(), row.elements * kPathElementChars) << row.text;
    }
    // The 31st element is written whole; the 32nd is not begun.
    const std::string encoded = encodePath(repeated("A,", 30) + "B,C");
    EXPECT_EQ(encoded.substr(30 * kPathElementChars), "B     00");
}

} // namespace
