#include "config_view_drawing.h"

#include "platform/string_table.h"

#include <QFontMetrics>
#include <QPainter>

#include <array>
#include <optional>

namespace korvel {

namespace {

struct HintLine {
    int stringId;
    int column;
    int line;
};

constexpr std::array<HintLine, 4> kHintLines{{
    {1286, 26, 2}, // "Configure Communications"
    {1287, 37, 4}, // "and"
    {1288, 28, 6}, // "Create Instrument Icons"
    {1289, 30, 8}, // "(Press F1 for Help)"
}};

// The title sits half a line down; it moves left when it carries the group role.
constexpr int kTitleHalfLine = 1;
constexpr int kTitleColumnWithMaster = 23;
constexpr int kTitleColumn = 26;

// The rows under the title, top down in half-lines, with half-line gaps after
// the title, after the model and after the interval rows. The numbers index
// the report's pairs: description, model, trigger type, interval 1,
// interval 2, reading rate, drift correction, duration, temp units, monitor
// channel, totalizer debounce, data file, file mode, file format.
struct SettingsRow {
    int halfLine;
    std::size_t first;
    std::optional<std::size_t> second;
};

constexpr std::array<SettingsRow, 8> kSettingsRows{{
    {4, 0, std::nullopt},
    {6, 1, std::nullopt},
    {9, 2, 5},
    {11, 3, 6},
    {13, 4, 7},
    {16, 8, 11},
    {18, 9, 12},
    {20, 10, 13},
}};

constexpr int kLabelColumn = 1;
constexpr int kSingleValueColumn = 15;
constexpr int kFirstValueColumn = 19;
constexpr int kSecondLabelColumn = 47;
constexpr int kSecondValueColumn = 64;

// Channel, function, range, alarm 1, alarm 2, trigger, Mx+B, units, label.
constexpr std::array<int, kReportColumns> kChannelColumns{1, 7, 18, 32, 44, 56, 62, 71, 84};
constexpr std::size_t kRangeColumn = 2;

void drawOnBaseline(QPainter &painter, const QFont &font, int x, int baseline, const std::string &text) {
    painter.setFont(font);
    painter.drawText(x, baseline, QString::fromStdString(text));
}

int ascent(const QPainter &painter, const QFont &font) { return QFontMetrics(font, painter.device()).ascent(); }

// Text with its top left corner at (x, top), as the report's strings are placed.
void drawText(QPainter &painter, const QFont &font, int x, int top, const std::string &text) {
    drawOnBaseline(painter, font, x, top + ascent(painter, font), text);
}

// The value, in a font of its own, sits on the label's baseline.
void drawPair(QPainter &painter, const ConfigViewStyle &style, int top, const ReportPair &pair, int labelColumn,
              int valueColumn) {
    const int baseline = top + ascent(painter, style.labelFont);
    drawOnBaseline(painter, style.labelFont, style.cell.columns(labelColumn), baseline, pair.label);
    drawOnBaseline(painter, style.valueFont, style.cell.columns(valueColumn), baseline, pair.value);
}

void drawRow(QPainter &painter, const QFont &font, const CharacterCell &cell, int top, const ReportRow &row,
             bool withRange) {
    for (std::size_t column = 0; column < kReportColumns; ++column) {
        if (column == kRangeColumn && !withRange) continue;
        drawText(painter, font, cell.columns(kChannelColumns[column]), top, row[column]);
    }
}

} // namespace

void drawHint(QPainter &painter, const ConfigViewStyle &style) {
    painter.setPen(style.text);
    for (const HintLine &line : kHintLines) {
        drawText(painter, style.labelFont, style.cell.columns(line.column), style.cell.lines(line.line),
                 resourceString(line.stringId));
    }
}

void drawInstrumentSettings(QPainter &painter, const ConfigViewStyle &style, const ConfigurationReport &report,
                            bool masterExists) {
    const CharacterCell &cell = style.cell;
    painter.setPen(style.text);
    drawText(painter, style.labelFont, cell.columns(masterExists ? kTitleColumnWithMaster : kTitleColumn),
             cell.halfLines(kTitleHalfLine), report.title);
    for (const SettingsRow &row : kSettingsRows) {
        const int top = cell.halfLines(row.halfLine);
        if (!row.second) {
            drawPair(painter, style, top, report.pairs[row.first], kLabelColumn, kSingleValueColumn);
            continue;
        }
        drawPair(painter, style, top, report.pairs[row.first], kLabelColumn, kFirstValueColumn);
        drawPair(painter, style, top, report.pairs[*row.second], kSecondLabelColumn, kSecondValueColumn);
    }
}

void drawChannelLines(QPainter &painter, const ConfigViewStyle &style, const ConfigurationReport &report) {
    painter.setPen(style.text);
    int top = style.cell.halfLines(kChannelLinesTop);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (!report.rowShown(channel)) continue;
        drawRow(painter, style.valueFont, style.cell, top, report.row(channel), !isComputedChannel(channel));
        top += style.cell.height;
    }
}

int channelAtLine(const CharacterCell &cell, const ConfigurationReport &report, int y) {
    int top = cell.halfLines(kChannelLinesTop);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (!report.rowShown(channel)) continue;
        if (y >= top && y < top + cell.height) return channel;
        top += cell.height;
    }
    return 0;
}

void drawColumnHeader(QPainter &painter, const ConfigViewStyle &style, const ReportRow &headings) {
    const CharacterCell &cell = style.cell;
    painter.setPen(style.text);
    drawRow(painter, style.labelFont, cell, cell.halfLines(1), headings, true);
    const int rule = cell.halfLines(kColumnHeaderHalfLines) - 1;
    painter.drawLine(0, rule, cell.columns(kColumnHeaderColumns), rule);
}

} // namespace korvel
