#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLocalServer>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include "shell/single_instance.h"

namespace korvel {
namespace {

// A name no other test run shares, so that copies meet only each other.
QString uniqueServerName() {
    static int serial = 0;
    return QStringLiteral("KorLoggerMainWindow-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
}

// What a copy that crashed leaves behind: a bound socket file nobody listens on.
bool leaveStaleSocket(const QString &serverName) {
    const QByteArray path = QDir(QDir::tempPath()).absoluteFilePath(serverName).toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (static_cast<std::size_t>(path.size()) >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = fd >= 0 && ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    if (fd >= 0) ::close(fd);
    return bound;
}

} // namespace

class SingleInstanceTest : public QObject {
    Q_OBJECT

private slots:
    void secondCopyRestoresTheFirstWindow() {
        const QString name = uniqueServerName();
        QWidget window;
        window.showMinimized();
        SingleInstance first(name);
        QVERIFY(!first.anotherCopyBroughtForward());
        first.listen(&window);

        SingleInstance second(name);
        QVERIFY(second.anotherCopyBroughtForward());
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), &window, 5000);
    }

    void openDialogComesOnTop() {
        const QString name = uniqueServerName();
        QWidget window;
        window.show();
        QDialog dialog(&window);
        dialog.setWindowModality(Qt::WindowModal);
        dialog.show();
        QWidget otherProgram;
        otherProgram.show();
        otherProgram.activateWindow();
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), &otherProgram, 5000);

        SingleInstance first(name);
        first.listen(&window);
        QVERIFY(SingleInstance(name).anotherCopyBroughtForward());
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), &dialog, 5000);
    }

    void socketLeftByACrashedCopyIsTakenOver() {
        const QString name = uniqueServerName();
        QVERIFY(leaveStaleSocket(name));
        QVERIFY(!QLocalServer().listen(name));
        QVERIFY(!SingleInstance(name).anotherCopyBroughtForward());

        QWidget window;
        window.showMinimized();
        SingleInstance first(name);
        first.listen(&window);
        QVERIFY(SingleInstance(name).anotherCopyBroughtForward());
        QTRY_VERIFY_WITH_TIMEOUT(!window.isMinimized(), 5000);
    }
};

} // namespace korvel

QTEST_MAIN(korvel::SingleInstanceTest)
#include "single_instance_test.moc"
