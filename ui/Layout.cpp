#include "ui/Layout.h"

#include <QEvent>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QLayout>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <functional>

#include <QStringList>

QFont DialogFont() {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8);
    return font;
}

QFont ListingFont(qreal points) {
    QFont font;
    // Courier New where installed, its metric twin otherwise.
    font.setFamilies(QStringList{QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

QIcon AppIcon() { return QIcon(QStringLiteral(":/bitwell/io.github.bitwell.Bitwell.svg")); }

namespace {

bitwell::PlaceRect Rect(const QRect& r) { return {r.x(), r.y(), r.width(), r.height()}; }

// What the frame adds to `window`: its own once it has been shown, else the
// main window's.
QSize FrameExtra(const QWidget* window, const QWidget* main) {
    const QWidget* framed = window->isVisible() ? window : main;
    return framed->frameGeometry().size() - framed->size();
}

bitwell::SideWindow Side(QWidget* window, bool opening, const QWidget* main) {
    if (!window || !(opening || window->isVisible())) return {};
    if (QLayout* layout = window->layout()) layout->activate();
    const QSize extra = FrameExtra(window, main);
    const QSize minimum = window->minimumSizeHint().expandedTo(window->minimumSize()) + extra;
    return {.open = true,
            .shown = window->isVisible(),
            .frame = Rect(QRect(window->frameGeometry().topLeft(), window->size() + extra)),
            .minimum = {minimum.width(), minimum.height()}};
}

void Apply(QWidget* window, const bitwell::PlaceRect& frame, const QWidget* main) {
    window->resize(QSize(frame.width, frame.height) - FrameExtra(window, main));
    window->move(frame.x, frame.y);
}

// Places a window again once the window manager has framed it, if the frame
// proved other than assumed; gives up after a few seconds.
class FrameWatch : public QObject {
public:
    FrameWatch(QWidget* window, QSize frame, std::function<void()> again)
        : QObject(window), m_window(window), m_frame(frame), m_again(std::move(again)) {
        window->installEventFilter(this);
        QTimer::singleShot(3000, this, &QObject::deleteLater);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        // Framed (its frame known) and not as planned.
        const QSize framed = m_window->frameGeometry().size();
        if (watched == m_window && (type == QEvent::Move || type == QEvent::Resize) && m_window->isVisible() &&
            framed != m_window->size() && framed != m_frame) {
            m_window->removeEventFilter(this);
            deleteLater();
            QTimer::singleShot(0, m_window, m_again);
        }
        return false;
    }

private:
    QWidget* m_window;
    QSize m_frame;
    std::function<void()> m_again;
};

}  // namespace

void PlaceBeside(QWidget* window, const QWidget* main, const QWidget* other, SideWindowKind kind) {
    const QScreen* screen = main->screen();
    if (!screen) return;
    QWidget* mainWindow = main->window();
    QWidget* otherWindow = other ? other->window() : nullptr;
    const bool timingOpens = kind == SideWindowKind::Timing;
    QWidget* timing = timingOpens ? window : otherWindow;
    QWidget* exercise = timingOpens ? otherWindow : window;

    // The rows nothing may cover: down to the menu bar's foot, up from the status line's head.
    const QRect frame = mainWindow->frameGeometry();
    const auto* menu = mainWindow->findChild<const QMenuBar*>();
    const auto* status = mainWindow->findChild<const QWidget*>(QStringLiteral("lblStatus"));
    const int top = menu ? menu->mapToGlobal(QPoint(0, menu->height())).y() - frame.y() : 0;
    const int bottom = status ? frame.bottom() + 1 - status->mapToGlobal(QPoint()).y() : 0;

    const bitwell::WindowLayout place = bitwell::PlaceWindows(
        Rect(screen->availableGeometry()), {Rect(frame), std::max(top, 0), std::max(bottom, 0)}, true,
        Side(timing, timingOpens, main), Side(exercise, !timingOpens, main));
    if (place.main.x != frame.x() || place.main.y != frame.y()) mainWindow->move(place.main.x, place.main.y);
    if (timing && (timingOpens || timing->isVisible())) Apply(timing, place.timing, main);
    if (exercise && (!timingOpens || exercise->isVisible())) Apply(exercise, place.exercise, main);

    if (!window->isVisible()) {
        const QPointer<const QWidget> mainAlive(main), otherAlive(other);
        new FrameWatch(window, QSize(timingOpens ? place.timing.width : place.exercise.width,
                                     timingOpens ? place.timing.height : place.exercise.height),
                       [=] {
                           if (mainAlive) PlaceBeside(window, mainAlive, otherAlive, kind);
                       });
    }
}

void FitTitle(QMessageBox& box, const QWidget* main) {
    const int bar = main->geometry().top() - main->frameGeometry().top();
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (bar <= 0 || !grid) return;
    // The platform's title face, as window managers draw titles: bold.
    QFont bold = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    bold.setBold(true);
    const int width = bitwell::TitleBarWidth(QFontMetrics(bold).horizontalAdvance(box.windowTitle()), bar);
    // A message box sizes itself to its layout: a spacer across it sets the floor.
    const int borders = main->frameGeometry().width() - main->width();
    const QMargins margins = grid->contentsMargins();
    grid->addItem(new QSpacerItem(width - borders - margins.left() - margins.right(), 0), grid->rowCount(), 0, 1,
                  grid->columnCount());
}
