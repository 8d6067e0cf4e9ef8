// How long the Linux program's "Generate Config and Programm" run takes, from the
// click to "done." (the port is closed just before), against its floor of three
// pauses of 500 ms: the real Qt dialog (offscreen unless a platform is given), the
// real port table on a pseudo-terminal, the real message box and pause. The
// warning box is confirmed as soon as it shows. Prints milliseconds per run.
//   programming_bench_qt [runs]

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "port_list.h"
#include "control_ids.h"
#include "dialog_qt.h"

namespace {

const std::string kRecords = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 "
                             "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 ";

std::string readAll(int fd)
{
    std::string received;
    char buffer[4096];
    for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) > 0;)
        received.append(buffer, static_cast<std::size_t>(n));
    return received;
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);

    int tracker = -1;
    int device = -1;
    char name[128] = {};
    if (openpty(&tracker, &device, name, nullptr, nullptr) != 0) {
        std::perror("openpty");
        return 1;
    }
    fcntl(tracker, F_SETFL, fcntl(tracker, F_GETFL) | O_NONBLOCK);
    // The pseudo-terminal is the one port there is.
    const PortEntry port{"ttyUSB0", name, "", "", true, {}};
    Dialog* dialog = createMainDialog([port] { return std::vector<PortEntry>{port}; });
    dialog->show();
    auto* button = qobject_cast<QAbstractButton*>(dialogControl(dialog, IdProgram));

    // Runs inside the warning box's own loop, as the user's click on OK would.
    QTimer confirm;
    QObject::connect(&confirm, &QTimer::timeout, [] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
                box->accept();
    });
    confirm.start(1);

    std::vector<double> milliseconds;
    int status = 0;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        button->click();
        const auto end = std::chrono::steady_clock::now();
        milliseconds.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        if (readAll(tracker) != kRecords) {
            std::fprintf(stderr, "run %d: the tracker did not get the two records\n", run + 1);
            status = 1;
        }
        std::printf("run %d: %.1f ms\n", run + 1, milliseconds.back());
    }
    std::sort(milliseconds.begin(), milliseconds.end());
    std::printf("median %.1f ms, min %.1f ms, max %.1f ms (floor 1500 ms)\n", milliseconds[milliseconds.size() / 2],
                milliseconds.front(), milliseconds.back());

    destroyMainDialog(dialog);
    close(tracker);
    close(device);
    return status;
}
