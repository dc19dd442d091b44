#include "shell/toolbox_settings_dialog.h"

#include "platform/string_table.h"
#include "shell/refusal_shown.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace korvel {
namespace {

// The slot of a row; the rows' texts follow the table's columns.
constexpr int kSlotRole = Qt::UserRole;

} // namespace

ToolboxSettingsDialog::ToolboxSettingsDialog(InstrumentTable &table, ToolboxAddOn &toolbox, CSetupDoc &document,
                                             UserInterface &ui, QWidget *parent)
        : QDialog(parent),
          model_(table, [&toolbox](unsigned bcn, std::uint32_t bytes) { return toolbox.changeQueue(bcn, bytes); }),
          document_(document), ui_(ui), list_(new QTreeWidget(this)), scanSize_(new QLabel(this)),
          size_(new QLineEdit(this)), apply_(new QPushButton(QStringLiteral("&Apply Size"), this)),
          close_(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QStringLiteral("Dereruded'i Ruzozov"));
    list_->setHeaderLabels({QStringLiteral("BCN"), QStringLiteral("Queue Size"), QStringLiteral("Holds")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    scanSize_->setObjectName(QStringLiteral("scanSize"));
    size_->setMaxLength(static_cast<int>(ToolboxSettingsModel::kSizeDigits));
    apply_->setAutoDefault(false);
    fillRows();
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &ToolboxSettingsDialog::showChosen);
    connect(apply_, &QPushButton::clicked, this, &ToolboxSettingsDialog::applySize);
    connect(close_, &QPushButton::clicked, this, &QDialog::accept);

    auto *sizeRow = new QHBoxLayout;
    sizeRow->addWidget(new QLabel(QStringLiteral("Queue size (bytes):"), this));
    sizeRow->addWidget(size_);
    sizeRow->addWidget(apply_);
    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(close_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(scanSize_);
    layout->addLayout(sizeRow);
    layout->addLayout(closeRow);
}

void ToolboxSettingsDialog::fillRows() {
    const std::vector<int> selected = selectedSlots();
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const int slot : model_.rows()) {
        const QStringList columns = QString::fromStdString(model_.rowText(slot)).split(QLatin1Char('\t'));
        auto *item = new QTreeWidgetItem(list_, columns);
        item->setData(0, kSlotRole, slot);
        item->setSelected(std::find(selected.begin(), selected.end(), slot) != selected.end());
    }
}

// One row chosen: its scan size, and its queue size ready for editing.
void ToolboxSettingsDialog::showChosen() {
    const std::vector<int> chosen = selectedSlots();
    if (chosen.size() != 1) return;
    scanSize_->setText(QString::fromStdString(model_.scanSizeText(chosen.front())));
    size_->setText(QString::fromStdString(model_.sizeText(chosen.front())));
}

void ToolboxSettingsDialog::applySize() {
    const ToolboxSettingsModel::Applied applied = model_.applySize(size_->text().toStdString(), selectedSlots());
    if (applied.changed) {
        document_.setModified(true);
        fillRows();
    }
    if (applied.message == 0) return;
    // Only a size out of range is the size field's fault.
    showRefusal(ui_, resourceString(applied.message),
                applied.message == message::kToolboxQueueSizeRange ? size_ : nullptr);
}

std::vector<int> ToolboxSettingsDialog::selectedSlots() const {
    std::vector<int> chosen;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        const QTreeWidgetItem *item = list_->topLevelItem(row);
        if (item->isSelected()) chosen.push_back(item->data(0, kSlotRole).toInt());
    }
    return chosen;
}

} // namespace korvel
