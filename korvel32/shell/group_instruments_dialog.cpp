#include "shell/group_instruments_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace korvel {

namespace {

constexpr int kShownLines = 10;
constexpr int kLineCharacters = 20;

} // namespace

GroupInstrumentsDialog::GroupInstrumentsDialog(GroupInstrumentsModel model, UserInterface &ui, QWidget *parent)
        : ModelDialog(ui, parent), model_(std::move(model)), instruments_(new QListWidget(this)),
          wired_(new QCheckBox(QStringLiteral("&Group is Externally Wired"), this)) {
    setWindowTitle(QStringLiteral("Group Instruments"));
    const QFontMetrics metrics = instruments_->fontMetrics();
    instruments_->setFixedWidth(metrics.averageCharWidth() * kLineCharacters);
    instruments_->setMinimumHeight(metrics.lineSpacing() * kShownLines);
    fillList(*instruments_, model_.lines());
    auto *roles = new QGroupBox(QStringLiteral("Role"), this);
    auto *roleLayout = new QVBoxLayout(roles);
    auto *roleGroup = new QButtonGroup(this);
    for (const auto &[role, control, text] : {std::tuple{GroupRole::Async, GroupControl::Async, "&Async"},
                                              std::tuple{GroupRole::Master, GroupControl::Master, "&Master"},
                                              std::tuple{GroupRole::Slave, GroupControl::Slave, "&Slave"}}) {
        auto *button = new QRadioButton(QString::fromUtf8(text), roles);
        roleGroup->addButton(button);
        roleLayout->addWidget(button);
        roles_[role] = button;
        controls_.bind(control, {button});
        bindChoice(button, [this, role] { model_.chooseRole(role, this->ui()); });
    }
    controls_.bind(GroupControl::Instruments, {instruments_});
    controls_.bind(GroupControl::ExternallyWired, {wired_});

    auto *listLabel = new QLabel(QStringLiteral("&Instruments:"), this);
    listLabel->setBuddy(instruments_);
    auto *list = new QVBoxLayout;
    list->addWidget(listLabel);
    list->addWidget(instruments_, 1);
    auto *side = new QVBoxLayout;
    side->addSpacing(listLabel->sizeHint().height());
    side->addWidget(roles);
    side->addWidget(wired_);
    side->addStretch();
    auto *columns = new QHBoxLayout;
    columns->addLayout(list);
    columns->addLayout(side);
    layOut(columns, {}, Cancel::None);

    bindSelection(instruments_, [this](std::vector<int> rows) {
        if (!rows.empty()) model_.selectSlot(model_.listedSlots()[static_cast<std::size_t>(rows.front())]);
    });
    bindCheck(wired_, [this](bool on) { model_.setExternallyWired(on); });
    refresh();
}

void GroupInstrumentsDialog::showModel() {
    rewriteLines(*instruments_, model_.lines());
    const std::vector<int> &listed = model_.listedSlots();
    const auto selected = std::find(listed.begin(), listed.end(), model_.selectedSlot());
    showRow(*instruments_, selected == listed.end() ? -1 : static_cast<int>(selected - listed.begin()));
    if (model_.selectedSlot() != 0) roles_.at(model_.selectedRole())->setChecked(true);
    wired_->setChecked(model_.externallyWired());
    controls_.showEnabled(model_);
}

} // namespace korvel
