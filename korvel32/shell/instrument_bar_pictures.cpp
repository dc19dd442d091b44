// The instrument bar's pictures. The three states must tell apart at a glance
// and without colour: idle is the bare instrument; logging adds a solid green
// mark with a white "start" triangle, like the toolbar's Start button, and
// lights the display; simulated logging adds a pale mark with a dashed ring
// and a hollow triangle, and keeps the display dark under a dashed trace.
#include "shell/icon_painting.h"
#include "shell/shell_icons.h"

namespace korvel {

using namespace icon_art;

namespace {

// The bar writes the BCN in the lower part of each button, so the instrument
// stands in the upper two thirds of the square.
const QRectF kBarFront(2.0, 3.0, 28.0, 17.0);

// The mark sits on the lower right corner of the case, over the status lamp.
constexpr QPointF kMarkCentre(25.5, 19.5);
constexpr qreal kMarkRadius = 5.5;

QPolygonF markTriangle() { return playShape(kMarkCentre.x() - 1.8, kMarkCentre.y() - 3.0, 5.0, 6.0); }

void drawLoggingMark(QPainter &painter) {
    painter.setPen(outlinePen(palette::kGreenDark, 1.2));
    painter.setBrush(QColor(palette::kGreen));
    painter.drawEllipse(kMarkCentre, kMarkRadius, kMarkRadius);
    painter.setPen(outlinePen(palette::kPaper, 0.8));
    painter.setBrush(QColor(palette::kPaper));
    painter.drawPolygon(markTriangle());
}

void drawSimulatedMark(QPainter &painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(palette::kPaper));
    painter.drawEllipse(kMarkCentre, kMarkRadius - 0.6, kMarkRadius - 0.6);
    QPen ring = outlinePen(palette::kAmberDark, 1.3);
    ring.setCapStyle(Qt::FlatCap);
    ring.setDashPattern({2.2, 1.2});
    painter.setPen(ring);
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(kMarkCentre, kMarkRadius, kMarkRadius);
    painter.setPen(outlinePen(palette::kAmberDark, 1.1));
    painter.drawPolygon(markTriangle());
}

} // namespace

QIcon instrumentIcon(InstrumentIcon kind) {
    switch (kind) {
        case InstrumentIcon::Idle:
            return iconFromDrawing([](QPainter &p) { drawInstrumentFront(p, kBarFront, FrontDisplay::Idle); });
        case InstrumentIcon::Logging:
            return iconFromDrawing([](QPainter &p) {
                drawInstrumentFront(p, kBarFront, FrontDisplay::Logging);
                drawLoggingMark(p);
            });
        case InstrumentIcon::LoggingSimulated:
            return iconFromDrawing([](QPainter &p) {
                drawInstrumentFront(p, kBarFront, FrontDisplay::Simulated);
                drawSimulatedMark(p);
            });
    }
    return {};
}

} // namespace korvel
