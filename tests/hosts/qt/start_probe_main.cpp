// The program's start-up with each message box printed ("caption: text") instead
// of waiting for a click. Prints "shown" once the main dialog is up; with the
// argument "quit" it then closes the dialog, which ends the program normally.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QTimer>

#include "startup_qt.h"
#include "prompts_recorder.h"

static bool quitWhenShown = false;

int main(int argc, char** argv)
{
    quitWhenShown = argc > 1 && std::strcmp(argv[1], "quit") == 0;
    setMessageHook([](const RecordedMessage& message) {
        std::printf("%s: %s\n", message.caption.c_str(), message.text.c_str());
        std::fflush(stdout);
    });
    return runKorvelConfig(argc, argv, [] {
        std::printf("shown\n");
        std::fflush(stdout);
        if (quitWhenShown)
            QTimer::singleShot(0, [] { QApplication::closeAllWindows(); });
    });
}
