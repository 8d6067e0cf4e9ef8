// Records, encoded paths and budgets of many random and hostile configurations,
// from a fixed seed so that a failure repeats.

#include <climits>
#include <cstdint>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/config/record_check.h"

namespace {

class HostileSettings {
public:
    explicit HostileSettings(std::uint32_t seed) : random_(seed) {}

    ConfigSettings next()
    {
        ConfigSettings s;
        s.callsign = text(10);
        s.ssid = below(4) == 0 ? static_cast<unsigned>(random_()) : below(20);
        s.symbol = text(3);
        s.txDelay = number();
        s.digiHops = number();
        s.pathType = static_cast<PathType>(below(kPathTypeCount));
        s.path = text(320);
        s.driveInterval = number();
        s.driveSpeed = number();
        s.idleFactor = number();
        s.comment = text(200);
        s.framesWithoutText = number();
        return s;
    }

    bool coin() { return below(2) == 0; }

private:
    unsigned below(unsigned n) { return static_cast<unsigned>(random_() % n); }

    // Mostly path-like text, sometimes arbitrary bytes, now and then with "COMPRESSED" or a NUL in it.
    std::string text(unsigned maxLength)
    {
        static const char pathLike[] = "WIDE12-3,, RELAYTRAC-9a*\xC4";
        const unsigned length = below(maxLength + 1);
        const bool arbitrary = below(3) == 0;
        std::string t;
        for (unsigned i = 0; i < length; ++i)
            t += arbitrary ? static_cast<char>(below(256)) : pathLike[below(sizeof pathLike - 1)];
        if (below(8) == 0)
            t.insert(below(static_cast<unsigned>(t.size()) + 1), "COMPRESSED");
        return t;
    }

    int number()
    {
        switch (below(4)) {
        case 0:
            return static_cast<int>(random_());
        case 1:
            return below(2) == 0 ? INT_MIN : INT_MAX;
        default:
            return static_cast<int>(below(300)) - 20;
        }
    }

    std::mt19937 random_;
};

TEST(ConfigInvariants, RandomAndHostileConfigurations)
{
    HostileSettings source(20240611u);
    for (int round = 0; round < 3000; ++round) {
        const ConfigSettings config0 = source.next();
        const ConfigSettings config1 = source.next();
        const bool second = source.coin();
        for (const int configNumber : {0, 1}) {
            const ConfigSettings& s = configNumber == 0 ? config0 : config1;
            ASSERT_EQ(checkRecordInvariants(s, configNumber, second), "") << "round " << round;
        }
        ASSERT_EQ(checkEncodedPath(config0.path), "") << "round " << round;
        ASSERT_EQ(checkBudget(Tiny13, config0, config1, second), "") << "round " << round;
        ASSERT_EQ(checkBudget(Mega8, config0, config1, second), "") << "round " << round;
    }
}

TEST(ConfigInvariants, DenseSeparatorRunsAndLongPaths)
{
    // Short pieces make the most elements per character: far more than 31.
    const char* pieces[] = {"-1", "A,", "-", ",", " ", "-12", "ABCDEFG", "WIDE2-2,"};
    std::mt19937 random(7u);
    for (int round = 0; round < 2000; ++round) {
        ConfigSettings s;
        while (s.path.size() < 400)
            s.path += pieces[random() % (sizeof pieces / sizeof *pieces)];
        s.path.resize(random() % 400);
        ASSERT_EQ(checkEncodedPath(s.path), "") << s.path;
        ASSERT_EQ(checkRecordInvariants(s, 0, true), "") << s.path;
    }
}

} // namespace
