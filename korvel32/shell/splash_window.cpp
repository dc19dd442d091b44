#include "shell/splash_window.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace korvel {

SplashWindow::SplashWindow(const QPixmap &picture)
        : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), picture_(picture) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(picture_.deviceIndependentSize().toSize());
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    QTimer::singleShot(kShowMilliseconds, this, &QWidget::close);
}

void SplashWindow::paintEvent(QPaintEvent *) { QPainter(this).drawPixmap(0, 0, picture_); }

void showSplash(const QPixmap &picture) { (new SplashWindow(picture))->show(); }

} // namespace korvel
