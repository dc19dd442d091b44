// The live windows' pictures.
#include "shell/icon_painting.h"
#include "shell/shell_icons.h"

#include <QFont>

#include <iterator>

namespace korvel {

using namespace icon_art;

QIcon quickPlotIcon() {
    return iconFromDrawing([](QPainter &p) {
        p.setPen(outlinePen(palette::kOutline, 1.5));
        p.setBrush(QColor(palette::kPaper));
        p.drawRect(QRectF(2.5, 4.5, 27, 23));
        p.setPen(outlinePen(palette::kOutline, 1.2));
        p.drawLine(QPointF(6, 7), QPointF(6, 24));
        p.drawLine(QPointF(6, 24), QPointF(27, 24));
        const QPointF first[] = {{7, 20}, {12, 14}, {17, 17}, {22, 9}, {27, 12}};
        p.setPen(outlinePen(palette::kBlue, 2.0));
        p.drawPolyline(first, static_cast<int>(std::size(first)));
        const QPointF second[] = {{7, 22}, {12, 19}, {17, 21}, {22, 16}, {27, 18}};
        p.setPen(outlinePen(palette::kRed, 2.0));
        p.drawPolyline(second, static_cast<int>(std::size(second)));
    });
}

QIcon alarmIcon() {
    return iconFromDrawing([](QPainter &p) {
        p.setPen(outlinePen(palette::kRedDark, 1.5));
        p.setBrush(QColor(palette::kRed));
        const QPointF sign[] = {{16, 3}, {30, 28}, {2, 28}};
        p.drawPolygon(sign, static_cast<int>(std::size(sign)));
        QFont font;
        font.setPixelSize(18);
        font.setBold(true);
        p.setFont(font);
        p.setPen(QColor(palette::kPaper));
        p.drawText(QRectF(2, 9, 28, 19), Qt::AlignCenter, QStringLiteral("!"));
    });
}

} // namespace korvel
