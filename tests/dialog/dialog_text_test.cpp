#include <gtest/gtest.h>

#include "dialog_text.h"
#include "setting_displays.h"

namespace {

TEST(DialogTextToUnsigned, ReadsLikeGetDlgItemInt)
{
    struct Case {
        const char* text;
        unsigned value;
    };
    const Case cases[] = {
        {"9", 9},          {"15", 15},       {"  12", 12},        {"12a", 12},
        {"+7", 7},         {"", 0},          {"abc", 0},          {" ", 0},
        {"-1", 0},         {"-5", 4294967291u}, {"4294967294", 4294967294u},
        {"4294967295", 0}, {"4294967296", 0}, {"99999999999999999999", 0},
        {"0000000000000000000000000000012", 0}, // only 29 characters count
    };
    for (const Case& c : cases)
        EXPECT_EQ(dialogTextToUnsigned(c.text), c.value) << '"' << c.text << '"';
}

TEST(SettingLabels, IntervalAndTxDelayTexts)
{
    EXPECT_EQ(intervalText(5), "5 sec");
    EXPECT_EQ(intervalText(299), "299 sec");
    EXPECT_EQ(intervalText(300), "5min 0sec");
    EXPECT_EQ(intervalText(360), "6min 0sec");
    EXPECT_EQ(intervalText(25400), "423min 20sec");
    EXPECT_EQ(txDelayText(6), "40.0 ms");
    EXPECT_EQ(txDelayText(35), "233.3 ms");
    EXPECT_EQ(txDelayText(75), "500.0 ms");
}

} // namespace
