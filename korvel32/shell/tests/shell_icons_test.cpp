// The program's own pictures: one per command, distinct, drawn for 1x and 2x
// screens, and the instrument pictures leave the bar room for the BCN and tell
// their states apart without colour.
#include "app/command_ids.h"
#include "app/command_table.h"
#include "shell/shell_icons.h"

#include <QTest>

#include <cmath>
#include <vector>

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

// Relative luminance, 0 to 1, of a colour as it is stored.
double luminance(QRgb colour) {
    return (0.2126 * qRed(colour) + 0.7152 * qGreen(colour) + 0.0722 * qBlue(colour)) / 255.0;
}

// What a picture looks like to someone who sees no hue: its brightness at
// each pixel, laid over a mid-grey background.
std::vector<double> brightness(const QImage &picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    std::vector<double> values;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            const double cover = qAlpha(pixel) / 255.0;
            values.push_back(luminance(pixel) * cover + 0.5 * (1.0 - cover));
        }
    }
    return values;
}

// The mean luminance of the drawn pixels, weighted by their cover.
double meanLuminance(const QImage &picture) {
    const QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    double sum = 0.0;
    double cover = 0.0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            sum += luminance(image.pixel(x, y)) * qAlpha(image.pixel(x, y));
            cover += qAlpha(image.pixel(x, y));
        }
    }
    return sum / cover;
}

// The share of pixels whose brightness differs by a clearly visible step.
double brightnessChange(const QImage &a, const QImage &b) {
    const std::vector<double> first = brightness(a);
    const std::vector<double> second = brightness(b);
    int changed = 0;
    for (std::size_t i = 0; i < first.size(); ++i) changed += std::abs(first[i] - second[i]) >= 0.25 ? 1 : 0;
    return static_cast<double>(changed) / static_cast<double>(first.size());
}

// Pixels drawn in one picture and left empty (or nearly) in the other.
int outlineChange(const QImage &a, const QImage &b) {
    int changed = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) changed += std::abs(qAlpha(a.pixel(x, y)) - qAlpha(b.pixel(x, y))) >= 128;
    }
    return changed;
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

    // Idle, logging and simulated logging must tell apart for a colour-blind
    // user too: a change of hue alone (a green trace for a grey one) fails.
    void instrumentStatesDifferInBrightnessAndShapeNotOnlyHue_data() {
        QTest::addColumn<qreal>("ratio");
        QTest::newRow("1x") << 1.0;
        QTest::newRow("2x") << 2.0;
    }

    void instrumentStatesDifferInBrightnessAndShapeNotOnlyHue() {
        QFETCH(qreal, ratio);
        const QImage idle = at(instrumentIcon(InstrumentIcon::Idle), 32, ratio);
        const QImage logging = at(instrumentIcon(InstrumentIcon::Logging), 32, ratio);
        const QImage simulated = at(instrumentIcon(InstrumentIcon::LoggingSimulated), 32, ratio);
        for (const QImage &picture : {idle, logging, simulated}) {
            QCOMPARE(picture.size(), QSize(32, 32) * ratio);
            QVERIFY(transparentBelow(picture, qRound(26 * ratio)));
        }

        const struct {
            const char *pair;
            const QImage &first;
            const QImage &second;
        } pairs[] = {{"idle/logging", idle, logging},
                     {"idle/simulated", idle, simulated},
                     {"logging/simulated", logging, simulated}};
        for (const auto &pair : pairs) {
            const double mean = std::abs(meanLuminance(pair.first) - meanLuminance(pair.second));
            QVERIFY2(mean >= 0.05,
                     qPrintable(QStringLiteral("%1: mean luminance differs by %2").arg(pair.pair).arg(mean)));
            const double changed = brightnessChange(pair.first, pair.second);
            QVERIFY2(
                changed >= 0.05,
                qPrintable(QStringLiteral("%1: %2 of the pixels differ in brightness").arg(pair.pair).arg(changed)));
        }
        // Both logging states carry a mark beyond the instrument's outline.
        const int area = idle.width() * idle.height();
        QVERIFY(outlineChange(idle, logging) >= area / 50);
        QVERIFY(outlineChange(idle, simulated) >= area / 50);
    }
};

} // namespace korvel

QTEST_MAIN(korvel::ShellIconsTest)
#include "shell_icons_test.moc"
