// The status bar's message pane: the prompt of the command under the
// pointer, else "Ready". Qt shows the prompts of greyed-out toolbar buttons
// but not those of greyed-out menu items; the menus watched here show them.
#pragma once

#include <QObject>
#include <QPointer>

class QAction;
class QMenu;
class QStatusBar;

namespace korvel {

class StatusPrompts : public QObject {
public:
    explicit StatusPrompts(QStatusBar &bar);

    void watchMenu(QMenu &menu);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The greyed-out command now under the pointer; nullptr when there is none.
    void pointAt(const QAction *command);

    QStatusBar &bar_;
    QPointer<const QAction> greyedOut_;
};

} // namespace korvel
