// The splash window: the picture, borderless and centred on the screen, for a
// moment at start-up. Start-up goes on while it shows; it goes by itself.
#pragma once

#include <QPixmap>
#include <QWidget>

namespace korvel {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kShowMilliseconds = 1500;

    explicit SplashWindow(const QPixmap &picture);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
};

// Shows a splash window that closes and deletes itself after kShowMilliseconds.
void showSplash(const QPixmap &picture);

} // namespace korvel
