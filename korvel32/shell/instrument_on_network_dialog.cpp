#include "shell/instrument_on_network_dialog.h"

#include "platform/string_table.h"
#include "setup/setup_codes.h"
#include "shell/refusal_shown.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

namespace korvel {
namespace {

QString qText(const std::string &text) { return QString::fromStdString(text); }

QLineEdit *numberEdit(const std::string &text, std::size_t digits, QWidget *parent) {
    auto *edit = new QLineEdit(qText(text), parent);
    edit->setMaxLength(static_cast<int>(digits));
    // Room for the digits and a little more, as a dialog template sizes them.
    const int width = edit->fontMetrics().horizontalAdvance(QString(static_cast<int>(digits) + 2, QLatin1Char('0')));
    edit->setFixedWidth(width + 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) + 8);
    return edit;
}

} // namespace

InstrumentOnNetworkDialog::InstrumentOnNetworkDialog(InstrumentOnNetworkModel &model, UserInterface &ui,
                                                     QWidget *parent)
        : QDialog(parent), model_(model), ui_(ui) {
    setWindowTitle(QStringLiteral("Instrument On Network"));
    const OnNetworkFields fields = model.initialFields();

    bcn_ = numberEdit(fields.bcn, kBcnDigits, this);
    auto *bcnRow = new QHBoxLayout;
    auto *bcnLabel = new QLabel(QStringLiteral("&Base Channel Number:"), this);
    bcnLabel->setBuddy(bcn_);
    bcnRow->addWidget(bcnLabel);
    bcnRow->addWidget(bcn_);
    bcnRow->addStretch();

    auto *modelGroup = new QGroupBox(QStringLiteral("Model"), this);
    m100a_ = new QRadioButton(qText(resourceString(codeValue(ModelCode::M100A))), modelGroup);
    m200a_ = new QRadioButton(qText(resourceString(codeValue(ModelCode::M200A))), modelGroup);
    (fields.m100a ? m100a_ : m200a_)->setChecked(true);
    auto *modelLayout = new QHBoxLayout(modelGroup);
    modelLayout->addWidget(m100a_);
    modelLayout->addWidget(m200a_);
    modelLayout->addStretch();

    addressGroup_ = new QGroupBox(QStringLiteral("General Network Only"), this);
    auto *addressRow = new QHBoxLayout(addressGroup_);
    auto *addressLabel = new QLabel(QStringLiteral("&IP Address:"), addressGroup_);
    addressRow->addWidget(addressLabel);
    for (std::size_t index = 0; index < address_.size(); ++index) {
        if (index > 0) addressRow->addWidget(new QLabel(QStringLiteral("."), addressGroup_));
        QLineEdit *edit = numberEdit(fields.address[index], kAddressDigits, addressGroup_);
        address_[index] = edit;
        addressRow->addWidget(edit);
        connect(edit, &QLineEdit::textEdited, this, [this, index] { moveOnFrom(static_cast<int>(index)); });
    }
    addressRow->addStretch();
    addressLabel->setBuddy(address_[0]);
    addressGroup_->setEnabled(model.enabled(OnNetworkControl::Address1));

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &InstrumentOnNetworkDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bcnRow);
    layout->addWidget(modelGroup);
    layout->addWidget(addressGroup_);
    layout->addWidget(buttons);
    bcn_->setFocus();
    bcn_->selectAll();
}

void InstrumentOnNetworkDialog::accept() {
    OnNetworkFields fields;
    fields.bcn = bcn_->text().toStdString();
    fields.m100a = m100a_->isChecked();
    for (std::size_t index = 0; index < address_.size(); ++index)
        fields.address[index] = address_[index]->text().toStdString();
    if (const auto refusal = model_.accept(fields)) {
        showRefusal(ui_, refusal->text, &field(refusal->focus));
        if (model_.fileFailed()) reject();
        return;
    }
    QDialog::accept();
}

QWidget &InstrumentOnNetworkDialog::field(OnNetworkControl control) {
    switch (control) {
        case OnNetworkControl::M100A: return *m100a_;
        case OnNetworkControl::M200A: return *m200a_;
        case OnNetworkControl::Address1: return *address_[0];
        case OnNetworkControl::Address2: return *address_[1];
        case OnNetworkControl::Address3: return *address_[2];
        case OnNetworkControl::Address4: return *address_[3];
        case OnNetworkControl::Bcn: break;
    }
    return *bcn_;
}

void InstrumentOnNetworkDialog::moveOnFrom(int index) {
    const QLineEdit *edit = address_.at(static_cast<std::size_t>(index));
    if (index + 1 >= static_cast<int>(address_.size())) return;
    if (!InstrumentOnNetworkModel::movesOn(edit->text().toStdString(),
                                           static_cast<std::size_t>(edit->cursorPosition())))
        return;
    QLineEdit *next = address_.at(static_cast<std::size_t>(index + 1));
    next->setFocus(Qt::TabFocusReason);
    next->selectAll();
}

} // namespace korvel
