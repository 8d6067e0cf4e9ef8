#include <gtest/gtest.h>

#include "dialog_text.h"

TEST(DialogTextToUnsigned, ReadsLikeGetDlgItemInt)
{
    const struct {
        const char* text;
        unsigned value;
    } cases[] = {
        {"9", 9},          {"15", 15},       {"  12", 12},        {"12a", 12},
        {"+7", 7},         {"", 0},          {"abc", 0},          {" ", 0},
        {"-1", 0},         {"-5", 4294967291u}, {"4294967294", 4294967294u},
        {"4294967295", 0}, {"4294967296", 0}, {"99999999999999999999", 0},
        {"0000000000000000000000000000012", 0}, // only 29 characters count
    };
    for (const auto& c : cases)
        EXPECT_EQ(dialogTextToUnsigned(c.text), c.value) << '"' << c.text << '"';
}
