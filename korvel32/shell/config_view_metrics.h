// The character cell the setup view lays its texts out in, and the fonts it
// draws them with.
#pragma once

#include <QColor>
#include <QFont>

namespace korvel {

// The average character width and the line height (height plus leading) of
// the main window's font, each at least one pixel.
struct CharacterCell {
    int width = 1;
    int height = 1;

    int columns(int count) const { return count * width; }
    int lines(int count) const { return count * height; }
    int halfLines(int count) const { return count * height / 2; }
};

CharacterCell characterCell(const QFont &windowFont);

// The font of the child windows' values and readings: Arial, 10 points.
QFont childWindowFont();

// Labels, titles and hints come in the window's own font, values and channel
// lines in the child-window font; all transparent in the window-text colour.
struct ConfigViewStyle {
    CharacterCell cell;
    QFont labelFont;
    QFont valueFont;
    QColor text;
    QColor background;
};

} // namespace korvel
