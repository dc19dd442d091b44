// The toolbar pictures, one per command.
#include "app/command_ids.h"
#include "shell/icon_painting.h"
#include "shell/shell_icons.h"

#include <array>
#include <iterator>

namespace korvel {

using namespace icon_art;

namespace {

void fillShape(QPainter &p, QRgb fill, QRgb edge, qreal width = 1.5) {
    p.setPen(outlinePen(edge, width));
    p.setBrush(QColor(fill));
}

void drawOpenSetup(QPainter &p) {
    fillShape(p, palette::kFolderDark, palette::kFolderDark);
    const QPointF back[] = {{3, 7}, {12, 7}, {14.5, 10}, {27, 10}, {27, 26}, {3, 26}};
    p.drawPolygon(back, static_cast<int>(std::size(back)));
    fillShape(p, palette::kFolder, palette::kFolderDark);
    const QPointF front[] = {{8, 14}, {30, 14}, {26, 26}, {3, 26}};
    p.drawPolygon(front, static_cast<int>(std::size(front)));
}

void drawSaveSetup(QPainter &p) {
    fillShape(p, palette::kBlue, palette::kBlueDark);
    const QPointF disk[] = {{4, 4}, {24, 4}, {28, 8}, {28, 28}, {4, 28}};
    p.drawPolygon(disk, static_cast<int>(std::size(disk)));
    fillShape(p, palette::kBodyLight, palette::kBlueDark, 1.0);
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setBrush(QColor(palette::kBlueDark));
    p.setPen(Qt::NoPen);
    p.drawRect(QRectF(17, 5.5, 3, 5));
    fillShape(p, palette::kPaper, palette::kBlueDark, 1.0);
    p.drawRect(QRectF(8, 16, 16, 12));
}

// Three stations on one network.
void drawCommunications(QPainter &p) {
    p.setPen(outlinePen(palette::kOutline, 2.2));
    p.drawLine(QPointF(16, 11), QPointF(16, 18));
    p.drawLine(QPointF(7, 18), QPointF(25, 18));
    p.drawLine(QPointF(7, 18), QPointF(7, 21));
    p.drawLine(QPointF(25, 18), QPointF(25, 21));
    const QRectF stations[] = {{9.5, 2, 13, 9}, {1, 21, 12, 9}, {19, 21, 12, 9}};
    for (const QRectF &station : stations) {
        fillShape(p, palette::kBlue, palette::kBlueDark, 1.3);
        p.drawRoundedRect(station, 1.5, 1.5);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(palette::kGreen));
        p.drawRect(station.adjusted(2.5, 2.5, -2.5, -2.5));
    }
}

// The bar's instrument with a badge: green plus to create, red minus to delete.
void drawInstrumentWithBadge(QPainter &p, QRgb fill, QRgb edge, BadgeSign sign) {
    drawInstrumentFront(p, QRectF(1.5, 4, 25, 16), FrontDisplay::Idle);
    drawBadge(p, QPointF(23.5, 23.5), 7.5, fill, edge, sign);
}

// Three sliders set to different positions.
void drawInstrumentConfiguration(QPainter &p) {
    const qreal tracks[] = {8, 16, 24};
    const qreal knobs[] = {19, 10, 22};
    for (std::size_t i = 0; i < std::size(tracks); ++i) {
        p.setPen(outlinePen(palette::kOutline, 2.2));
        p.drawLine(QPointF(tracks[i], 3), QPointF(tracks[i], 29));
        fillShape(p, palette::kBlue, palette::kBlueDark, 1.3);
        p.drawRoundedRect(QRectF(tracks[i] - 4, knobs[i] - 3, 8, 6), 1.5, 1.5);
    }
}

void drawStart(QPainter &p) {
    fillShape(p, palette::kGreen, palette::kGreenDark, 1.8);
    p.drawPolygon(playShape(8, 4, 19, 24));
}

void drawStop(QPainter &p) {
    fillShape(p, palette::kRed, palette::kRedDark, 1.8);
    p.drawRoundedRect(QRectF(6, 6, 20, 20), 2.5, 2.5);
}

void drawStartAll(QPainter &p) {
    fillShape(p, palette::kGreen, palette::kGreenDark, 1.6);
    p.drawPolygon(playShape(2.5, 5, 15, 22));
    p.drawPolygon(playShape(14.5, 5, 15, 22));
}

void drawStopAll(QPainter &p) {
    fillShape(p, palette::kRed, palette::kRedDark, 1.6);
    p.drawRoundedRect(QRectF(3, 3, 17, 17), 2, 2);
    p.drawRoundedRect(QRectF(12, 12, 17, 17), 2, 2);
}

// A chart with a rising trend.
void drawTrendLink(QPainter &p) {
    fillShape(p, palette::kPaper, palette::kOutline, 1.4);
    p.drawRoundedRect(QRectF(2.5, 3.5, 27, 25), 2, 2);
    p.setPen(outlinePen(palette::kBodyLight, 1.0));
    for (const qreal y : {10.5, 16.5, 22.5}) p.drawLine(QPointF(5, y), QPointF(27, y));
    const QPointF trend[] = {{5, 23}, {10, 18}, {14, 20}, {19, 12}, {23, 14}, {27, 7}};
    p.setPen(outlinePen(palette::kBlue, 2.6));
    p.drawPolyline(trend, static_cast<int>(std::size(trend)));
}

struct CommandPicture {
    int commandId;
    void (*draw)(QPainter &);
};

const std::array<CommandPicture, 11> kCommandPictures{{
    {command::kOpenSetup, drawOpenSetup},
    {command::kSaveSetup, drawSaveSetup},
    {command::kCommunicationsConfig, drawCommunications},
    {command::kCreateInstrument,
     [](QPainter &p) { drawInstrumentWithBadge(p, palette::kGreen, palette::kGreenDark, BadgeSign::Plus); }},
    {command::kDeleteInstrument,
     [](QPainter &p) { drawInstrumentWithBadge(p, palette::kRed, palette::kRedDark, BadgeSign::Minus); }},
    {command::kInstrumentConfiguration, drawInstrumentConfiguration},
    {command::kStartInstrument, drawStart},
    {command::kStopInstrument, drawStop},
    {command::kStartAll, drawStartAll},
    {command::kStopAll, drawStopAll},
    {command::kShowTrendLink, drawTrendLink},
}};

} // namespace

QIcon commandIcon(int commandId) {
    for (const CommandPicture &picture : kCommandPictures) {
        if (picture.commandId == commandId) return iconFromDrawing(picture.draw);
    }
    return {};
}

} // namespace korvel
