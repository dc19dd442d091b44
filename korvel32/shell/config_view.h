// The setup view: a read-only sheet of the selected instrument's
// configuration. The main window shows two of them in its splitter, the upper
// pane with the instrument-wide settings (or a hint while the setup has no
// instrument), the lower pane with one line per defined channel under a fixed
// column header.
#pragma once

#include "config_view_metrics.h"
#include "platform/regional_formats.h"
#include "setup/configuration_report.h"
#include "setup/instrument_table.h"
#include "setup/logger_options.h"

#include <QAbstractScrollArea>
#include <QPixmap>

#include <functional>
#include <optional>

namespace korvel {

class ConfigViewHeader;

class CConfigView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Pane { Upper, Lower };
    Q_ENUM(Pane)

    // selectedSlot tells the slot of the selected instrument, 0 when none.
    CConfigView(Pane pane, const InstrumentTable &table, const LoggerOptions &options,
                const RegionalFormats &formats, std::function<int()> selectedSlot, QWidget *parent = nullptr);

    // Rebuilds the prepared strings for the selected slot, rescrolls and repaints.
    void updateView();
    // The scroll height in whole lines: 12 for the upper pane (its 11.5 lines
    // rounded up), the defined channels + 2 for the lower one.
    int contentLines() const;

signals:
    void configurationRequested(korvel::CConfigView::Pane pane); // double click; the main window checks the rules
    void tabToInstrumentBar();

protected:
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void applyFontsAndColours();
    void updateScrollBars();
    QSize contentSize() const;
    void paintContents(QPainter &painter) const;

    const Pane pane_;
    const InstrumentTable &table_;
    const LoggerOptions &options_;
    const RegionalFormats &formats_;
    const std::function<int()> selectedSlot_;
    std::optional<ConfigurationReport> report_; // none while no instrument is selected
    ConfigViewStyle viewStyle_;
    ConfigViewHeader *header_ = nullptr; // lower pane only
    QPixmap canvas_;                     // off-screen copy of the viewport
};

} // namespace korvel
