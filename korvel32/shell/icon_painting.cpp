#include "shell/icon_painting.h"

#include <QLinearGradient>

namespace korvel::icon_art {

QPixmap renderDrawing(const Drawing &draw, int side, qreal ratio) {
    const int pixels = qRound(side * ratio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(pixels / kGrid, pixels / kGrid);
        draw(painter);
    }
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

QIcon iconFromDrawing(const Drawing &draw, std::initializer_list<int> sides) {
    QIcon icon;
    for (const int side : sides) {
        icon.addPixmap(renderDrawing(draw, side, 1.0));
        icon.addPixmap(renderDrawing(draw, side, 2.0));
    }
    return icon;
}

QPolygonF playShape(qreal left, qreal top, qreal width, qreal height) {
    return QPolygonF({{left, top}, {left + width, top + height / 2}, {left, top + height}});
}

QPen outlinePen(const QColor &colour, qreal width) {
    QPen pen{colour};
    pen.setWidthF(width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

namespace {

// A trace across the display: a flat line when idle, a measured signal while
// logging, drawn bold and dark on the lit display, dashed for simulated data.
void drawTrace(QPainter &painter, const QRectF &screen, FrontDisplay display) {
    const qreal middle = screen.center().y();
    if (display == FrontDisplay::Idle) {
        painter.setPen(outlinePen(palette::kIdleTrace, 1.4));
        painter.drawLine(QPointF(screen.left() + 1.5, middle), QPointF(screen.right() - 1.5, middle));
        return;
    }
    const qreal rise = screen.height() * 0.3;
    const qreal step = (screen.width() - 3.0) / 5.0;
    const qreal x = screen.left() + 1.5;
    const QPointF signal[] = {
        {x, middle + rise * 0.3},
        {x + step, middle - rise},
        {x + 2 * step, middle + rise},
        {x + 3 * step, middle - rise * 0.5},
        {x + 4 * step, middle + rise * 0.6},
        {x + 5 * step, middle - rise},
    };
    if (display == FrontDisplay::Logging) {
        painter.setPen(outlinePen(palette::kGreenDark, 2.0));
    } else {
        QPen dashed = outlinePen(palette::kAmber, 1.6);
        dashed.setCapStyle(Qt::FlatCap);
        dashed.setDashPattern({2.0, 1.0});
        painter.setPen(dashed);
    }
    painter.drawPolyline(signal, static_cast<int>(std::size(signal)));
}

// A logging instrument's display is lit; otherwise it stays dark.
QBrush screenBrush(const QRectF &screen, FrontDisplay display) {
    if (display != FrontDisplay::Logging) return QColor(palette::kDisplay);
    QLinearGradient lit(screen.topLeft(), screen.bottomLeft());
    lit.setColorAt(0.0, QColor(palette::kScreenLit));
    lit.setColorAt(1.0, QColor(palette::kGreen));
    return lit;
}

QRgb lampColour(FrontDisplay display) {
    switch (display) {
        case FrontDisplay::Idle: return palette::kLampOff;
        case FrontDisplay::Logging: return palette::kGreen;
        case FrontDisplay::Simulated: return palette::kAmber;
    }
    return palette::kLampOff;
}

} // namespace

void drawInstrumentFront(QPainter &painter, const QRectF &body, FrontDisplay display) {
    painter.save();
    QLinearGradient shade(body.topLeft(), body.bottomLeft());
    shade.setColorAt(0.0, QColor(palette::kBodyLight));
    shade.setColorAt(1.0, QColor(palette::kBodyDark));
    painter.setPen(outlinePen(palette::kOutline, 1.5));
    painter.setBrush(shade);
    painter.drawRoundedRect(body, 2.5, 2.5);

    const qreal inset = body.height() * 0.18;
    const QRectF screen(body.left() + inset, body.top() + inset, body.width() * 0.6, body.height() - 2 * inset);
    painter.setPen(outlinePen(palette::kOutline, 1.0));
    painter.setBrush(screenBrush(screen, display));
    painter.drawRect(screen);
    drawTrace(painter, screen, display);

    // The panel right of the display: two knobs over the status lamp.
    const qreal panelX = (screen.right() + body.right()) / 2.0;
    const qreal knob = body.height() * 0.12;
    painter.setPen(outlinePen(palette::kOutline, 0.9));
    painter.setBrush(QColor(palette::kKnob));
    painter.drawEllipse(QPointF(panelX, screen.top() + knob), knob, knob);
    painter.drawEllipse(QPointF(panelX, screen.center().y()), knob, knob);
    painter.setBrush(QColor(lampColour(display)));
    painter.drawEllipse(QPointF(panelX, screen.bottom() - knob * 0.8), knob * 0.9, knob * 0.9);
    painter.restore();
}

void drawBadge(QPainter &painter, QPointF centre, qreal radius, QRgb fill, QRgb edge, BadgeSign sign) {
    painter.save();
    painter.setPen(outlinePen(edge, 1.3));
    painter.setBrush(QColor(fill));
    painter.drawEllipse(centre, radius, radius);
    const qreal arm = radius * 0.55;
    painter.setPen(outlinePen(palette::kPaper, radius * 0.38));
    painter.drawLine(QPointF(centre.x() - arm, centre.y()), QPointF(centre.x() + arm, centre.y()));
    if (sign == BadgeSign::Plus)
        painter.drawLine(QPointF(centre.x(), centre.y() - arm), QPointF(centre.x(), centre.y() + arm));
    painter.restore();
}

} // namespace korvel::icon_art
