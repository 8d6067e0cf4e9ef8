#include "startup_qt.h"

#include <QApplication>
#include <QIcon>

#include "instance_lock.h"
#include "dialog_qt.h"
#include "messages.h"
#include "prompts.h"
#include "settings_qt.h"

int runKorvelConfig(int& argc, char** argv, void (*afterShow)(), const std::string& settingsFile,
                    const char* instanceLockName)
{
    // Before anything else, so a second start touches no port and makes no window.
    const int mayRun = acquireInstanceLock(instanceLockName);

    QApplication application(argc, argv);
    QApplication::setFont(dialogFont());
    // Message boxes and the chooser show the program's icon too, and desktops
    // match the windows to their desktop entry.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/korvelconfig.png")));
    QGuiApplication::setDesktopFileName(QStringLiteral("org.korvelconfig.KorvelConfig"));
    if (!mayRun) {
        showMessage(kAlreadyStarted, kSecondInstanceCaption);
        return -1;
    }

    Dialog* dialog = createMainDialog(); // initMainDialog runs here, before the dialog shows
    enableSettingsFiles(dialog);
    dialog->show();
    if (!settingsFile.empty())
        openSettingsAtStart(dialog, settingsFile);
    if (afterShow)
        afterShow();
    QApplication::exec();
    destroyMainDialog(dialog);
    return 0;
}
