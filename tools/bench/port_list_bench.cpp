// What opening the port list costs: one discovery of the ports (none of them is
// opened; on Windows COM1 to COM9 count as the start found them: none here), the
// work done on every click on the list's arrow. Prints milliseconds per discovery
// and the ports found.
//   port_list_bench [runs] [root]   (root: a tree standing for / on Linux; default the system)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "port_list.h"

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const DiscoveryRoot root{argc > 2 ? argv[2] : ""};
    std::vector<double> milliseconds;
    std::vector<PortEntry> ports;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        ports = discoverPorts(root);
        milliseconds.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    for (const PortEntry& port : ports)
        std::printf("%s\n", portRowText(port).c_str());
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("%zu ports: median %.2f ms, min %.2f ms, max %.2f ms (%d runs)\n", ports.size(),
                milliseconds[milliseconds.size() / 2], milliseconds.front(), milliseconds.back(), runs);
    return 0;
}
