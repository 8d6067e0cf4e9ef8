#include <string>

#include <gtest/gtest.h>

#include "path_encoder.h"

TEST(PathEncoder, Examples)
{
    const struct {
        std::string text, encoded;
    } examples[] = {
        {"WIDE2-2", "WIDE2 02"},                     {"WIDE1-1,WIDE2-1", "WIDE1 01WIDE2 01"},
        {"WIDE1-1 WIDE2-1", "WIDE1 01WIDE2 01"},     {"WIDE2-2,,  ,WIDE1-1", "WIDE2 02WIDE1 01"},
        {"RELAY", "RELAY 00"},                       {"RELAY,WIDE2-2", "RELAY 00WIDE2 02"},
        {"TRACE2-2", "TRACE202"},                    {"WIDE12-12", "WIDE1212"},
        {"ABCDEFGH-1", "ABCDEF01"},                  {"ABCDEF GHI", "ABCDEF00GHI   00"},
        {"RELAY WIDE", "RELAYW00"},
        {"AZ09-1", "AZ09  01"}, // the edges of the callsign characters
        {"A-123", "A     123     00"},               {"WIDE1-1A", "WIDE1 01A     00"},
        {"W*DE2-2", "W     02"},                    {"WIDE-,X", "WIDE  0,X     00"},
        {",WIDE", "      00WIDE  00"},              {"   ", "      00"},
        // a "-" at the very end stops the encoding
        {"A,B-", "A     00B     00"},
        // lower case and bytes above 127 end the callsign part; x is copied as it is
        {"wide2-2", "      02"},
        {"A-\xFF", "A     0\xFF"},
        // the text ends at the first NUL, as the dialog's C string does
        {std::string("WIDE2-2\0WIDE1-1", 15), "WIDE2 02"},
        {std::string("A-\0" "12", 5), "A     00"},
    };
    for (const auto& e : examples)
        EXPECT_EQ(encodePath(e.text), e.encoded) << '"' << e.text << '"';
}

TEST(PathEncoder, StopsAfterThirtyOneWholeElements)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "AB-1,";
    EXPECT_EQ(encodePath(text).size(), 31u * 8);
    // Two characters to an element: the cap, not the text, ends the encoding.
    EXPECT_EQ(encodePath(std::string(254, '-')).size(), 31u * 8);
    EXPECT_EQ(encodePath(text.substr(0, 30 * 5) + "B,C").substr(30 * 8), "B     00");
}
