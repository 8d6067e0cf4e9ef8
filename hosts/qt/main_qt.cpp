#include <cstdio>

#include "command_line.h"
#include "startup_qt.h"

namespace {

void write(std::FILE* stream, const std::string& text)
{
    std::fwrite(text.data(), 1, text.size(), stream);
    std::fflush(stream); // status lines show as the run goes on
}

} // namespace

int main(int argc, char** argv)
{
    // Before any QApplication: the command line needs no display.
    const CommandLineResult command =
        runCommandLine(std::vector<std::string>(argv + 1, argv + argc), "korvelconfig",
                       {[](const std::string& text) { write(stdout, text); },
                        [](const std::string& text) { write(stderr, text); }});
    if (!command.runDialog)
        return command.exitCode;
    return runKorvelConfig(argc, argv, nullptr, command.fileToOpen);
}
