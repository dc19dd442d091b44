#include "shell/create_instrument_dialog.h"

#include "platform/string_table.h"
#include "setup/bcn_lookup.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

namespace korvel {
namespace {

bool reportUnreadable(UserInterface &ui) {
    ui.showMessage(resourceString(message::kCcfUnreadable), MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

} // namespace

CreateInstrumentDialog::CreateInstrumentDialog(const InstrumentTable &table, QWidget *parent)
        : QDialog(parent), table_(table), list_(new QListWidget(this)) {
    setWindowTitle(QStringLiteral("Create Instrument Icon"));
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(new QLabel(QStringLiteral("Use <Ctrl> + Click to select multiple instruments"), this));
    layout->addWidget(buttons);
}

bool CreateInstrumentDialog::listAvailable(InstrumentLink &link, UserInterface &ui) {
    const std::int32_t entries = link.ccfNumEntries();
    if (entries < 0) return reportUnreadable(ui);
    for (std::int32_t index = 0; index < entries; ++index) {
        CcfEntry entry;
        if (link.ccfGetEntry(static_cast<std::uint32_t>(index), entry) < 0) return reportUnreadable(ui);
        const std::int32_t bcn = entry.bcn;
        const std::int32_t model = entry.model;
        if (table_.find(static_cast<unsigned>(bcn)) != 0) continue;
        const std::string modelName = resourceString(static_cast<int>(modelFromCcfCode(model)));
        auto *line = new QListWidgetItem(QString::asprintf("%02u  %s", static_cast<unsigned>(bcn), modelName.c_str()));
        line->setData(Qt::UserRole, bcn);
        list_->addItem(line);
    }
    if (list_->count() == 0) {
        ui.showMessage("No instruments are available for association!", MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    list_->setCurrentRow(0);
    return true;
}

std::vector<unsigned> CreateInstrumentDialog::chosenBcns(int limit) const {
    std::vector<unsigned> bcns;
    for (int row = 0; row < list_->count() && static_cast<int>(bcns.size()) < limit; ++row) {
        const QListWidgetItem *line = list_->item(row);
        if (line->isSelected()) bcns.push_back(line->data(Qt::UserRole).toUInt());
    }
    return bcns;
}

std::vector<unsigned> chooseInstrumentsInDialog(const InstrumentTable &table, InstrumentLink &link, UserInterface &ui,
                                                int limit, QWidget *parent) {
    CreateInstrumentDialog dialog(table, parent);
    if (!dialog.listAvailable(link, ui) || dialog.exec() != QDialog::Accepted) return {};
    return dialog.chosenBcns(limit);
}

} // namespace korvel
