#include "shell/socket_port_dialog.h"

#include "shell/refusal_shown.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace korvel {

SocketPortDialog::SocketPortDialog(SocketPortModel &model, UserInterface &ui, QWidget *parent)
        : QDialog(parent), model_(model), ui_(ui),
          port_(new QLineEdit(QString::fromStdString(model.initialText()), this)) {
    setWindowTitle(QStringLiteral("Socket Port"));
    port_->setMaxLength(static_cast<int>(kSocketPortDigits));
    auto *label = new QLabel(QStringLiteral("&Socket Port:"), this);
    label->setBuddy(port_);
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(port_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SocketPortDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    port_->setFocus();
    port_->selectAll();
}

void SocketPortDialog::accept() {
    if (const auto refusal = model_.accept(port_->text().toStdString())) {
        showRefusal(ui_, refusal->text, port_);
        return;
    }
    QDialog::accept();
}

} // namespace korvel
