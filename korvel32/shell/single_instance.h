// Only one logger per user: a second launch asks the running copy to come
// forward and ends quietly. The copies meet on a per-user local socket named
// after the main window class "KorLoggerMainWindow".
#pragma once

#include <QPointer>
#include <QString>

#include <memory>

class QLocalServer;
class QWidget;

namespace korvel {

class SingleInstance {
public:
    SingleInstance();
    // A server name of the caller's choosing, so that tests meet only each other.
    explicit SingleInstance(QString serverName);
    ~SingleInstance();
    SingleInstance(const SingleInstance &) = delete;
    SingleInstance &operator=(const SingleInstance &) = delete;

    // True: a running copy answered and was asked to come forward.
    bool anotherCopyBroughtForward();
    // Serves the requests of later copies by bringing mainWindow (and its
    // open modal dialog) forward. A socket left behind by a copy that crashed
    // is removed.
    void listen(QWidget *mainWindow);

private:
    void serveConnection();

    QString serverName_;
    std::unique_ptr<QLocalServer> server_;
    QPointer<QWidget> mainWindow_;
};

} // namespace korvel
