#include "shell/window_placement.h"

#include <QWidget>

namespace korvel {

namespace {

WindowRect toWindowRect(const QRect &rect) {
    return {static_cast<std::int16_t>(rect.left()), static_cast<std::int16_t>(rect.top()),
            static_cast<std::int16_t>(rect.right() + 1), static_cast<std::int16_t>(rect.bottom() + 1)};
}

} // namespace

std::optional<WindowRect> placeToKeep(const QWidget &window, bool moved) {
    if (window.isMinimized() || (window.isMaximized() && !moved)) return std::nullopt;
    const WindowRect rect = toWindowRect(window.frameGeometry());
    if (!window.isMaximized()) return rect;
    return WindowRect{0, 0, static_cast<std::int16_t>(rect.left + rect.right),
                      static_cast<std::int16_t>(rect.top + rect.bottom)};
}

void moveToKeptPlace(QWidget &window, const WindowRect &place) {
    if (window.isMinimized() || window.isMaximized() || place.right <= place.left || place.bottom <= place.top) return;
    placeFrame(window, QRect(QPoint(place.left, place.top), QPoint(place.right - 1, place.bottom - 1)));
}

void placeFrame(QWidget &window, const QRect &outer) {
    const QSize frame = window.frameGeometry().size() - window.size();
    window.move(outer.topLeft());
    window.resize(outer.size() - frame);
}

} // namespace korvel
