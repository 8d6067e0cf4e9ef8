#include "prompts.h"

#include <chrono>
#include <thread>

#include <QApplication>
#include <QEventLoop>
#include <QMessageBox>
#include <QPointer>

#include "dialog_qt.h"

void showMessage(const char* text, const char* caption)
{
    // Ownerless like MessageBoxA(NULL, ...): the call waits in a loop of its own,
    // but no window is blocked, so the main dialog stays usable meanwhile.
    // QMessageBox::exec would make the box application-modal.
    // Texts that name files have them as the system encodes file names.
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(QMessageBox::NoIcon, QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text),
                    QMessageBox::Ok);
    box.setWindowModality(Qt::NonModal);
    box.setTextFormat(Qt::PlainText);
    QEventLoop loop;
    QObject::connect(&box, &QMessageBox::finished, &loop, &QEventLoop::quit);
    box.show();
    box.activateWindow();
    loop.exec(QEventLoop::DialogExec);
    giveFocusBack(focus);
}

void pauseMilliseconds(unsigned milliseconds)
{
    // Blocks the GUI thread as Sleep does: no events are handled meanwhile.
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
