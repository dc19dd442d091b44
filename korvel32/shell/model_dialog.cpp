#include "shell/model_dialog.h"

#include "setup/dialog_text_limits.h"
#include "shell/refusal_shown.h"

#include <algorithm>

#include <QAbstractButton>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValidator>

namespace korvel {

namespace {

// Refuses an edit that would make the text longer than the field's bytes.
class ByteLimit : public QValidator {
public:
    ByteLimit(std::size_t limit, QObject *parent) : QValidator(parent), limit_(limit) {}

    State validate(QString &input, int &) const override {
        return text_limit::fits(input.toStdString(), limit_) ? Acceptable : Invalid;
    }

private:
    std::size_t limit_;
};

} // namespace

QString qText(const std::string &text) { return QString::fromStdString(text); }

std::string stdText(const QString &text) { return text.toStdString(); }

QLineEdit *limitedField(std::size_t limit, QWidget *parent) {
    auto *field = new QLineEdit(parent);
    field->setValidator(new ByteLimit(limit, field));
    return field;
}

void fillList(QComboBox &list, const std::vector<std::string> &items) {
    QStringList texts;
    for (const std::string &item : items) texts.push_back(qText(item));
    bool same = list.count() == texts.size();
    for (int row = 0; same && row < list.count(); ++row) same = list.itemText(row) == texts[row];
    if (same) return;
    list.clear();
    list.addItems(texts);
}

void fillList(QListWidget &list, const std::vector<std::string> &items) {
    if (list.count() == static_cast<int>(items.size())) {
        rewriteLines(list, items);
        return;
    }
    list.clear();
    for (const std::string &item : items) list.addItem(qText(item));
}

void showRow(QListWidget &list, int row) {
    if (row < 0) {
        list.clearSelection();
    } else if (list.currentRow() != row || !list.item(row)->isSelected()) {
        list.setCurrentRow(row);
    }
}

void showRows(QListWidget &list, const std::vector<int> &rows) {
    for (int row = 0; row < list.count(); ++row) {
        const bool selected = std::find(rows.begin(), rows.end(), row) != rows.end();
        if (list.item(row)->isSelected() != selected) list.item(row)->setSelected(selected);
    }
}

void rewriteLines(QListWidget &list, const std::vector<std::string> &lines) {
    for (int row = 0; row < list.count() && row < static_cast<int>(lines.size()); ++row) {
        const QString line = qText(lines[static_cast<std::size_t>(row)]);
        if (list.item(row)->text() != line) list.item(row)->setText(line);
    }
}

void showText(QLineEdit &field, const std::string &text) {
    const QString shown = qText(text);
    if (field.text() != shown) field.setText(shown);
}

ModelDialog::ModelDialog(UserInterface &ui, QWidget *parent) : QDialog(parent), ui_(ui) {}

void ModelDialog::refresh() {
    showing_ = true;
    showModel();
    showing_ = false;
}

void ModelDialog::change(const std::function<void()> &apply) {
    if (showing_) return;
    apply();
    refresh();
}

void ModelDialog::bindText(QLineEdit *field, std::function<void(std::string)> set) {
    connect(field, &QLineEdit::textChanged, this,
            [this, set = std::move(set)](const QString &text) { change([&] { set(stdText(text)); }); });
}

void ModelDialog::bindIndex(QComboBox *list, std::function<void(int)> choose) {
    connect(list, &QComboBox::currentIndexChanged, this,
            [this, choose = std::move(choose)](int index) { change([&] { choose(index); }); });
}

void ModelDialog::bindCheck(QAbstractButton *box, std::function<void(bool)> set) {
    connect(box, &QAbstractButton::toggled, this, [this, set = std::move(set)](bool on) { change([&] { set(on); }); });
}

void ModelDialog::bindChoice(QAbstractButton *button, std::function<void()> choose) {
    connect(button, &QAbstractButton::toggled, this, [this, choose = std::move(choose)](bool on) {
        if (on) change(choose);
    });
}

void ModelDialog::bindSelection(QListWidget *list, std::function<void(std::vector<int>)> select) {
    connect(list, &QListWidget::itemSelectionChanged, this, [this, list, select = std::move(select)] {
        change([&] {
            std::vector<int> rows;
            for (int row = 0; row < list->count(); ++row) {
                if (list->item(row)->isSelected()) rows.push_back(row);
            }
            select(std::move(rows));
        });
    });
}

void ModelDialog::bindClick(QAbstractButton *button, std::function<void()> run) {
    connect(button, &QAbstractButton::clicked, this, [this, run = std::move(run)] { change(run); });
}

void ModelDialog::showRefused(const std::string &text, QWidget *focus) { showRefusal(ui_, text, focus); }

void ModelDialog::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // The focus would otherwise go to the first control only once the
    // window is activated, too late to select its text here.
    if (focusWidget() == nullptr) focusNextPrevChild(true);
    if (auto *field = qobject_cast<QLineEdit *>(focusWidget())) field->selectAll();
}

QPushButton *ModelDialog::commandButton(const QString &text) {
    auto *button = new QPushButton(text, this);
    button->setAutoDefault(false);
    return button;
}

void ModelDialog::layOut(QLayout *controls, std::initializer_list<QPushButton *> lowerDialogs, Cancel cancel) {
    const auto standard = cancel == Cancel::Offered ? QDialogButtonBox::Ok | QDialogButtonBox::Cancel
                                                    : QDialogButtonBox::StandardButtons(QDialogButtonBox::Ok);
    auto *box = new QDialogButtonBox(standard, Qt::Vertical, this);
    ok_ = box->button(QDialogButtonBox::Ok);
    connect(box, &QDialogButtonBox::accepted, this, [this] { tryAccept(); });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(box);
    if (lowerDialogs.size() > 0) buttons->addSpacing(ok_->sizeHint().height() / 2);
    // The tab goes from the controls to OK and Cancel, then to the lower dialogs.
    QWidget *previous = cancel == Cancel::Offered ? box->button(QDialogButtonBox::Cancel) : ok_;
    for (QPushButton *button : lowerDialogs) {
        buttons->addWidget(button);
        setTabOrder(previous, button);
        previous = button;
    }
    buttons->addStretch();
    auto *whole = new QHBoxLayout(this);
    whole->addLayout(controls, 1);
    whole->addLayout(buttons);
}

} // namespace korvel
