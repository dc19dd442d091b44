// The bar of instrument buttons under the toolbar: one button per instrument
// of the setup, in ascending BCN order, ten to a row, with the selected
// instrument highlighted.
#pragma once

#include "app/instrument_icon_commands.h"
#include "setup/instrument_table.h"
#include "shell/shell_icons.h"

#include <QWidget>

#include <array>
#include <functional>
#include <vector>

namespace korvel {

class InstrumentButton;

class InstrumentBar : public QWidget, public InstrumentSelection {
    Q_OBJECT

public:
    // iconOf tells which picture a slot's instrument shows now.
    InstrumentBar(const InstrumentTable &table, std::function<InstrumentIcon(int slot)> iconOf,
                  QWidget *parent = nullptr);

    // Shows the slot's instrument at its place in BCN order; it becomes the
    // selected one when nothing is selected or when asked. A slot already
    // shown is only selected (when asked).
    void insertInstrument(int slot, bool select);
    // Closes the gap. When the slot was selected, the selection moves to the
    // instrument now standing in its place, else to the one before it, else to
    // none.
    void removeInstrument(int slot);
    // The slot's instrument took another BCN: its button moves to its new
    // place in BCN order, keeping the selection.
    void reorderInstrument(int slot);

    int selectedSlot() const override { return selected_; } // 0 = none
    // As a click on the slot's button.
    void selectSlot(int slot) override;
    void redrawIcon(int slot);

    int rows() const { return rows_; } // 1 or 2
    std::vector<int> slotsInOrder() const { return order_; }
    void focusSelectedButton();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    // The selection changed, by a click or because the selected instrument
    // went away (slot 0: nothing is selected).
    void instrumentSelected(int slot);

private:
    QSize buttonSize() const;
    // Refreshes the buttons from the position onward and shows as many as
    // there are instruments.
    void refreshFrom(std::size_t position);
    void refreshButton(std::size_t position);
    void markSelected(int slot);
    // Marks the slot selected and tells the main window, unless it already is.
    void changeSelection(int slot);
    void layOutButtons();
    int positionOf(int slot) const; // -1 when not shown
    std::size_t placeByBcn(int slot) const;

    const InstrumentTable &table_;
    std::function<InstrumentIcon(int slot)> iconOf_;
    std::array<QIcon, 3> pictures_;
    std::array<InstrumentButton *, kInstrumentSlots> buttons_{};
    std::vector<int> order_; // the slot at each button position, by BCN
    int selected_ = 0;
    int rows_ = 1;
};

} // namespace korvel
