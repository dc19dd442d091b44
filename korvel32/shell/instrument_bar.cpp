#include "shell/instrument_bar.h"

#include "shell/instrument_button.h"

#include <QStyle>

#include <algorithm>

namespace korvel {
namespace {

constexpr int kButtonsPerRow = 10;
constexpr int kMargin = 2; // above the first row and below the last

int systemIconSide(const QWidget &widget) {
    const int side = widget.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &widget);
    return side > 0 ? side : 32;
}

} // namespace

InstrumentBar::InstrumentBar(const InstrumentTable &table, std::function<InstrumentIcon(int slot)> iconOf,
                             QWidget *parent)
        : QWidget(parent), table_(table),
          iconOf_(std::move(iconOf)), pictures_{instrumentIcon(InstrumentIcon::Idle),
                                                instrumentIcon(InstrumentIcon::Logging),
                                                instrumentIcon(InstrumentIcon::LoggingSimulated)} {
    const int side = systemIconSide(*this);
    for (InstrumentButton *&button : buttons_) {
        button = new InstrumentButton(this);
        button->setIconSize(QSize(side, side));
        button->setFixedSize(buttonSize());
        button->hide();
        connect(button, &QAbstractButton::clicked, this, [this, button] { selectSlot(button->slot()); });
    }
    layOutButtons();
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize InstrumentBar::buttonSize() const {
    const int side = systemIconSide(*this);
    return {side + 6, side * 4 / 3};
}

QSize InstrumentBar::sizeHint() const {
    const QSize button = buttonSize();
    return {kButtonsPerRow * button.width(), kMargin + rows_ * button.height() + kMargin};
}

void InstrumentBar::layOutButtons() {
    const QSize button = buttonSize();
    for (std::size_t position = 0; position < buttons_.size(); ++position) {
        const int column = static_cast<int>(position) % kButtonsPerRow;
        const int row = static_cast<int>(position) / kButtonsPerRow;
        buttons_[position]->move(column * button.width(), kMargin + row * button.height());
    }
}

int InstrumentBar::positionOf(int slot) const {
    const auto found = std::find(order_.begin(), order_.end(), slot);
    return found == order_.end() ? -1 : static_cast<int>(found - order_.begin());
}

// After every button whose BCN is smaller or equal.
std::size_t InstrumentBar::placeByBcn(int slot) const {
    const unsigned bcn = table_.slot(slot).bcn;
    const auto after =
        std::find_if(order_.begin(), order_.end(), [&](int shown) { return table_.slot(shown).bcn > bcn; });
    return static_cast<std::size_t>(after - order_.begin());
}

void InstrumentBar::refreshButton(std::size_t position) {
    const int slot = order_[position];
    const QIcon &picture = pictures_[static_cast<std::size_t>(iconOf_(slot))];
    buttons_[position]->showInstrument(slot, table_.slot(slot).bcn, picture);
    buttons_[position]->setSelected(slot == selected_);
}

void InstrumentBar::refreshFrom(std::size_t position) {
    for (std::size_t shown = position; shown < buttons_.size(); ++shown) {
        if (shown < order_.size()) {
            refreshButton(shown);
            buttons_[shown]->show();
        } else {
            buttons_[shown]->hide();
        }
    }
    const int rows = static_cast<int>(order_.size()) > kButtonsPerRow ? 2 : 1;
    if (rows != rows_) {
        rows_ = rows;
        updateGeometry();
    }
}

void InstrumentBar::markSelected(int slot) {
    selected_ = slot;
    for (std::size_t position = 0; position < order_.size(); ++position)
        buttons_[position]->setSelected(order_[position] == slot);
}

void InstrumentBar::changeSelection(int slot) {
    if (slot == selected_) return;
    markSelected(slot);
    emit instrumentSelected(slot);
}

void InstrumentBar::insertInstrument(int slot, bool select) {
    if (positionOf(slot) < 0) {
        const std::size_t place = placeByBcn(slot);
        order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(place), slot);
        refreshFrom(place);
    }
    if (selected_ == 0 || select) changeSelection(slot);
}

void InstrumentBar::removeInstrument(int slot) {
    const int position = positionOf(slot);
    if (position < 0) return;
    order_.erase(order_.begin() + position);
    refreshFrom(static_cast<std::size_t>(position));
    if (slot != selected_) return;
    if (static_cast<std::size_t>(position) < order_.size())
        changeSelection(order_[static_cast<std::size_t>(position)]);
    else
        changeSelection(order_.empty() ? 0 : order_.back());
}

void InstrumentBar::reorderInstrument(int slot) {
    const int position = positionOf(slot);
    if (position < 0) return;
    order_.erase(order_.begin() + position);
    const std::size_t place = placeByBcn(slot);
    order_.insert(order_.begin() + static_cast<std::ptrdiff_t>(place), slot);
    refreshFrom(std::min(place, static_cast<std::size_t>(position)));
}

void InstrumentBar::selectSlot(int slot) {
    if (positionOf(slot) < 0) return;
    markSelected(slot);
    emit instrumentSelected(slot);
}

void InstrumentBar::redrawIcon(int slot) {
    const int position = positionOf(slot);
    if (position >= 0) refreshButton(static_cast<std::size_t>(position));
}

void InstrumentBar::focusSelectedButton() {
    const int position = positionOf(selected_);
    if (position >= 0) buttons_[static_cast<std::size_t>(position)]->setFocus(Qt::TabFocusReason);
}

} // namespace korvel
