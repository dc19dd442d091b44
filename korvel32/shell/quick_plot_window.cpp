#include "shell/quick_plot_window.h"

#include "platform/string_table.h"
#include "shell/shell_icons.h"
#include "shell/window_placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace korvel {

namespace {

constexpr int kCaption = 4; // "Quick Plot"
// At most 25 repaints a second.
constexpr int kRepaintMs = 40;

} // namespace

QuickPlotWindow::QuickPlotWindow(LiveWindows &live, const QFont &mainWindowFont, char decimalSymbol) : live_(live) {
    setObjectName(QStringLiteral("QuickPlot"));
    setWindowTitle(QString::fromStdString(resourceString(kCaption)));
    setWindowIcon(quickPlotIcon());
    setAttribute(Qt::WA_OpaquePaintEvent);
    // The main window's close ends the program, whatever this window shows.
    setAttribute(Qt::WA_QuitOnClose, false);
    setCursor(Qt::ArrowCursor);
    style_ = {mainWindowFont, characterCell(mainWindowFont), palette().color(QPalette::WindowText), decimalSymbol};
    repaint_.setSingleShot(true);
    repaint_.setInterval(kRepaintMs);
    connect(&repaint_, &QTimer::timeout, this, qOverload<>(&QWidget::update));

    // The lower two thirds of the screen, across its width.
    const QRect screen = QApplication::primaryScreen()->geometry();
    const int top = screen.height() / 3;
    placeFrame(*this, QRect(0, top, screen.width(), screen.height() - top));
    keepPlace(true);
}

void QuickPlotWindow::requestRepaint() {
    if (!repaint_.isActive()) repaint_.start();
}

void QuickPlotWindow::showOnTop() {
    if (isMinimized()) showNormal();
    show();
    raise();
    activateWindow();
}

void QuickPlotWindow::moveToPlace(const WindowRect &place) {
    moveToKeptPlace(*this, place);
    keepPlace(true);
}

void QuickPlotWindow::paintEvent(QPaintEvent *) {
    const qreal ratio = devicePixelRatioF();
    const QSize pixels = size() * ratio;
    if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QPixmap(pixels);
        canvas_.setDevicePixelRatio(ratio);
    }
    QPainter window(this);
    bool drawn = false;
    if (canvas_.isNull()) {
        drawn = drawQuickPlot(window, size(), live_.plot(), style_); // no off-screen bitmap: draw straight on
    } else {
        {
            QPainter offScreen(&canvas_);
            drawn = drawQuickPlot(offScreen, size(), live_.plot(), style_);
        }
        window.drawPixmap(0, 0, canvas_);
    }
    if (drawn) live_.plotDrawn();
}

void QuickPlotWindow::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        emit setupRequested();
    } else {
        QWidget::mouseDoubleClickEvent(event);
    }
}

void QuickPlotWindow::closeEvent(QCloseEvent *event) {
    event->ignore();
    hide();
}

void QuickPlotWindow::moveEvent(QMoveEvent *event) {
    QWidget::moveEvent(event);
    keepPlace(true);
}

void QuickPlotWindow::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    keepPlace(false);
}

void QuickPlotWindow::keepPlace(bool moved) {
    if (const auto place = placeToKeep(*this, moved)) place_ = *place;
}

} // namespace korvel
