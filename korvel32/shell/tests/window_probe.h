// Looking into the shell's windows from tests: the text of a named line, the
// instruments on the bar, the next modal dialog, and pictures of the windows
// for a person to look at, saved into $KORVEL_SNAPSHOT_DIR when it is set,
// else into the test's own directory.
#pragma once

#include "setup/instrument_table.h"
#include "shell/instrument_bar.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <vector>

namespace korvel::test {

// The text of the window's label with that object name; empty when it has none.
inline QString labelText(const QWidget &window, const char *name) {
    const auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

// The BCNs of the bar's buttons, left to right.
inline std::vector<unsigned> bcnsShown(const InstrumentBar &bar, const InstrumentTable &table) {
    std::vector<unsigned> bcns;
    for (const int slot : bar.slotsInOrder()) bcns.push_back(table.slot(slot).bcn);
    return bcns;
}

// Hands the next modal dialog of that type to handle as soon as it is up; the
// test fails when none comes within the bound.
template <typename Dialog>
void whenModalOpens(std::function<void(Dialog &)> handle, int boundMs = 10000) {
    auto *poll = new QTimer;
    QElapsedTimer waited;
    waited.start();
    QObject::connect(poll, &QTimer::timeout, poll, [poll, waited, handle, boundMs] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (dialog == nullptr && waited.elapsed() < boundMs) return;
        poll->stop();
        poll->deleteLater();
        if (dialog == nullptr) {
            QTest::qFail("no modal dialog came up", __FILE__, __LINE__);
            return;
        }
        handle(*dialog);
    });
    poll->start(10);
}

// Saves the picture as <name>.png; true when the file holds a picture with
// more than one colour, i.e. something was drawn.
inline bool saveSnapshot(const QImage &picture, const QString &testDirectory, const QString &name) {
    const QString directory =
        qEnvironmentVariableIsSet("KORVEL_SNAPSHOT_DIR") ? qEnvironmentVariable("KORVEL_SNAPSHOT_DIR") : testDirectory;
    const QString file = directory + QStringLiteral("/") + name + QStringLiteral(".png");
    if (!picture.save(file)) return false;
    const QImage image(file);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0)) return true;
        }
    }
    return false;
}

// The window's picture, as above.
inline bool saveSnapshot(QWidget &window, const QString &testDirectory, const QString &name) {
    return saveSnapshot(window.grab().toImage(), testDirectory, name);
}

} // namespace korvel::test
