// Arbitrary bytes as path and comment texts (and callsign, symbol), arbitrary
// numbers in every field: each record holds what its byte layout says, the budget
// counts its values, every encoded path has its shape. Any break aborts.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include "record_check.h"

namespace {

void require(const std::string& problem, const char* what)
{
    if (problem.empty())
        return;
    std::fprintf(stderr, "%s: %s\n", what, problem.c_str());
    std::abort();
}

ConfigSettings consumeSettings(FuzzedDataProvider& data)
{
    ConfigSettings s;
    s.ssid = data.ConsumeIntegral<unsigned>();
    s.txDelay = data.ConsumeIntegral<int>();
    s.digiHops = data.ConsumeIntegral<int>();
    s.pathType = static_cast<PathType>(data.ConsumeIntegralInRange<int>(0, kPathTypeCount - 1));
    s.driveInterval = data.ConsumeIntegral<int>();
    s.driveSpeed = data.ConsumeIntegral<int>();
    s.idleFactor = data.ConsumeIntegral<int>();
    s.framesWithoutText = data.ConsumeIntegral<int>();
    s.callsign = data.ConsumeRandomLengthString(16);
    s.symbol = data.ConsumeRandomLengthString(4);
    s.path = data.ConsumeRandomLengthString(400);
    s.comment = data.ConsumeRandomLengthString(300);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const bool secondConfigEnabled = data.ConsumeBool();
    const ConfigSettings config0 = consumeSettings(data);
    const ConfigSettings config1 = consumeSettings(data);

    require(checkEncodedPath(config0.path), "encodePath");
    require(checkEncodedPath(config1.path), "encodePath");
    require(checkRecord(config0, 0, secondConfigEnabled), "record 0");
    require(checkRecord(config1, 1, secondConfigEnabled), "record 1");
    return 0;
}
