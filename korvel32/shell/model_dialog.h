// What every configuration dialog shares: its controls show the dialog's
// rules model, a change made by the user goes to the model and the dialog
// shows the model again (texts, lists, enabling), and an entry the model
// refuses is shown in a warning box with the focus put back where the model
// says.
#pragma once

#include "platform/user_interface.h"
#include "setup/dialog_refusal.h"

#include <QDialog>

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

class QAbstractButton;
class QComboBox;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace korvel {

QString qText(const std::string &text);
std::string stdText(const QString &text);

// A text field that takes no more than limit bytes, as the setup's field holds.
QLineEdit *limitedField(std::size_t limit, QWidget *parent);

// The texts of a list, left alone when it holds them already; the current
// item is left to the caller.
void fillList(QComboBox &list, const std::vector<std::string> &items);
void fillList(QListWidget &list, const std::vector<std::string> &items);
// The lines of a list rewritten in place, its selection kept.
void rewriteLines(QListWidget &list, const std::vector<std::string> &lines);
// The one selected row of a list (-1: none), or the selected rows.
void showRow(QListWidget &list, int row);
void showRows(QListWidget &list, const std::vector<int> &rows);
// Shows the text unless the field reads so already, so that the caret stays.
void showText(QLineEdit &field, const std::string &text);

// The controls of a dialog by the names its model gives them. A control may
// have several widgets (its label and its field); the first takes the focus.
template <typename Control>
class ControlWidgets {
public:
    void bind(Control control, std::initializer_list<QWidget *> widgets) { widgets_.push_back({control, widgets}); }

    QWidget *widget(Control control) const {
        for (const auto &[bound, widgets] : widgets_) {
            if (bound == control) return widgets.front();
        }
        return nullptr;
    }

    template <typename Model>
    void showEnabled(const Model &model) const {
        for (const auto &[control, widgets] : widgets_) {
            for (QWidget *widget : widgets) widget->setEnabled(model.enabled(control));
        }
    }

private:
    std::vector<std::pair<Control, std::vector<QWidget *>>> widgets_;
};

class ModelDialog : public QDialog {
    Q_OBJECT
public:
    UserInterface &ui() const { return ui_; }
    QPushButton *okButton() const { return ok_; }

protected:
    ModelDialog(UserInterface &ui, QWidget *parent);

    // Fills every control from the model; the controls' own signals are
    // ignored meanwhile.
    virtual void showModel() = 0;
    void refresh();

    // The user's changes of a control, handed to the model.
    void bindText(QLineEdit *field, std::function<void(std::string)> set);
    void bindIndex(QComboBox *list, std::function<void(int)> choose);
    void bindCheck(QAbstractButton *box, std::function<void(bool)> set);
    // A radio button: only its becoming checked is a choice.
    void bindChoice(QAbstractButton *button, std::function<void()> choose);
    void bindSelection(QListWidget *list, std::function<void(std::vector<int>)> select);
    void bindClick(QAbstractButton *button, std::function<void()> run);
    // A change the user made some other way: applied, then shown.
    void change(const std::function<void()> &apply);

    // The refused entry's message (exclamation, OK), then the focus on the
    // control, with its text selected when it is a field.
    void showRefused(const std::string &text, QWidget *focus);
    template <typename Control>
    void showRefused(const Refusal<Control> &refusal, const ControlWidgets<Control> &controls) {
        showRefused(refusal.text, controls.widget(refusal.focus));
    }

    // Closes with OK unless the model refused.
    template <typename Control>
    void acceptUnless(const Checked<Control> &refused, const ControlWidgets<Control> &controls) {
        if (refused) {
            showRefused(*refused, controls);
        } else {
            accept();
        }
    }

    // A button that opens another dialog or applies something: Enter in a
    // field still means OK.
    QPushButton *commandButton(const QString &text);
    // The dialog's buttons down its right side: OK (the default button, which
    // runs tryAccept) and Cancel (reject) at the top, the buttons of the lower
    // dialogs below them. A dialog whose changes take effect at once has no
    // Cancel.
    enum class Cancel { Offered, None };
    void layOut(QLayout *controls, std::initializer_list<QPushButton *> lowerDialogs = {},
                Cancel cancel = Cancel::Offered);
    // Checks the entries and closes with OK once the model accepts them.
    virtual void tryAccept() { accept(); }
    // A field that has the focus when the dialog opens has its text
    // selected, so that typing replaces it.
    void showEvent(QShowEvent *event) override;

private:
    UserInterface &ui_;
    QPushButton *ok_ = nullptr;
    bool showing_ = false;
};

} // namespace korvel
