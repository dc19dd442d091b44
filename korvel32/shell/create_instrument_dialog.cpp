#include "shell/create_instrument_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace korvel {

CreateInstrumentDialog::CreateInstrumentDialog(const std::vector<AvailableInstrument> &available, QWidget *parent)
        : QDialog(parent), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Create Instrument Icon"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const AvailableInstrument &instrument : available) {
        auto *line = new QListWidgetItem(QString::fromStdString(instrument.line));
        line->setData(Qt::UserRole, instrument.bcn);
        list_->addItem(line);
    }
    if (list_->count() > 0) list_->setCurrentRow(0);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(new QLabel(QStringLiteral("Use <Ctrl> + Click to select multiple instruments"), this));
    layout->addWidget(buttons);
}

std::vector<unsigned> CreateInstrumentDialog::chosenBcns(int limit) const {
    std::vector<unsigned> bcns;
    for (int row = 0; row < list_->count() && static_cast<int>(bcns.size()) < limit; ++row) {
        const QListWidgetItem *line = list_->item(row);
        if (line->isSelected()) bcns.push_back(line->data(Qt::UserRole).toUInt());
    }
    return bcns;
}

std::vector<unsigned> chooseInstrumentsInDialog(const std::vector<AvailableInstrument> &available, int limit,
                                                QWidget *parent) {
    CreateInstrumentDialog dialog(available, parent);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.chosenBcns(limit);
}

} // namespace korvel
