// The Quick Plot window: a top-level window of its own (no owner), created
// hidden with the main window and living as long as it; closing it only
// hides it. It paints the plot off-screen and copies it to the screen, at
// most 25 times a second however often the plot changes, and keeps its place
// for the setup file.
#pragma once

#include "app/live_windows.h"
#include "shell/quick_plot_drawing.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

namespace korvel {

class QuickPlotWindow : public QWidget {
    Q_OBJECT
public:
    QuickPlotWindow(LiveWindows &live, const QFont &mainWindowFont, char decimalSymbol);

    // The plot changed: a repaint follows soon, together with any other.
    void requestRepaint();
    // Visible and not minimised.
    bool shown() const { return isVisible() && !isMinimized(); }
    // Shown (restored when minimised) and brought to the top.
    void showOnTop();

    // The place the setup file keeps.
    WindowRect place() const { return place_; }
    void moveToPlace(const WindowRect &place);

signals:
    void setupRequested(); // a double click: Quick Plot Setup

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void keepPlace(bool moved);

    LiveWindows &live_;
    QuickPlotStyle style_;
    QPixmap canvas_;
    QTimer repaint_;
    WindowRect place_;
};

} // namespace korvel
