// The program's start-up with each message box printed ("caption: text") instead
// of waiting for a click, under the instance lock named by the second argument.
// Prints "shown" once the main dialog is up; then with "quit" it closes the dialog,
// which ends the program normally; with "list" it first opens the port list as a
// click on its arrow does and prints its rows; with "stay" it stays.
#include <cstdio>
#include <cstring>

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include "control_ids.h"
#include "dialog_qt.h"
#include "prompts_recorder.h"
#include "startup_qt.h"

static const char* mode = "stay";

int main(int argc, char** argv)
{
    mode = argc > 1 ? argv[1] : mode;
    setvbuf(stdout, nullptr, _IOLBF, 0);
    setMessageHook([](const RecordedMessage& box) { std::printf("%s: %s\n", box.caption.c_str(), box.text.c_str()); });
    return runKorvelConfig(argc, argv, [] {
        std::printf("shown\n");
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = dynamic_cast<Dialog*>(window); dialog && std::strcmp(mode, "list") == 0) {
                auto* ports = qobject_cast<QComboBox*>(dialogControl(dialog, IdPort));
                ports->showPopup();
                for (int row = 0; row < ports->count(); ++row)
                    std::printf("row: %s\n", ports->itemText(row).toLocal8Bit().constData());
                ports->hidePopup();
            }
        if (std::strcmp(mode, "stay") != 0)
            QTimer::singleShot(0, [] { QApplication::closeAllWindows(); });
    }, {}, argc > 2 ? argv[2] : "KorvelConfig");
}
