// What the icon drawings share: the 32 x 32 grid every picture is drawn on,
// the palette, the rendering into 1x and 2x pixmaps, and the instrument front
// that several pictures show.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>

#include <functional>
#include <initializer_list>

namespace korvel::icon_art {

// Every drawing uses a 32 x 32 grid; rendering scales it to the wanted size.
inline constexpr double kGrid = 32.0;

// One palette for all pictures.
namespace palette {
inline constexpr QRgb kOutline = 0xff3b4148;
inline constexpr QRgb kBodyLight = 0xffc3c8cf;
inline constexpr QRgb kBodyDark = 0xff8c939c;
inline constexpr QRgb kDisplay = 0xff1d2731;
inline constexpr QRgb kIdleTrace = 0xff6b7a86;
inline constexpr QRgb kKnob = 0xffeceef1;
inline constexpr QRgb kLampOff = 0xff5a616a;
inline constexpr QRgb kGreen = 0xff34c759;
inline constexpr QRgb kGreenDark = 0xff1e7a37;
inline constexpr QRgb kScreenLit = 0xffc9f7d4;
inline constexpr QRgb kAmber = 0xfff2a33a;
inline constexpr QRgb kAmberDark = 0xff9a5a0c;
inline constexpr QRgb kRed = 0xffd9412f;
inline constexpr QRgb kRedDark = 0xff8a2016;
inline constexpr QRgb kBlue = 0xff2f6fba;
inline constexpr QRgb kBlueDark = 0xff17406f;
inline constexpr QRgb kFolder = 0xfff3c349;
inline constexpr QRgb kFolderDark = 0xffc48a17;
inline constexpr QRgb kPaper = 0xfffbfbfc;
} // namespace palette

using Drawing = std::function<void(QPainter &painter)>;

// The drawing on a transparent square of side logical pixels at the given
// device pixel ratio.
QPixmap renderDrawing(const Drawing &draw, int side, qreal ratio);

// An icon holding the drawing at each side, at 1x and 2x.
QIcon iconFromDrawing(const Drawing &draw, std::initializer_list<int> sides = {16, 24, 32, 48});

// What the display of an instrument front shows.
enum class FrontDisplay { Idle, Logging, Simulated };

// An instrument front filling body: a grey case, a display with a trace, two
// knobs and a status lamp. Idle shows a flat grey line on a dark display and
// a dark lamp; logging lights the display green under a bold dark trace and
// lights the lamp; simulated logging keeps the display dark under a dashed
// amber trace with an amber lamp. Lit or dark, solid or dashed: the states
// tell apart by brightness and shape, not only by colour.
void drawInstrumentFront(QPainter &painter, const QRectF &body, FrontDisplay display);

// A round badge with a white sign, for pictures that add to or take from
// something: the sign is a plus or a minus.
enum class BadgeSign { Plus, Minus };
void drawBadge(QPainter &painter, QPointF centre, qreal radius, QRgb fill, QRgb edge, BadgeSign sign);

// A "start" triangle pointing right, its left edge at left.
QPolygonF playShape(qreal left, qreal top, qreal width, qreal height);

// A pen in grid units with round joins, as every outline uses.
QPen outlinePen(const QColor &colour, qreal width);

} // namespace korvel::icon_art
