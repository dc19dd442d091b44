// The listening side of trend_window_link: a chart window answers requests
// to come forward or to close on its per-user socket.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QLocalServer;
class QWidget;

namespace tl32 {

class TrendWindowServer : public QObject {
    Q_OBJECT

public:
    // Listens for window (titled title) until destroyed. A socket left by a
    // chart window that crashed is taken over.
    TrendWindowServer(QWidget *window, const QString &title);
    ~TrendWindowServer() override;

    bool isListening() const;

private:
    void serveConnections();
    void act(const QByteArray &request);

    QPointer<QWidget> window_;
    QLocalServer *server_;
};

} // namespace tl32
