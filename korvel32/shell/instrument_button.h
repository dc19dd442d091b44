// One button of the instrument bar: the instrument's picture at the top and
// its BCN below, filled with the highlight colour while it is the selected
// instrument.
#pragma once

#include <QAbstractButton>

namespace korvel {

class InstrumentButton : public QAbstractButton {
    Q_OBJECT

public:
    explicit InstrumentButton(QWidget *parent = nullptr);

    // What the button stands for; slot 0 while it shows no instrument.
    void showInstrument(int slot, unsigned bcn, const QIcon &picture);
    void setSelected(bool selected);

    int slot() const { return slot_; }
    bool selected() const { return selected_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int slot_ = 0;
    bool selected_ = false;
};

} // namespace korvel
