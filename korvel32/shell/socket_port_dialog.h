// "Socket Port": the TCP port of the instruments on a general network. The
// range is SocketPortModel's; a refusal keeps the dialog open.
#pragma once

#include "platform/user_interface.h"
#include "setup/socket_port_rules.h"

#include <QDialog>

class QLineEdit;

namespace korvel {

class SocketPortDialog : public QDialog {
    Q_OBJECT

public:
    SocketPortDialog(SocketPortModel &model, UserInterface &ui, QWidget *parent = nullptr);

    QLineEdit &portEdit() { return *port_; }

    void accept() override;

private:
    SocketPortModel &model_;
    UserInterface &ui_;
    QLineEdit *port_;
};

} // namespace korvel
