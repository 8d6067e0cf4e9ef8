#include <climits>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/config_record.h"
#include "tests/config/record_check.h"

namespace {

std::vector<int> valuesOf(const std::string& record)
{
    const RecordReading reading = readRecord(record);
    EXPECT_EQ(reading.problem, "") << record;
    return reading.values;
}

// Values of the record of configuration 1 (no end marker) for settings changed by `change`.
std::vector<int> valuesFor(const std::function<void(ConfigSettings&)>& change)
{
    ConfigSettings s;
    change(s);
    return valuesOf(buildConfigRecord(s, 1, true));
}

std::vector<int> slice(const std::vector<int>& values, std::size_t from, std::size_t count)
{
    return std::vector<int>(values.begin() + static_cast<std::ptrdiff_t>(from),
                            values.begin() + static_cast<std::ptrdiff_t>(from + count));
}

TEST(ConfigRecord, WorkedRecords)
{
    ConfigSettings defaults;

    ConfigSettings wide;
    wide.pathType = WideNN;
    wide.path = "WIDE2-2";
    wide.driveInterval = 40;
    wide.comment = "Test";

    ConfigSettings twoElements;
    twoElements.callsign = "TEST";
    twoElements.ssid = 7;
    twoElements.path = "WIDE1-1,WIDE2-1";
    twoElements.driveInterval = 40;

    struct Row {
        const ConfigSettings& settings;
        int configNumber;
        bool secondConfigEnabled;
        const char* record;
        std::size_t values;
    };
    const Row rows[] = {
        {defaults, 0, true, "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 ", 22},
        {defaults, 1, true, "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 ", 21},
        {wide, 0, false,
         "$#Pe040,100,156,158,134,130,152,152,114,174,146,136,138,100,64,5,3,240,96,0,6,11,62,47,0,84,101,115,116,0,"
         "10,35 ",
         32},
        {twoElements, 1, true,
         "$#Pe140,100,168,138,166,168,64,64,110,174,146,136,138,98,64,2,174,146,136,138,100,64,3,3,240,96,0,6,11,62,"
         "47,0,0,10,35 ",
         35},
    };
    for (const Row& row : rows) {
        const std::string record = buildConfigRecord(row.settings, row.configNumber, row.secondConfigEnabled);
        EXPECT_EQ(record, row.record);
        EXPECT_EQ(valuesOf(record).size(), row.values);
    }
}

TEST(ConfigRecord, CompressedPaths)
{
    ConfigSettings compressed;
    const std::string reference = buildConfigRecord(compressed, 1, true);
    for (const char* path : {"", "WIDE1-1,COMPRESSED", "COMPRESSED,WIDE2-2"}) {
        ConfigSettings s;
        s.path = path;
        EXPECT_EQ(buildConfigRecord(s, 1, true), reference) << '"' << path << '"';
    }
    EXPECT_EQ(valuesOf(reference)[8], 9 * 2 + 97);
}

TEST(ConfigRecord, PathElementValues)
{
    struct Row {
        const char* path;
        std::vector<int> elementValues; // the values after the source SSID, up to the constant 3
    };
    const Row rows[] = {
        {"RELAY", {164, 138, 152, 130, 178, 64, 1}},
        {"WIDE2-22", {174, 146, 136, 138, 100, 64, 31}}, // SSID above 15 kept to 15
        {"WIDE2-22,RELAY", {174, 146, 136, 138, 100, 64, 30, 164, 138, 152, 130, 178, 64, 1}},
        {"WIDE2--5", {174, 146, 136, 138, 100, 64, 1}},  // a negative SSID becomes 0
        {"WIDE2- 5", {174, 146, 136, 138, 100, 64, 11}}, // leading space skipped
        {"WIDE2-+5", {174, 146, 136, 138, 100, 64, 11}},
        {"WIDE-,X", {174, 146, 136, 138, 64, 64, 0, 176, 64, 64, 64, 64, 64, 1}},
        {"\xC1-1", {64, 64, 64, 64, 64, 64, 3}},
    };
    for (const Row& row : rows) {
        const std::vector<int> values = valuesFor([&](ConfigSettings& s) { s.path = row.path; });
        EXPECT_EQ(values[8], 9 * 2 + 96) << row.path;
        EXPECT_EQ(slice(values, 9, row.elementValues.size()), row.elementValues) << row.path;
        EXPECT_EQ(values[9 + row.elementValues.size()], 3) << row.path;
    }
}

TEST(ConfigRecord, EndMarkerOnlyAfterConfigurationZeroWithASecondOne)
{
    const ConfigSettings s;
    struct Row {
        int configNumber;
        bool secondConfigEnabled;
        const char* ending;
    };
    const Row rows[] = {{0, true, ",35,255 "}, {0, false, ",10,35 "}, {1, true, ",10,35 "}, {1, false, ",10,35 "}};
    for (const Row& row : rows) {
        const std::string record = buildConfigRecord(s, row.configNumber, row.secondConfigEnabled);
        const std::string ending(row.ending);
        ASSERT_GE(record.size(), ending.size());
        EXPECT_EQ(record.substr(record.size() - ending.size()), ending);
        EXPECT_EQ(record.find_first_of("\r\n"), std::string::npos);
    }
}

TEST(ConfigRecord, StationFields)
{
    struct Row {
        const char* what;
        std::function<void(ConfigSettings&)> change;
        std::size_t position;
        std::vector<int> values;
    };
    const Row rows[] = {
        {"empty callsign", [](ConfigSettings& s) { s.callsign = ""; }, 2, {64, 64, 64, 64, 64, 64}},
        {"long callsign", [](ConfigSettings& s) { s.callsign = "ABCDEFGH"; }, 2, {130, 132, 134, 136, 138, 140}},
        {"callsign ends at NUL", [](ConfigSettings& s) { s.callsign = std::string("AB\0CD", 5); }, 2,
         {130, 132, 64, 64, 64, 64}},
        {"top bit lost", [](ConfigSettings& s) { s.callsign = "\xC1\xFF"; }, 2, {130, 254, 64, 64, 64, 64}},
        {"SSID 0", [](ConfigSettings& s) { s.ssid = 0; }, 8, {97}},
        {"SSID 15", [](ConfigSettings& s) { s.ssid = 15; }, 8, {127}},
        {"SSID 16 kept to 15", [](ConfigSettings& s) { s.ssid = 16; }, 8, {127}},
        {"SSID 80 kept to 15", [](ConfigSettings& s) { s.ssid = 80; }, 8, {127}},
        {"huge SSID with a path", [](ConfigSettings& s) { s.ssid = UINT_MAX; s.path = "RELAY"; }, 8, {126}},
        {"empty symbol", [](ConfigSettings& s) { s.symbol = ""; }, 15, {0, 0, 0}},
        {"one symbol character", [](ConfigSettings& s) { s.symbol = ">"; }, 15, {62, 0, 0}},
        {"symbol byte 255", [](ConfigSettings& s) { s.symbol = "\xFF/"; }, 15, {255, 47, 0}},
    };
    for (const Row& row : rows) {
        const std::vector<int> values = valuesFor(row.change);
        EXPECT_EQ(slice(values, row.position, row.values.size()), row.values) << row.what;
    }
}

TEST(ConfigRecord, NumbersAreHeldToTheirRanges)
{
    struct Row {
        const char* what;
        std::function<void(ConfigSettings&)> change;
        std::size_t position; // from the end for the last two, from the start otherwise
        bool fromEnd;
        int value;
    };
    const Row rows[] = {
        {"driveSpeed 100", [](ConfigSettings& s) { s.driveSpeed = 100; }, 13, false, 62},
        {"driveSpeed 2", [](ConfigSettings& s) { s.driveSpeed = 2; }, 13, false, 1},
        {"idleFactor 1", [](ConfigSettings& s) { s.idleFactor = 1; }, 14, false, 0},
        {"idleFactor 100", [](ConfigSettings& s) { s.idleFactor = 100; }, 14, false, 99},
        {"driveInterval 254", [](ConfigSettings& s) { s.driveInterval = 254; }, 0, false, 254},
        {"digiHops 3", [](ConfigSettings& s) { s.digiHops = 3; }, 1, false, 102},
        {"framesWithoutText 0", [](ConfigSettings& s) { s.framesWithoutText = 0; }, 2, true, 0},
        {"txDelay 75", [](ConfigSettings& s) { s.txDelay = 75; }, 1, true, 75},
        // values no trackbar can hold
        {"driveInterval 1000", [](ConfigSettings& s) { s.driveInterval = 1000; }, 0, false, 254},
        {"driveInterval -1", [](ConfigSettings& s) { s.driveInterval = -1; }, 0, false, 5},
        {"digiHops 200", [](ConfigSettings& s) { s.digiHops = 200; }, 1, false, 102},
        {"digiHops 0", [](ConfigSettings& s) { s.digiHops = 0; }, 1, false, 98},
        {"driveSpeed INT_MAX", [](ConfigSettings& s) { s.driveSpeed = INT_MAX; }, 13, false, 62},
        {"idleFactor INT_MIN", [](ConfigSettings& s) { s.idleFactor = INT_MIN; }, 14, false, 0},
        {"framesWithoutText 300", [](ConfigSettings& s) { s.framesWithoutText = 300; }, 2, true, 50},
        {"txDelay 0", [](ConfigSettings& s) { s.txDelay = 0; }, 1, true, 6},
    };
    for (const Row& row : rows) {
        const std::vector<int> values = valuesFor(row.change);
        const std::size_t at = row.fromEnd ? values.size() - row.position : row.position;
        EXPECT_EQ(values[at], row.value) << row.what;
    }
}

TEST(ConfigRecord, CommentBytes)
{
    struct Row {
        std::string comment;
        std::vector<int> values; // from the comment to the 0 that ends it
    };
    const Row rows[] = {
        {"", {0}},
        {"a,b", {97, 44, 98, 0}},
        {"\x01\xFF", {1, 255, 0}},
        {std::string("Hi\0there", 8), {72, 105, 0}},
    };
    for (const Row& row : rows) {
        const std::vector<int> values = valuesFor([&](ConfigSettings& s) { s.comment = row.comment; });
        EXPECT_EQ(slice(values, 18, row.values.size()), row.values);
    }
    // Only the first 127 characters count.
    const std::vector<int> values = valuesFor([](ConfigSettings& s) { s.comment = std::string(200, 'x'); });
    EXPECT_EQ(values.size(), 21u + 127u);
}

TEST(ConfigRecord, OnlyTheFirst255PathCharactersCount)
{
    const std::vector<int> past = valuesFor([](ConfigSettings& s) { s.path = std::string(254, ' ') + "AB"; });
    EXPECT_EQ(slice(past, 9, 7), (std::vector<int>{130, 64, 64, 64, 64, 64, 1}));

    const std::vector<int> late = valuesFor([](ConfigSettings& s) { s.path = std::string(250, ' ') + "COMPRESSED"; });
    EXPECT_EQ(late.size(), 21u + 7u); // "COMPR" is the path, not the compressed marker
}

TEST(ConfigRecord, AppendHelpers)
{
    std::string record;
    const char chars[6] = {'A', ' ', '\x80', '\xFF', '0', 'Z'};
    appendAddressBytes(record, chars);
    EXPECT_EQ(record, "130,64,0,254,96,180,");

    record.clear();
    appendTextBytes(record, "");
    EXPECT_EQ(record, "");
    appendTextBytes(record, std::string("A\xFF\0B", 4));
    EXPECT_EQ(record, "65,255,");
}

TEST(ConfigRecord, AnyNonZeroConfigurationNumberIsConfigurationOne)
{
    const ConfigSettings s;
    EXPECT_EQ(buildConfigRecord(s, 7, true), buildConfigRecord(s, 1, true));
}

} // namespace
