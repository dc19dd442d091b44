#include "config_view_metrics.h"

#include <QFontMetrics>

#include <algorithm>

namespace korvel {

CharacterCell characterCell(const QFont &windowFont) {
    const QFontMetrics metrics(windowFont);
    return {std::max(1, metrics.averageCharWidth()), std::max(1, metrics.lineSpacing())};
}

QFont childWindowFont() { return QFont(QStringLiteral("Arial"), 10); }

} // namespace korvel
