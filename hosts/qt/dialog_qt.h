#pragma once
// The Qt host's main dialog: the window of main_dialog_layout.def built with Qt
// Widgets (dialog_qt.cpp), implementing platform.h with the Win32 behaviours the
// handlers expect (platform_qt.cpp).

#include <map>

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "dialog_units.h"
#include "platform.h"

class QComboBox;
class QLineEdit;
class QSlider;

// The main dialog. A plain top-level widget rather than a QDialog: the main dialog
// has no cancel button and no default one but the push button with the focus, so
// Escape does nothing and Return only presses a focused button, as on Win32.
struct Dialog : public QWidget {
    Dialog();

    struct EditState {
        unsigned limit = 30000; // a new Win32 edit's limit
        bool upperCase = false;
        QString text;           // the text after the last accepted change
    };

    std::map<int, QWidget*> controls;
    std::map<int, EditState> edits; // single-line edits
    DialogBaseUnits baseUnits{};
    DialogState state;
    bool deliveringFocus = false;
    bool focusHandedOn = false; // by a chooser, while the window was inactive
    QPointer<QWidget> focusToGiveBack; // once the dialog is active again (giveFocusBack)
    bool givingFocusBack = false;

    void userEdited(int id, QLineEdit* edit);
    // Moves the focus from a control to the next tab stop (backward: the previous).
    void handFocusOn(QWidget* from, bool backward);

    // The log's frame, as an edit's with its focus; a list's field at the focus.
    void paintLogFrame(QWidget* frame);
    bool showStartAtFocus(QComboBox* combo, QEvent* event);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// After a message box, the chooser or a file dialog: the focus back on the control
// that had it (QApplication::focusWidget() before), now or once its dialog is
// active again, where activation would leave it on the dialog itself. For the
// dialog logic the focus never left: this raises no focus notification.
void giveFocusBack(QWidget* control);

// The dialog font: the platform's sans serif at the pixel size at which Windows
// draws "MS Shell Dlg" 10 pt on a 96 DPI screen.
QFont dialogFont();
DialogBaseUnits dialogBaseUnits(const QFont& font);

// Builds the main dialog with every control and runs initMainDialog, with the
// ports that findPorts finds (the system's when it is empty); not yet shown.
Dialog* createMainDialog(const PortFinder& findPorts = PortFinder());
void destroyMainDialog(Dialog* dialog);

// The widget of a control id, or nullptr.
QWidget* dialogControl(Dialog* dialog, int id);

// Shared by the host's two files.
constexpr int kRowDataRole = Qt::UserRole;
constexpr int kRowDetailRole = Qt::UserRole + 1;
QString upperCasedText(QString text);
// The closed combo's tooltip names the chosen row's detail; its field shows the row's start.
void showRowDetail(QComboBox* combo);
// A Win32 trackbar marks its two ends only and pages by a fifth of its range.
void updateTrackbarSteps(QSlider* slider);
