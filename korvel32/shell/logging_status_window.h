// The logging status window: one row per instrument of the setup, in the
// instrument bar's order, with the scans waiting in the instrument, the scans
// retrieved and the alarm channels, and an alarm sign while any instrument
// has an alarm. Its rows grow and shrink with the setup; rows are one line of
// the main window's font high.
#pragma once

#include "app/logging_status_model.h"

#include <QDialog>

#include <array>

class QLabel;

namespace korvel {

class LoggingStatusWindow : public QDialog {
    Q_OBJECT
public:
    LoggingStatusWindow(const LoggingStatusModel &model, const QFont &mainWindowFont, QWidget *parent);

    // The slot's row changed, or (slot 0) the rows were laid out again.
    void statusChanged(int slot);

    // For tests: the texts of row r (0 first): scans in instrument, retrieved, alarms.
    QString rowText(int row, int column) const;
    QString instrumentColumn() const;
    bool alarmSignShown() const;

private:
    struct RowLabels {
        QLabel *inInstrument = nullptr;
        QLabel *retrieved = nullptr;
        QLabel *alarms = nullptr;
    };

    void layOutRows();
    void showRow(int row, int slot);
    void showAlarmSign();

    const LoggingStatusModel &model_;
    int rowHeight_;
    int firstRowTop_ = 0;
    QLabel *instruments_ = nullptr;
    QLabel *alarmSign_ = nullptr;
    std::array<RowLabels, kInstrumentSlots> rows_{};
};

} // namespace korvel
