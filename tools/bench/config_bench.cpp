// What every keystroke in a path or comment field costs: one budget computation
// of both configurations plus one record build, for typical and worst-case settings.
// Prints nanoseconds per iteration; run it on an otherwise quiet machine.

#include <chrono>
#include <cstdio>
#include <string>

#include "config_record.h"
#include "eeprom_budget.h"

namespace {

volatile std::size_t sink;

double nanosecondsPerIteration(const ConfigSettings& config0, const ConfigSettings& config1, long iterations)
{
    using Clock = std::chrono::steady_clock;
    std::size_t total = 0;
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < iterations; ++i) {
        const EepromBudget budget = computeEepromBudget(Tiny13, config0, config1, true);
        total += static_cast<std::size_t>(budget.eepromSpaceLeft);
        total += buildConfigRecord(config0, 0, true).size();
    }
    const Clock::duration elapsed = Clock::now() - start;
    sink = total;
    return std::chrono::duration<double, std::nano>(elapsed).count() / static_cast<double>(iterations);
}

void run(const char* name, const ConfigSettings& config0, const ConfigSettings& config1)
{
    // Warm up, then size the run to roughly half a second and take the best of five.
    nanosecondsPerIteration(config0, config1, 1000);
    const double guess = nanosecondsPerIteration(config0, config1, 10000);
    long iterations = static_cast<long>(5e8 / (guess > 1 ? guess : 1));
    if (iterations < 10000)
        iterations = 10000;
    double best = 0;
    for (int round = 0; round < 5; ++round) {
        const double ns = nanosecondsPerIteration(config0, config1, iterations);
        if (round == 0 || ns < best)
            best = ns;
    }
    std::printf("%-44s %9.1f ns/iteration  (%ld iterations x 5, best)\n", name, best, iterations);
}

std::string repeatedToLength(const std::string& piece, std::size_t length)
{
    std::string text;
    while (text.size() < length)
        text += piece;
    text.resize(length);
    return text;
}

} // namespace

int main()
{
    const ConfigSettings defaults;

    ConfigSettings typical;
    typical.path = "WIDE1-1,WIDE2-1";
    typical.comment = "Mobile 145.500";

    // 255-character paths: one of many short elements (the encoder stops after 31),
    // one of long elements; both with a 127-character comment.
    ConfigSettings worstShort;
    worstShort.path = repeatedToLength("A-1,", 255);
    worstShort.comment = std::string(127, '\xFF');
    ConfigSettings worstLong;
    worstLong.path = repeatedToLength("WIDE22-22,", 255);
    worstLong.comment = std::string(127, '\xFF');

    std::printf("budget of both configurations + record of configuration 0, per keystroke\n");
    run("defaults (compressed, no comment)", defaults, defaults);
    run("typical (WIDE1-1,WIDE2-1, 14-char comment)", typical, typical);
    run("worst: 255-char path of short elements", worstShort, worstShort);
    run("worst: 255-char path of long elements", worstLong, worstLong);
    return 0;
}
