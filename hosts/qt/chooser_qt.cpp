#include <cmath>

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>

#include "symbol_chooser.h"
#include "symbol_grid.h"
#include "dialog_qt.h"
#include "layout.h"

namespace {

// The chooser has no Cancel: Escape, the close box and Alt+F4 leave it open, and
// it ends only with a pick.
class SymbolChooser : public QDialog {
public:
    SymbolChooser(QScreen* screen, SymbolPick& pick);
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QPointF inPicture);

    SymbolPick& pick;
    QLabel* picture = nullptr;
    QLabel* label = nullptr;
    qreal pixelRatio = 1.0;
};

SymbolChooser::SymbolChooser(QScreen* screen, SymbolPick& pick)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      pick(pick)
{
    setObjectName(QStringLiteral("symbolChooser"));
    setWindowTitle(QString::fromLatin1(KORVEL_CHOOSER_CAPTION));
    setFont(dialogFont());
    const DialogBaseUnits units = dialogBaseUnits(font());
    setFixedSize(dluToPixelsX(KORVEL_CHOOSER_WIDTH, units), dluToPixelsY(KORVEL_CHOOSER_HEIGHT, units));
    const ControlLayout* pictureLayout = nullptr;
    const ControlLayout* labelLayout = nullptr;
    for (int i = 0; i < chooserControlCount; ++i)
        (chooserLayout[i].kind == KindPicture ? pictureLayout : labelLayout) = &chooserLayout[i];

    // One bitmap pixel on one screen pixel, also on a scaled screen: the grid's
    // 21-pixel cells are what the presses are measured in.
    QPixmap symbols(QStringLiteral(":/symbols.bmp"));
    pixelRatio = screen ? screen->devicePixelRatio() : 1.0;
    symbols.setDevicePixelRatio(pixelRatio);

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("symbolPicture"));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(1);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setPixmap(symbols);
    // Sized to the picture, as a Win32 bitmap static sizes itself.
    const QSize shown = (QSizeF(symbols.size()) / pixelRatio).toSize();
    picture->setGeometry(dluToPixelsX(pictureLayout->x, units), dluToPixelsY(pictureLayout->y, units),
                         shown.width() + 2, shown.height() + 2);
    picture->installEventFilter(this);

    label = new QLabel(QString::fromLatin1(labelLayout->caption), this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PixelRect rect = dluRectToPixels(labelLayout->x, labelLayout->y, labelLayout->width, labelLayout->height, units);
    // The picture keeps its real size whatever the font; where a font with
    // smaller units would let it run into the label, the label and the window
    // move down instead.
    const int below = picture->geometry().bottom() + 1 + dluToPixelsY(2, units);
    if (rect.y < below) {
        setFixedHeight(height() + below - rect.y);
        rect.y = below;
    }
    label->setGeometry(rect.x, rect.y, rect.width, rect.height);
    label->installEventFilter(this);
    installEventFilter(this);
}

bool SymbolChooser::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::MouseButtonPress && event->type() != QEvent::MouseButtonDblClick)
        return false;
    // Every press over the picture counts (a double click is two presses); elsewhere
    // only the press that activates the chooser does.
    if (watched != picture && isActiveWindow())
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    press(watched == picture ? mouse->position() : picture->mapFromGlobal(mouse->globalPosition()));
    return true;
}

void SymbolChooser::press(QPointF inPicture)
{
    const QPointF offset = inPicture - QPointF(picture->contentsRect().topLeft());
    const int x = static_cast<int>(std::floor(offset.x() * pixelRatio));
    const int y = static_cast<int>(std::floor(offset.y() * pixelRatio));
    if (symbolChooserPress(pick, x, y))
        accept();
}

} // namespace

void runSymbolChooser(Dialog* mainDialog)
{
    QScreen* screen = mainDialog ? mainDialog->screen() : QGuiApplication::primaryScreen();
    SymbolChooser chooser(screen, dialogState(mainDialog).pick);
    if (screen)
        chooser.move(screen->availableGeometry().topLeft());

    // Without an owner, like the Win32 chooser: the call waits for the pick in a
    // loop of its own, and the main dialog stays usable meanwhile.
    QEventLoop loop;
    QObject::connect(&chooser, &QDialog::finished, &loop, &QEventLoop::quit);
    chooser.show();
    chooser.activateWindow();
    loop.exec(QEventLoop::DialogExec);
}
