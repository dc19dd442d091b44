// The product's own pictures: the application icon and the splash picture.
// The instrument and toolbar pictures are in icon_instruments.cpp and
// icon_commands.cpp.
#include "shell/shell_icons.h"

#include "shell/icon_painting.h"

#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>

namespace korvel {

using namespace icon_art;

namespace {

void drawBackdrop(QPainter &p, const QRectF &area, qreal radius) {
    QLinearGradient backdrop(area.topLeft(), area.bottomLeft());
    backdrop.setColorAt(0.0, QColor(palette::kBlue));
    backdrop.setColorAt(1.0, QColor(palette::kBlueDark));
    p.setPen(Qt::NoPen);
    p.setBrush(backdrop);
    p.drawRoundedRect(area, radius, radius);
}

constexpr int kSplashWidth = 400;
constexpr int kSplashHeight = 250;

void drawSplash(QPainter &p) {
    drawBackdrop(p, QRectF(0, 0, kSplashWidth, kSplashHeight), 0);

    // A faint chart grid behind everything, with the trend the logger records.
    p.setPen(outlinePen(QColor::fromRgba(0x28ffffff), 1.0));
    for (int x = 20; x < kSplashWidth; x += 40) p.drawLine(x, 0, x, kSplashHeight);
    for (int y = 25; y < kSplashHeight; y += 40) p.drawLine(0, y, kSplashWidth, y);
    const QPointF trend[] = {{0, 228},   {60, 214},  {110, 222}, {170, 196},
                             {230, 206}, {290, 180}, {340, 188}, {400, 166}};
    p.setPen(outlinePen(palette::kGreen, 3.0));
    p.drawPolyline(trend, static_cast<int>(std::size(trend)));

    p.save();
    p.translate(28, 52);
    p.scale(3.6, 3.6);
    drawInstrumentFront(p, QRectF(0.5, 0.5, 28, 19), FrontDisplay::Logging);
    p.restore();

    QFont title;
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(palette::kPaper));
    p.drawText(QRectF(150, 58, 246, 44), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Korvel Logger"));

    QFont subtitle;
    subtitle.setPixelSize(13);
    p.setFont(subtitle);
    p.setPen(QColor(palette::kBodyLight));
    p.drawText(QRectF(152, 104, 240, 40), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("Data acquisition for Korvel M100A and M200A instruments"));
}

} // namespace

QIcon applicationIcon() {
    const auto draw = [](QPainter &p) {
        drawBackdrop(p, QRectF(0.5, 0.5, kGrid - 1, kGrid - 1), 6.0);
        drawInstrumentFront(p, QRectF(3.5, 8.0, 25.0, 16.0), FrontDisplay::Logging);
    };
    return iconFromDrawing(draw, {16, 24, 32, 48, 64, 128, 256});
}

QPixmap splashPixmap() {
    const qreal ratio = qMax<qreal>(1.0, qGuiApp != nullptr ? qGuiApp->devicePixelRatio() : 1.0);
    QPixmap picture(qRound(kSplashWidth * ratio), qRound(kSplashHeight * ratio));
    {
        QPainter painter(&picture);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(ratio, ratio);
        drawSplash(painter);
    }
    picture.setDevicePixelRatio(ratio);
    return picture;
}

} // namespace korvel
