#include "prompts.h"

#include <chrono>
#include <thread>

#include <QEventLoop>
#include <QMessageBox>

void showMessage(const char* text, const char* caption)
{
    // Ownerless like MessageBoxA(NULL, ...): the call waits in a loop of its own,
    // but no window is blocked, so the main dialog stays usable meanwhile.
    // QMessageBox::exec would make the box application-modal.
    QMessageBox box(QMessageBox::NoIcon, QString::fromLatin1(caption), QString::fromLatin1(text), QMessageBox::Ok);
    box.setWindowModality(Qt::NonModal);
    box.setTextFormat(Qt::PlainText);
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    box.activateWindow();
    loop.exec(QEventLoop::DialogExec);
}

void pauseMilliseconds(unsigned milliseconds)
{
    // Blocks the GUI thread as Sleep does: no events are handled meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
