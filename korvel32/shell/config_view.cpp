#include "config_view.h"

#include "config_view_drawing.h"
#include "config_view_header.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace korvel {

namespace {

constexpr int kPageCells = 8;

// Besides the channel lines: the column header's line and a half, and half a line to spare.
constexpr int kLowerPaneExtraLines = 2;

} // namespace

std::shared_ptr<const ConfigurationReport> viewReport(const InstrumentTable &table, int slot,
                                                      const LoggerOptions &options, const RegionalFormats &formats) {
    if (slot == 0 || !table.slot(slot).inUse) return nullptr;
    return std::make_shared<const ConfigurationReport>(buildConfigurationReport(table, slot, options, formats));
}

CConfigView::CConfigView(Pane pane, const InstrumentTable &table, QWidget *parent)
        : QAbstractScrollArea(parent), pane_(pane), table_(table) {
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    if (pane_ == Pane::Lower) header_ = new ConfigViewHeader(viewport());
    applyFontsAndColours();
}

void CConfigView::updateView(std::shared_ptr<const ConfigurationReport> report) {
    report_ = std::move(report);
    if (header_) {
        if (report_) header_->setHeadings(report_->headings);
        header_->setVisible(report_ != nullptr);
    }
    updateScrollBars();
    viewport()->update();
}

int CConfigView::contentLines() const { return (report_ ? report_->rowCount : 0) + kLowerPaneExtraLines; }

bool CConfigView::event(QEvent *event) {
    // Tab leaves the sheet for the instrument bar rather than walking the focus chain.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            emit tabToInstrumentBar();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CConfigView::changeEvent(QEvent *event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) applyFontsAndColours();
    QAbstractScrollArea::changeEvent(event);
}

void CConfigView::paintEvent(QPaintEvent *) {
    const qreal ratio = viewport()->devicePixelRatioF();
    const QSize pixels = viewport()->size() * ratio;
    if (canvas_.size() != pixels || canvas_.devicePixelRatio() != ratio) {
        canvas_ = QPixmap(pixels);
        canvas_.setDevicePixelRatio(ratio);
    }
    QPainter window(viewport());
    if (canvas_.isNull()) {
        paintContents(window); // no off-screen bitmap to be had: draw straight on
        return;
    }
    {
        QPainter offScreen(&canvas_);
        paintContents(offScreen);
    }
    window.drawPixmap(0, 0, canvas_);
}

void CConfigView::resizeEvent(QResizeEvent *event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void CConfigView::keyPressEvent(QKeyEvent *event) {
    QScrollBar &across = *horizontalScrollBar();
    QScrollBar &down = *verticalScrollBar();
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    switch (event->key()) {
        case Qt::Key_PageUp: down.triggerAction(QAbstractSlider::SliderPageStepSub); break;
        case Qt::Key_PageDown: down.triggerAction(QAbstractSlider::SliderPageStepAdd); break;
        case Qt::Key_Up: down.triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case Qt::Key_Down: down.triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        case Qt::Key_Left: across.triggerAction(QAbstractSlider::SliderSingleStepSub); break;
        case Qt::Key_Right: across.triggerAction(QAbstractSlider::SliderSingleStepAdd); break;
        case Qt::Key_Home:
            across.triggerAction(QAbstractSlider::SliderToMinimum);
            if (control) down.triggerAction(QAbstractSlider::SliderToMinimum);
            break;
        case Qt::Key_End:
            across.triggerAction(QAbstractSlider::SliderToMaximum);
            if (control) down.triggerAction(QAbstractSlider::SliderToMaximum);
            break;
        default: QAbstractScrollArea::keyPressEvent(event); return;
    }
    event->accept();
}

void CConfigView::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    const int y = event->position().toPoint().y() + verticalScrollBar()->value();
    const bool onLine = pane_ == Pane::Lower && report_ != nullptr;
    emit configurationRequested(pane_, onLine ? channelAtLine(viewStyle_.cell, *report_, y) : 0);
}

void CConfigView::scrollContentsBy(int, int) {
    // Everything is redrawn from the off-screen copy, so the header is only moved.
    if (header_) header_->follow(horizontalScrollBar()->value());
    viewport()->update();
}

void CConfigView::applyFontsAndColours() {
    viewStyle_ = {characterCell(font()), font(), childWindowFont(), palette().color(QPalette::Text),
                  palette().color(QPalette::Base)};
    if (header_) header_->setViewStyle(viewStyle_);
    updateScrollBars();
    viewport()->update();
}

void CConfigView::updateScrollBars() {
    const CharacterCell &cell = viewStyle_.cell;
    const QSize content = contentSize();
    const QSize view = viewport()->size();
    QScrollBar &across = *horizontalScrollBar();
    across.setRange(0, std::max(0, content.width() - view.width()));
    across.setPageStep(cell.columns(kPageCells));
    across.setSingleStep(cell.width);
    QScrollBar &down = *verticalScrollBar();
    down.setRange(0, std::max(0, content.height() - view.height()));
    down.setPageStep(cell.lines(kPageCells));
    down.setSingleStep(cell.height);
    if (header_) header_->follow(across.value());
}

QSize CConfigView::contentSize() const {
    const CharacterCell &cell = viewStyle_.cell;
    const int height = pane_ == Pane::Upper ? cell.halfLines(kUpperPaneHalfLines) : cell.lines(contentLines());
    return {cell.columns(kContentColumns), height};
}

void CConfigView::paintContents(QPainter &painter) const {
    painter.fillRect(viewport()->rect(), viewStyle_.background);
    painter.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
    if (pane_ == Pane::Lower) {
        if (report_) drawChannelLines(painter, viewStyle_, *report_);
    } else if (report_) {
        drawInstrumentSettings(painter, viewStyle_, *report_, table_.masterSlot() != 0);
    } else {
        drawHint(painter, viewStyle_);
    }
}

} // namespace korvel
