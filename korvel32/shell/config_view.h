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

#include <memory>

namespace korvel {

class ConfigViewHeader;

// What both panes show: the report of the instrument in the slot, none when
// the slot is 0 or not in use.
std::shared_ptr<const ConfigurationReport> viewReport(const InstrumentTable &table, int slot,
                                                      const LoggerOptions &options, const RegionalFormats &formats);

class CConfigView : public QAbstractScrollArea {
    Q_OBJECT
public:
    enum class Pane { Upper, Lower };
    Q_ENUM(Pane)

    CConfigView(Pane pane, const InstrumentTable &table, QWidget *parent = nullptr);

    // Shows the selected instrument's report (none while no instrument is
    // selected), rescrolls and repaints.
    void updateView(std::shared_ptr<const ConfigurationReport> report);
    // The lower pane's scroll height in whole lines: the defined channels + 2.
    int contentLines() const;
    // What the pane shows; none while no instrument is selected.
    const ConfigurationReport *report() const { return report_.get(); }

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
    const InstrumentTable &table_; // whether the setup has a Master
    std::shared_ptr<const ConfigurationReport> report_;
    ConfigViewStyle viewStyle_;
    ConfigViewHeader *header_ = nullptr; // lower pane only
    QPixmap canvas_;                     // off-screen copy of the viewport
};

} // namespace korvel
