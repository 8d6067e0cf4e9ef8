#include "settings_qt.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "settings_io.h"

namespace {

const char* const kLastFileProperty = "settingsFile";

QString filter() { return QStringLiteral("KorvelConfig settings (*.korvel)"); }

// The dialogs start where the last file was opened or saved.
QString lastFile(Dialog* dialog) { return dialog->property(kLastFileProperty).toString(); }

void open(Dialog* dialog, const QString& path)
{
    if (openSettingsFile(dialog, QFile::encodeName(path).toStdString()))
        dialog->setProperty(kLastFileProperty, path);
}

void chooseAndOpen(Dialog* dialog)
{
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const QString path = QFileDialog::getOpenFileName(dialog, QStringLiteral("Open settings"), lastFile(dialog), filter());
    giveFocusBack(focus);
    if (!path.isEmpty())
        open(dialog, path);
}

void chooseAndSave(Dialog* dialog)
{
    QFileDialog choice(dialog, QStringLiteral("Save settings as"), lastFile(dialog), filter());
    choice.setAcceptMode(QFileDialog::AcceptSave);
    choice.setDefaultSuffix(QStringLiteral("korvel"));
    const QPointer<QWidget> focus = QApplication::focusWidget();
    const bool chosen = choice.exec() && !choice.selectedFiles().isEmpty();
    giveFocusBack(focus);
    if (!chosen)
        return;
    const QString path = choice.selectedFiles().constFirst();
    if (saveSettingsFile(dialog, QFile::encodeName(path).toStdString()))
        dialog->setProperty(kLastFileProperty, path);
}

QString droppedFile(const QMimeData* data)
{
    if (!data || !data->hasUrls())
        return {};
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile())
            return url.toLocalFile();
    }
    return {};
}

// Takes files dropped anywhere on the dialog; an edit would take the file's
// name as text. Other drags go on as before.
class FileDrops : public QObject {
public:
    explicit FileDrops(Dialog* dialog) : QObject(dialog), dialog_(dialog) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
            return false;
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = droppedFile(drop->mimeData());
        if (path.isEmpty())
            return false;
        drop->acceptProposedAction();
        if (type == QEvent::Drop)
            open(dialog_, path);
        return true;
    }

private:
    Dialog* dialog_;
};

QAction* addEntry(Dialog* dialog, const char* text, QKeyCombination keys, void (*run)(Dialog*))
{
    auto* action = new QAction(QString::fromLatin1(text), dialog);
    action->setShortcut(QKeySequence(keys));
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    QObject::connect(action, &QAction::triggered, dialog, [dialog, run] { run(dialog); });
    dialog->addAction(action);
    return action;
}

} // namespace

void openSettingsAtStart(Dialog* dialog, const std::string& path)
{
    open(dialog, QFile::decodeName(path.c_str()));
}

void enableSettingsFiles(Dialog* dialog)
{
    addEntry(dialog, "Open settings...", Qt::CTRL | Qt::Key_O, chooseAndOpen);
    addEntry(dialog, "Save settings as...", Qt::CTRL | Qt::Key_S, chooseAndSave);
    dialog->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto* drops = new FileDrops(dialog);
    dialog->setAcceptDrops(true);
    dialog->installEventFilter(drops);
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (child->acceptDrops())
            child->installEventFilter(drops);
    }
}
