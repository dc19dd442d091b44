// The column header of the lower setup pane: a strip of its own on top of the
// channel lines, so that it stays in view while the lines scroll vertically
// and follows them when they scroll horizontally.
#pragma once

#include "config_view_metrics.h"
#include "setup/configuration_report.h"

#include <QWidget>

namespace korvel {

class ConfigViewHeader : public QWidget {
    Q_OBJECT
public:
    explicit ConfigViewHeader(QWidget *viewport);

    void setViewStyle(const ConfigViewStyle &style);
    void setHeadings(const ReportRow &headings);
    // Places the strip at the top of the viewport, shifted by the horizontal scroll.
    void follow(int horizontalOffset);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    ConfigViewStyle viewStyle_;
    ReportRow headings_;
};

} // namespace korvel
