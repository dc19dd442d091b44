// A column of lines in a window's label, as the readings and Spy windows show
// their channels, readings and units: plain text in the child-window font,
// one line per entry.
#pragma once

#include <QString>
#include <Qt>

#include <string>
#include <vector>

class QLabel;
class QWidget;

namespace korvel {

QString joinedLines(const std::vector<std::string> &lines);

// At least wide enough for a reading.
QLabel *textColumn(QWidget *parent, const char *name, Qt::Alignment alignment);

} // namespace korvel
