#include "conversion_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include <utility>

namespace korvel {
namespace {

// Room for a long path; longer ones are cut in the middle, where the
// directories are, and shown whole in the tool tip.
constexpr int kNameWidth = 360;

QString fileText(const std::string &text, const QLabel &label) {
    return label.fontMetrics().elidedText(QString::fromStdString(text), Qt::ElideMiddle, kNameWidth);
}

} // namespace

ConversionDialog::ConversionDialog(ConversionDialogModel &model, FileChooser chooser, QWidget *parent)
        : QDialog(parent), model_(model), chooser_(std::move(chooser)), source_(new QLabel(this)),
          target_(new QLabel(this)), sourceButton_(new QPushButton(QStringLiteral("&Source File..."), this)),
          targetButton_(new QPushButton(QStringLiteral("&Target File..."), this)),
          convertButton_(new QPushButton(QStringLiteral("&Convert"), this)),
          closeButton_(new QPushButton(QStringLiteral("Close"), this)) {
    setWindowTitle(QString::fromStdString(model_.texts().caption));
    for (QLabel *name : {source_, target_}) {
        name->setMinimumWidth(kNameWidth);
        name->setFrameShape(QFrame::StyledPanel);
    }
    auto *files = new QGridLayout;
    files->addWidget(new QLabel(QStringLiteral("Source:"), this), 0, 0);
    files->addWidget(source_, 0, 1);
    files->addWidget(sourceButton_, 0, 2);
    files->addWidget(new QLabel(QStringLiteral("Target:"), this), 1, 0);
    files->addWidget(target_, 1, 1);
    files->addWidget(targetButton_, 1, 2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(convertButton_);
    buttons->addWidget(closeButton_);
    convertButton_->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(files);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(sourceButton_, &QPushButton::clicked, this, &ConversionDialog::chooseSource);
    connect(targetButton_, &QPushButton::clicked, this, &ConversionDialog::chooseTarget);
    connect(convertButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
    refresh();
}

QString ConversionDialog::sourceText() const { return source_->text(); }

QString ConversionDialog::targetText() const { return target_->text(); }

void ConversionDialog::chooseSource() {
    model_.chooseSource(chooser_(this, model_.texts().source, model_.files().source));
    refresh();
}

void ConversionDialog::chooseTarget() {
    model_.chooseTarget(chooser_(this, model_.texts().target, model_.proposedTarget()));
    refresh();
}

void ConversionDialog::refresh() {
    for (auto [label, text] : {std::pair{source_, model_.sourceText()}, std::pair{target_, model_.targetText()}}) {
        label->setText(fileText(text, *label));
        label->setToolTip(QString::fromStdString(text));
    }
    convertButton_->setEnabled(model_.convertEnabled());
}

} // namespace korvel
