// The program's own pictures: one per command, distinct, drawn for 1x and 2x
// screens, and the instrument pictures leave the bar room for the BCN.
#include "app/command_ids.h"
#include "app/command_table.h"
#include "shell/shell_icons.h"

#include <QTest>

namespace korvel {
namespace {

QImage at(const QIcon &icon, int side, qreal ratio) { return icon.pixmap(QSize(side, side), ratio).toImage(); }

bool transparentBelow(const QImage &image, int top) {
    for (int y = top; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).alpha() != 0) return false;
        }
    }
    return true;
}

} // namespace

class ShellIconsTest : public QObject {
    Q_OBJECT

private slots:
    void everyToolbarCommandHasItsOwnPicture() {
        std::vector<QImage> pictures;
        for (const int command : toolbarButtons()) {
            if (command == kSeparator) continue;
            const QIcon icon = commandIcon(command);
            QVERIFY2(!icon.isNull(), qPrintable(QString::number(command)));
            const QImage picture = at(icon, 24, 1.0);
            for (const QImage &other : pictures) QVERIFY2(picture != other, qPrintable(QString::number(command)));
            pictures.push_back(picture);
        }
        QVERIFY(commandIcon(command::kExit).isNull());
    }

    void picturesAreDrawnForDoubleDensityScreens() {
        for (const QIcon &icon :
             {commandIcon(command::kOpenSetup), instrumentIcon(InstrumentIcon::Logging), applicationIcon()}) {
            // The largest 1x picture cannot stand in for a 2x one.
            for (const int side : {16, 48}) {
                const QPixmap sharp = icon.pixmap(QSize(side, side), 2.0);
                QCOMPARE(sharp.size(), QSize(2 * side, 2 * side));
                QCOMPARE(sharp.devicePixelRatio(), 2.0);
            }
        }
    }

    void instrumentPicturesDifferAndLeaveTheLowerPartForTheBcn() {
        const QImage idle = at(instrumentIcon(InstrumentIcon::Idle), 32, 1.0);
        const QImage logging = at(instrumentIcon(InstrumentIcon::Logging), 32, 1.0);
        const QImage simulated = at(instrumentIcon(InstrumentIcon::LoggingSimulated), 32, 1.0);
        QVERIFY(idle != logging && logging != simulated && idle != simulated);
        for (const QImage &picture : {idle, logging, simulated}) QVERIFY(transparentBelow(picture, 26));
    }
};

} // namespace korvel

QTEST_MAIN(korvel::ShellIconsTest)
#include "shell_icons_test.moc"
