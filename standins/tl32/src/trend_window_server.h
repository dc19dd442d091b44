// The listening side of trend_window_link: the one chart window with a title
// answers requests to come forward or to close on its per-user socket.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

#include "platform/local_name_claim.h"

namespace tl32 {

class TrendWindowServer : public QObject {
    Q_OBJECT

public:
    // Claims the title for a window of this process and listens on its
    // socket; nullptr when a running chart window holds the title. Without a
    // private socket directory nothing can be claimed: the server then
    // claims nothing and does not listen.
    static std::unique_ptr<TrendWindowServer> claim(const QString &title);
    ~TrendWindowServer() override;

    const QString &title() const { return title_; }

signals:
    void comeForwardRequested();
    void closeRequested();

private:
    TrendWindowServer(QString title, std::optional<korvel::LocalNameClaim> claim);
    void serveConnections();
    void act(const QByteArray &request);

    QString title_;
    // Declared before the server, so that the socket is gone before the
    // title is let go: whoever claims it next binds a path of its own.
    std::optional<korvel::LocalNameClaim> claim_;
    QLocalServer server_;
};

} // namespace tl32
