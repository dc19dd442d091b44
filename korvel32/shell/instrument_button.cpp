#include "shell/instrument_button.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace korvel {

InstrumentButton::InstrumentButton(QWidget *parent) : QAbstractButton(parent) {
    // A click selects without taking the focus from the main window; the
    // keyboard still reaches the bar through Tab.
    setFocusPolicy(Qt::TabFocus);
}

void InstrumentButton::showInstrument(int slot, unsigned bcn, const QIcon &picture) {
    slot_ = slot;
    setText(QString::asprintf("%02u", bcn));
    setAccessibleName(tr("Instrument %1").arg(text()));
    setIcon(picture);
    update();
}

void InstrumentButton::setSelected(bool selected) {
    if (selected == selected_) return;
    selected_ = selected;
    update();
}

void InstrumentButton::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, palette().color(selected_ ? QPalette::Highlight : QPalette::Button));

    const QSize pictureSize = iconSize();
    const QRect pictureArea(QPoint((area.width() - pictureSize.width()) / 2, 0), pictureSize);
    icon().paint(&painter, pictureArea);

    const QRect lowerHalf(0, area.height() / 2, area.width(), area.height() - area.height() / 2);
    painter.setPen(palette().color(selected_ ? QPalette::HighlightedText : QPalette::ButtonText));
    painter.drawText(lowerHalf, Qt::AlignCenter | Qt::TextSingleLine, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = area.adjusted(1, 1, -1, -1);
        focus.backgroundColor = palette().color(selected_ ? QPalette::Highlight : QPalette::Button);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}

} // namespace korvel
