#include "shell/about_box.h"

#include "app/program_identity.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>

namespace korvel {
namespace {

constexpr char kVersionLabel[] = "Version:";

// Centred on the screen the parent is on, not on the parent.
void centreOnScreen(QWidget &window) {
    const QScreen *screen = window.screen();
    if (!screen) return;
    QRect frame = window.frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window.move(frame.topLeft());
}

} // namespace

void showAboutBox(QWidget *parent) {
    QDialog box(parent);
    box.setWindowTitle(QStringLiteral("About %1").arg(QString::fromLatin1(kProductName)));

    auto *icon = new QLabel(&box);
    icon->setObjectName(QStringLiteral("icon"));
    const int iconSize = box.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &box);
    icon->setPixmap(QApplication::windowIcon().pixmap(iconSize));
    auto *product = new QLabel(QString::fromLatin1(kProductName), &box);
    product->setObjectName(QStringLiteral("product"));
    // The label with the version appended after two blanks, as one line.
    auto *version = new QLabel(
        QStringLiteral("%1  %2").arg(QString::fromLatin1(kVersionLabel), QString::fromLatin1(kProgramVersion)), &box);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    auto *copyright = new QLabel(QString::fromUtf8(kCopyright), &box);
    copyright->setObjectName(QStringLiteral("copyright"));
    copyright->setTextFormat(Qt::PlainText);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    buttons->setCenterButtons(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);

    auto *layout = new QGridLayout(&box);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(copyright, 2, 1);
    layout->addWidget(buttons, 3, 0, 1, 2);
    layout->setHorizontalSpacing(16);
    layout->setVerticalSpacing(8);
    layout->setColumnMinimumWidth(1, 180);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    box.adjustSize();
    centreOnScreen(box);
    box.exec();
}

} // namespace korvel
