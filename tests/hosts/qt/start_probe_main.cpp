// The program's start-up with each message box printed ("caption: text") instead
// of waiting for a click. Prints "shown" once the main dialog is up; with the
// argument "quit" it then closes the dialog, which ends the program normally.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QTimer>

#include "prompts_recorder.h"
#include "startup_qt.h"

static bool quitWhenShown = false;

int main(int argc, char** argv)
{
    quitWhenShown = argc > 1 && std::strcmp(argv[1], "quit") == 0;
    setvbuf(stdout, nullptr, _IOLBF, 0);
    setMessageHook([](const RecordedMessage& box) { std::printf("%s: %s\n", box.caption.c_str(), box.text.c_str()); });
    return runKorvelConfig(argc, argv, [] {
        std::printf("shown\n");
        if (quitWhenShown)
            QTimer::singleShot(0, [] { QApplication::closeAllWindows(); });
    });
}
