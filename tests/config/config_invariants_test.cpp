// Records, encoded paths and budgets of many random and hostile configurations,
// from a fixed seed so that a failure repeats.

#include <random>
#include <string>

#include <gtest/gtest.h>

#include "record_check.h"

namespace {

class HostileSettings {
public:
    ConfigSettings next()
    {
        ConfigSettings s;
        s.callsign = text(10);
        s.ssid = below(4) == 0 ? static_cast<unsigned>(random_()) : below(20);
        s.symbol = text(3);
        s.path = text(320);
        s.comment = text(200);
        for (int* n : {&s.txDelay, &s.digiHops, &s.driveInterval, &s.driveSpeed, &s.idleFactor, &s.framesWithoutText})
            *n = below(4) == 0 ? static_cast<int>(random_()) : static_cast<int>(below(300)) - 20;
        return s;
    }

    bool coin() { return below(2) == 0; }

private:
    unsigned below(unsigned n) { return static_cast<unsigned>(random_() % n); }

    // Arbitrary bytes, path-like characters, or short pieces that make far more
    // than 31 elements; now and then with "COMPRESSED" in it.
    std::string text(unsigned maxLength)
    {
        static const char pathLike[] = "WIDE12-3,, RELAYTRAC-9a*\xC4";
        static const char* const pieces[] = {"-1", "A,", "-", ",", " ", "-12", "ABCDEFG", "WIDE2-2,"};
        const unsigned length = below(maxLength + 1);
        const unsigned kind = below(3);
        std::string t;
        while (t.size() < length)
            t += kind == 0 ? std::string(1, static_cast<char>(below(256)))
                 : kind == 1 ? std::string(1, pathLike[below(sizeof pathLike - 1)])
                             : std::string(pieces[below(8)]);
        t.resize(length);
        if (below(8) == 0)
            t.insert(below(length + 1), "COMPRESSED");
        return t;
    }

    std::mt19937 random_{20240611u};
};

TEST(ConfigInvariants, RandomAndHostileConfigurations)
{
    HostileSettings source;
    for (int round = 0; round < 5000; ++round) {
        const ConfigSettings config0 = source.next();
        const ConfigSettings config1 = source.next();
        const bool second = source.coin();
        SCOPED_TRACE(round);
        ASSERT_EQ(checkEncodedPath(config0.path), "");
        ASSERT_EQ(checkRecordInvariants(config0, 0, second), "");
        ASSERT_EQ(checkRecordInvariants(config1, 1, second), "");
        for (const TargetChip target : {Tiny13, Tiny2313, Mega8})
            ASSERT_EQ(checkBudget(target, config0, config1, second), "");
    }
}

} // namespace
