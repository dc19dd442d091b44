// The current readings window: the selected instrument's latest scan, one
// line per channel, with the digital I/O byte and the totalizer, beside the
// channel identifiers and the units.
#pragma once

#include "app/current_readings_model.h"

#include <QDialog>

class QLabel;

namespace korvel {

class CurrentReadingsWindow : public QDialog {
    Q_OBJECT
public:
    CurrentReadingsWindow(const CurrentReadingsModel &model, QWidget *parent);

    // Visible and not minimised.
    bool shown() const { return isVisible() && !isMinimized(); }
    // The model changed.
    void showReadings();

    QString channelColumn() const;
    QString readingColumn() const;
    QString unitsColumn() const;

signals:
    void shownAgain(); // the window came up: it is filled anew

protected:
    void showEvent(QShowEvent *event) override;

private:
    const CurrentReadingsModel &model_;
    QLabel *channels_;
    QLabel *readings_;
    QLabel *units_;
};

} // namespace korvel
