#include "config_view_header.h"

#include "config_view_drawing.h"

#include <QPainter>

namespace korvel {

ConfigViewHeader::ConfigViewHeader(QWidget *viewport) : QWidget(viewport) {
    // A double click on the header counts as one on the pane beneath it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void ConfigViewHeader::setViewStyle(const ConfigViewStyle &style) {
    viewStyle_ = style;
    resize(style.cell.columns(kColumnHeaderColumns), style.cell.halfLines(kColumnHeaderHalfLines));
    update();
}

void ConfigViewHeader::setHeadings(const ReportRow &headings) {
    headings_ = headings;
    update();
}

void ConfigViewHeader::follow(int horizontalOffset) { move(-horizontalOffset, 0); }

void ConfigViewHeader::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.fillRect(rect(), viewStyle_.background);
    drawColumnHeader(painter, viewStyle_, headings_);
}

} // namespace korvel
