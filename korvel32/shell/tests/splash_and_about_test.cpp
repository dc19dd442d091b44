#include <QApplication>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include "shell/about_box.h"
#include "shell/splash_window.h"
#include "shell/tests/window_probe.h"
#include "temp_dir.h"

namespace korvel {
namespace {

QPixmap testPicture() {
    QPixmap picture(320, 200);
    picture.fill(Qt::darkBlue);
    QPainter painter(&picture);
    painter.setPen(Qt::yellow);
    painter.drawRect(picture.rect().adjusted(4, 4, -5, -5));
    painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("test picture"));
    return picture;
}

SplashWindow *shownSplash() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *splash = qobject_cast<SplashWindow *>(window); splash && splash->isVisible()) return splash;
    }
    return nullptr;
}

// Centred to within the window frame, whose size is known only once it shows.
bool centredOnScreen(const QWidget &window) {
    const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
    return offset.manhattanLength() <= 8;
}

} // namespace

class SplashAndAboutTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setWindowIcon(testPicture()); }

    void splashShowsThePictureAndGoesByItself() {
        QElapsedTimer clock;
        clock.start();
        showSplash(testPicture());

        QPointer<SplashWindow> splash = shownSplash();
        QVERIFY(splash);
        QCOMPARE(splash->size(), QSize(320, 200));
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(splash->geometry().center(), QGuiApplication::primaryScreen()->geometry().center());
        QVERIFY(test::saveSnapshot(*splash, snapshots_.path().c_str(), QStringLiteral("splash")));

        QTRY_VERIFY_WITH_TIMEOUT(splash.isNull(), 5000);
        QVERIFY(clock.elapsed() >= SplashWindow::kShowMilliseconds - 50);
    }

    void aboutBoxShowsProductVersionAndCopyright() {
        QString product;
        QString version;
        QString copyright;
        bool hasIcon = false;
        bool centred = false;
        bool drawn = false;
        test::whenModalOpens<QWidget>([&](QWidget &box) {
            product = test::labelText(box, "product");
            version = test::labelText(box, "version");
            copyright = test::labelText(box, "copyright");
            hasIcon = !box.findChild<QLabel *>(QStringLiteral("icon"))->pixmap().isNull();
            centred = centredOnScreen(box);
            drawn = test::saveSnapshot(box, snapshots_.path().c_str(), QStringLiteral("about_box"));
            box.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });

        QWidget mainWindow;
        mainWindow.setGeometry(0, 0, 200, 100);
        mainWindow.show();
        showAboutBox(&mainWindow);

        QCOMPARE(product, QStringLiteral("Korvel Logger"));
        QCOMPARE(version, QStringLiteral("Version:  3.01"));
        QCOMPARE(copyright, QStringLiteral("Copyright \u00a9 2026 Korvel Logger developers"));
        QVERIFY(hasIcon);
        QVERIFY(centred);
        QVERIFY(drawn);
    }

private:
    kvtest::TempDir snapshots_;
};

} // namespace korvel

QTEST_MAIN(korvel::SplashAndAboutTest)
#include "splash_and_about_test.moc"
