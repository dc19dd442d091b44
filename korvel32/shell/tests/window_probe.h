// Looking into the shell's windows from tests: the text of a named line, and
// pictures of the windows for a person to look at, saved into
// $KORVEL_SNAPSHOT_DIR when it is set, else into the test's own directory.
#pragma once

#include <QImage>
#include <QLabel>
#include <QString>
#include <QWidget>

namespace korvel::test {

// The text of the window's label with that object name; empty when it has none.
inline QString labelText(const QWidget &window, const char *name)
{
    const auto *label = window.findChild<QLabel *>(QString::fromLatin1(name));
    return label ? label->text() : QString();
}

// Saves the window's picture as <name>.png; true when the file holds a picture
// with more than one colour, i.e. something was drawn.
inline bool saveSnapshot(QWidget &window, const QString &testDirectory, const QString &name)
{
    const QString directory = qEnvironmentVariableIsSet("KORVEL_SNAPSHOT_DIR")
                                  ? qEnvironmentVariable("KORVEL_SNAPSHOT_DIR")
                                  : testDirectory;
    const QString file = directory + QStringLiteral("/") + name + QStringLiteral(".png");
    if (!window.grab().save(file))
        return false;
    const QImage image(file);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0))
                return true;
        }
    }
    return false;
}

} // namespace korvel::test
