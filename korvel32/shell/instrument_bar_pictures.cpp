// The instrument bar's pictures.
#include "shell/icon_painting.h"
#include "shell/shell_icons.h"

#include <QFont>

namespace korvel {

using namespace icon_art;

namespace {

// The bar writes the BCN in the lower part of each button, so the instrument
// stands in the upper two thirds of the square.
const QRectF kBarFront(2.0, 3.0, 28.0, 17.0);

// Simulated data gets an amber "S" at the lower right of the case, so it tells
// from real logging even where colours are hard to tell apart.
void drawSimulatedMarker(QPainter &painter) {
    const QPointF centre(26.0, 19.5);
    const qreal radius = 5.5;
    painter.setPen(outlinePen(palette::kAmberDark, 1.2));
    painter.setBrush(QColor(palette::kAmber));
    painter.drawEllipse(centre, radius, radius);
    QFont font;
    font.setPixelSize(9);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor(palette::kDisplay));
    painter.drawText(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), Qt::AlignCenter,
                     QStringLiteral("S"));
}

} // namespace

QIcon instrumentIcon(InstrumentIcon kind) {
    switch (kind) {
        case InstrumentIcon::Idle:
            return iconFromDrawing([](QPainter &p) { drawInstrumentFront(p, kBarFront, FrontDisplay::Idle); });
        case InstrumentIcon::Logging:
            return iconFromDrawing([](QPainter &p) { drawInstrumentFront(p, kBarFront, FrontDisplay::Logging); });
        case InstrumentIcon::LoggingSimulated:
            return iconFromDrawing([](QPainter &p) {
                drawInstrumentFront(p, kBarFront, FrontDisplay::Simulated);
                drawSimulatedMarker(p);
            });
    }
    return {};
}

} // namespace korvel
