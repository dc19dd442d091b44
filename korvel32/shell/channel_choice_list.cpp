#include "shell/channel_choice_list.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace korvel {

ChannelChoiceList::ChannelChoiceList(const std::vector<ChannelLine> &lines, const std::vector<std::size_t> &selected,
                                     QWidget *parent)
        : QListWidget(parent) {
    setObjectName(QStringLiteral("channels"));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const ChannelLine &line : lines) addItem(QString::fromStdString(line.text));
    for (const std::size_t row : selected) item(static_cast<int>(row))->setSelected(true);
    if (!selected.empty()) setCurrentRow(static_cast<int>(selected.front()), QItemSelectionModel::NoUpdate);
}

std::vector<std::size_t> ChannelChoiceList::selectedRows() const {
    std::vector<std::size_t> rows;
    for (const QModelIndex &index : selectionModel()->selectedIndexes())
        rows.push_back(static_cast<std::size_t>(index.row()));
    std::sort(rows.begin(), rows.end());
    return rows;
}

void layOutChannelChoice(QDialog &dialog, ChannelChoiceList &channels, QLayout *fields) {
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(&channels);
    layout->addWidget(new QLabel(QString::fromLatin1(kChooseUpToEight), &dialog));
    if (fields != nullptr) layout->addLayout(fields);
    layout->addWidget(buttons);
    channels.setFocus();
}

} // namespace korvel
