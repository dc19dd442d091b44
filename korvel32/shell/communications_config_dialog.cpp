#include "shell/communications_config_dialog.h"

#include "shell/help_page.h"
#include "shell/instrument_on_network_dialog.h"
#include "shell/socket_port_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <utility>

namespace korvel {

CommunicationsConfigDialog::CommunicationsConfigDialog(CcfEditingTarget target, QWidget *parent)
        : QDialog(parent), model_(target), ui_(target.ui), list_(new QListWidget(this)),
          close_(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QStringLiteral("Communications Configuration File"));
    auto *listLabel = new QLabel(QStringLiteral("I&nstruments on Network:"), this);
    listLabel->setBuddy(list_);
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { model_.selectRow(row); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (model_.enabled(CcfControl::Modify)) run([this] { model_.modify(editEntry()); });
    });

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(addButton(CcfControl::Verify, "&Verify", [this] { verify(); }));
    buttons->addWidget(addButton(CcfControl::Add, "&Add...", [this] { run([this] { model_.add(editEntry()); }); }));
    buttons->addWidget(
        addButton(CcfControl::Modify, "&Modify...", [this] { run([this] { model_.modify(editEntry()); }); }));
    buttons->addWidget(addButton(CcfControl::Delete, "&Delete", [this] { run([this] { model_.deleteSelected(); }); }));
    buttons->addWidget(
        addButton(CcfControl::DeleteAll, "D&elete All", [this] { run([this] { model_.deleteAll(); }); }));
    buttons->addWidget(addButton(CcfControl::SocketPort, "&Socket Port...", [this] {
        run([this] {
            model_.editSocketPort([this](SocketPortModel &port) {
                SocketPortDialog dialog(port, ui_, this);
                return dialog.exec() == QDialog::Accepted;
            });
        });
    }));
    buttons->addStretch();
    buttons->addWidget(close_);
    auto *help = new QPushButton(QStringLiteral("&Help"), this);
    buttons->addWidget(help);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { showHelpPage(this); });
    for (QPushButton *button : findChildren<QPushButton *>()) button->setAutoDefault(false);
    close_->setDefault(true);

    auto *network = new QHBoxLayout;
    network->addWidget(new QLabel(QStringLiteral("Network Type:"), this));
    for (const auto &[control, text] :
         {std::pair(CcfControl::Isolated, "Isolated"), {CcfControl::General, "General"}}) {
        auto *label = new QLabel(QString::fromLatin1(text), this);
        controls_[control] = label;
        network->addWidget(label);
    }
    network->addStretch();

    auto *layout = new QGridLayout(this);
    layout->addWidget(listLabel, 0, 0);
    layout->addWidget(list_, 1, 0);
    layout->addLayout(buttons, 1, 1);
    layout->addLayout(network, 2, 0, 1, 2);
}

QPushButton *CommunicationsConfigDialog::addButton(CcfControl control, const char *text,
                                                   const std::function<void()> &command) {
    auto *button = new QPushButton(QString::fromLatin1(text), this);
    connect(button, &QPushButton::clicked, this, command);
    controls_[control] = button;
    return button;
}

EntryEditor CommunicationsConfigDialog::editEntry() {
    return [this](InstrumentOnNetworkModel &entry) {
        InstrumentOnNetworkDialog dialog(entry, ui_, this);
        return dialog.exec() == QDialog::Accepted;
    };
}

bool CommunicationsConfigDialog::fillList() {
    if (!model_.open()) return false;
    refresh();
    return true;
}

void CommunicationsConfigDialog::run(const std::function<void()> &command) {
    command();
    if (model_.closed()) {
        reject();
        return;
    }
    refresh();
}

void CommunicationsConfigDialog::refresh() {
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (const std::string &line : model_.lines()) list_->addItem(QString::fromStdString(line));
    list_->setCurrentRow(model_.selectedRow());
    for (const auto &[control, widget] : controls_) {
        widget->setVisible(model_.shown(control));
        widget->setEnabled(model_.enabled(control));
    }
}

// The dialog takes no input while the instrument is asked.
void CommunicationsConfigDialog::verify() {
    QWidget &button = control(CcfControl::Verify);
    setEnabled(false);
    button.setEnabled(false);
    model_.verify();
    button.setEnabled(true);
    setEnabled(true);
    button.setFocus();
}

void editCommunicationsConfiguration(CcfEditingTarget target, QWidget *parent) {
    CommunicationsConfigDialog dialog(std::move(target), parent);
    if (dialog.fillList()) dialog.exec();
}

} // namespace korvel
