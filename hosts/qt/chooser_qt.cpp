#include <cmath>
#include <cstdlib>

#include <utility>

#include <QCloseEvent>
#include <QDialog>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <xcb/xcb.h>

#include "symbol_chooser.h"
#include "symbol_grid.h"
#include "accessibility_qt.h"
#include "dialog_qt.h"
#include "layout.h"

namespace {

// The close box and Alt+F4 leave the chooser open; a pick or Escape ends it.
class SymbolChooser : public QDialog {
public:
    SymbolChooser(QScreen* screen, SymbolPick& pick);
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QPointF inWindow);
    QPoint pointerPixel(QPointF inWindow);
    void showPicture();

    SymbolPick& pick;
    QLabel* picture = nullptr;
    QLabel* label = nullptr;
    QImage scaled; // the bitmap at the whole factor, in screen pixels
    qreal pixelRatio = 1.0;
    int factor = 1;
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

    // Each bitmap pixel on a square of whole screen pixels, the scale's nearest,
    // repeated and never smoothed, so the pictograms stay crisp.
    pixelRatio = screen ? screen->devicePixelRatio() : 1.0;
    factor = symbolPictureFactor(pixelRatio);
    const QImage symbols(QStringLiteral(":/symbols.bmp"));
    scaled = symbols.scaled(symbols.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                 .convertToFormat(QImage::Format_RGB32);

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("symbolPicture"));
    picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    picture->setLineWidth(1);
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    showPicture();
    // Sized to the picture, as a Win32 bitmap static sizes itself; the window
    // widens for it where it must.
    const QSize shown(static_cast<int>(std::ceil(scaled.width() / pixelRatio)),
                      static_cast<int>(std::ceil(scaled.height() / pixelRatio)));
    picture->setGeometry(dluToPixelsX(pictureLayout->x, units), dluToPixelsY(pictureLayout->y, units),
                         shown.width() + 2, shown.height() + 2);
    const int right = picture->geometry().right() + 1 + dluToPixelsX(pictureLayout->x, units);
    if (right > width())
        setFixedWidth(right);
    picture->installEventFilter(this);
    // The picture has the keyboard focus, as on Windows, so that a screen reader
    // follows its highlight.
    picture->setFocusPolicy(Qt::StrongFocus);
    picture->setFocus();

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
    press(mapFromGlobal(static_cast<QMouseEvent*>(event)->globalPosition()));
    return true;
}

// The screen pixel under the pointer, from the window's corner. X hands Qt whole
// screen pixels, but Qt rounds them to whole pixels of its scale, which at 1.5x or
// 2x may lie on the next cell: the pointer is asked where it is, as GetCursorPos
// on Windows. Elsewhere the event's position is exact enough.
QPoint SymbolChooser::pointerPixel(QPointF inWindow)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (xcb_connection_t* connection = x11 ? x11->connection() : nullptr) { // none offscreen
        const auto window = static_cast<xcb_window_t>(winId());
        if (xcb_query_pointer_reply_t* reply =
                xcb_query_pointer_reply(connection, xcb_query_pointer(connection, window), nullptr)) {
            const QPoint at(reply->win_x, reply->win_y);
            std::free(reply);
            return at;
        }
    }
    return QPoint(static_cast<int>(std::floor(inWindow.x() * pixelRatio)),
                  static_cast<int>(std::floor(inWindow.y() * pixelRatio)));
}

void SymbolChooser::press(QPointF inWindow)
{
    // The picture's first pixel lies on the screen pixel nearest its place in the window.
    const QPointF origin = QPointF(picture->mapTo(this, picture->contentsRect().topLeft())) * pixelRatio;
    const QPoint offset = pointerPixel(inWindow) - QPoint(qRound(origin.x()), qRound(origin.y()));
    if (symbolChooserPress(pick, symbolPicturePixel(offset.x(), factor), symbolPicturePixel(offset.y(), factor)))
        accept();
}

void SymbolChooser::keyPressEvent(QKeyEvent* event)
{
    static const std::pair<int, ChooserKey> keys[] = {
        {Qt::Key_Left, ChooserLeft},   {Qt::Key_Right, ChooserRight}, {Qt::Key_Up, ChooserUp},
        {Qt::Key_Down, ChooserDown},   {Qt::Key_Return, ChooserPick}, {Qt::Key_Enter, ChooserPick},
        {Qt::Key_Space, ChooserPick},  {Qt::Key_Escape, ChooserCancel},
    };
    for (const auto& [qtKey, key] : keys) {
        if (event->key() != qtKey)
            continue;
        if (symbolChooserKey(pick, key))
            accept();
        else
            showPicture();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The picture with the arrow keys' highlight: a frame on the cell's grid lines
// and inward.
void SymbolChooser::showPicture()
{
    QImage shown = scaled;
    if (pick.highlighted >= 0) {
        const SymbolCellSquare square = symbolCellSquare(pick.highlighted);
        const QRect frame(square.x * factor, square.y * factor, square.size * factor, square.size * factor);
        const int thickness = kSymbolHighlightWidth * factor;
        const QColor colour = palette().color(QPalette::Highlight);
        QPainter painter(&shown);
        painter.fillRect(QRect(frame.left(), frame.top(), frame.width(), thickness), colour);
        painter.fillRect(QRect(frame.left(), frame.bottom() + 1 - thickness, frame.width(), thickness), colour);
        painter.fillRect(QRect(frame.left(), frame.top(), thickness, frame.height()), colour);
        painter.fillRect(QRect(frame.right() + 1 - thickness, frame.top(), thickness, frame.height()), colour);
    }
    QPixmap pixmap = QPixmap::fromImage(shown);
    pixmap.setDevicePixelRatio(pixelRatio);
    picture->setPixmap(pixmap);
    describeSymbolHighlight(picture, pick.highlighted);
}

} // namespace

int runSymbolChooser(Dialog* mainDialog)
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
    return 1; // the main dialog outlives the loops that run in it
}
