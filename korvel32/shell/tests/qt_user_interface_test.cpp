#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include "shell/progress_window.h"
#include "shell/qt_user_interface.h"
#include "shell/tests/window_probe.h"
#include "shell/warning_window.h"
#include "temp_dir.h"

Q_DECLARE_METATYPE(korvel::MessageButtons)
Q_DECLARE_METATYPE(korvel::MessageAnswer)

namespace korvel {
namespace {

QList<WarningWindow *> shownWarningWindows(const QWidget &mainWindow) {
    QList<WarningWindow *> shown;
    for (WarningWindow *window : mainWindow.findChildren<WarningWindow *>()) {
        if (window->isVisible()) shown.append(window);
    }
    return shown;
}

} // namespace

class QtUserInterfaceTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        mainWindow_ = std::make_unique<QWidget>();
        mainWindow_->show();
        ui_ = std::make_unique<QtUserInterface>();
        ui_->setMainWindow(mainWindow_.get());
    }

    void cleanup() {
        ui_.reset();
        mainWindow_.reset();
    }

    void messageBoxReturnsTheChosenButton_data() {
        QTest::addColumn<MessageButtons>("buttons");
        QTest::addColumn<int>("press"); // a QMessageBox::StandardButton, or 0 for Escape
        QTest::addColumn<MessageAnswer>("answer");
        QTest::newRow("ok") << MessageButtons::Ok << int(QMessageBox::Ok) << MessageAnswer::Ok;
        QTest::newRow("ok-cancel: cancel")
            << MessageButtons::OkCancel << int(QMessageBox::Cancel) << MessageAnswer::Cancel;
        QTest::newRow("yes-no: no") << MessageButtons::YesNo << int(QMessageBox::No) << MessageAnswer::No;
        QTest::newRow("yes-no: yes") << MessageButtons::YesNo << int(QMessageBox::Yes) << MessageAnswer::Yes;
        QTest::newRow("yes-no-cancel: no") << MessageButtons::YesNoCancel << int(QMessageBox::No) << MessageAnswer::No;
        QTest::newRow("yes-no-cancel: escape") << MessageButtons::YesNoCancel << 0 << MessageAnswer::Cancel;
        QTest::newRow("yes-no: escape") << MessageButtons::YesNo << 0 << MessageAnswer::No;
    }

    void messageBoxReturnsTheChosenButton() {
        QFETCH(MessageButtons, buttons);
        QFETCH(int, press);
        QFETCH(MessageAnswer, answer);

        QString caption;
        QString text;
        QWidget *parent = nullptr;
        bool modalWhileOpen = false;
        test::whenModalOpens<QMessageBox>([&](QMessageBox &box) {
            caption = box.windowTitle();
            text = box.text();
            parent = box.parentWidget();
            modalWhileOpen = modalDialogOpen();
            if (press == 0)
                QTest::keyClick(&box, Qt::Key_Escape);
            else
                box.button(static_cast<QMessageBox::StandardButton>(press))->click();
        });

        QCOMPARE(ui_->showMessage("Delete anyway?", MessageIcon::Question, buttons), answer);
        QCOMPARE(caption, QStringLiteral("Orrin Korvel Logger"));
        QCOMPARE(text, QStringLiteral("Delete anyway?"));
        QCOMPARE(parent, mainWindow_.get());
        QVERIFY(modalWhileOpen);
        QVERIFY(!modalDialogOpen());
    }

    void messageBoxShowsTheIconAndDefaultsToTheFirstButton() {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QAbstractButton *defaultButton = nullptr;
        QAbstractButton *yes = nullptr;
        test::whenModalOpens<QMessageBox>([&](QMessageBox &box) {
            icon = box.icon();
            defaultButton = box.defaultButton();
            yes = box.button(QMessageBox::Yes);
            QTest::keyClick(&box, Qt::Key_Return);
        });
        QCOMPARE(ui_->showMessage("Continue?", MessageIcon::Exclamation, MessageButtons::YesNoCancel),
                 MessageAnswer::Yes);
        QCOMPARE(icon, QMessageBox::Warning);
        QCOMPARE(defaultButton, yes);
    }

    void warningShowsItsWindowAndReusesIt() {
        ui_->showWarning(WarningKind::ScanQueueOverflow, "Instrument 03:  Scan queue overflow!",
                         "Oldest scans overwritten!");
        const auto shown = shownWarningWindows(*mainWindow_);
        QCOMPARE(shown.size(), 1);
        WarningWindow *overflow = shown.front();
        QCOMPARE(overflow->windowTitle(), QStringLiteral("WARNING!"));
        QVERIFY(overflow->isWindow());
        QCOMPARE(test::labelText(*overflow, "message"), QStringLiteral("Instrument 03:  Scan queue overflow!"));
        QCOMPARE(test::labelText(*overflow, "detail"), QStringLiteral("Oldest scans overwritten!"));
        QVERIFY(test::saveSnapshot(*overflow, snapshots_.path().c_str(), QStringLiteral("warning_window")));

        ui_->showWarning(WarningKind::ScanQueueOverflow, "Instrument 07:  Scan queue overflow!",
                         "Newest scans discarded!");
        QCOMPARE(shownWarningWindows(*mainWindow_), QList<WarningWindow *>{overflow});
        QCOMPARE(test::labelText(*overflow, "message"), QStringLiteral("Instrument 07:  Scan queue overflow!"));
        QCOMPARE(test::labelText(*overflow, "detail"), QStringLiteral("Newest scans discarded!"));

        // Another kind has a window of its own, without the detail line.
        ui_->showWarning(WarningKind::DataFile, "Instrument 07:  Disk full!", "");
        const auto both = shownWarningWindows(*mainWindow_);
        QCOMPARE(both.size(), 2);
        WarningWindow *dataFile = both.front() == overflow ? both.back() : both.front();
        QCOMPARE(test::labelText(*dataFile, "message"), QStringLiteral("Instrument 07:  Disk full!"));
        QVERIFY(!dataFile->findChild<QLabel *>(QStringLiteral("detail")));

        // OK hides only its own window.
        dataFile->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        QCOMPARE(shownWarningWindows(*mainWindow_), QList<WarningWindow *>{overflow});
    }

    void progressWindowShowAbortHide() {
        ui_->showProgress("Reading Remaining Scans ...");
        auto *progress = mainWindow_->findChild<ProgressWindow *>();
        QVERIFY(progress && progress->isVisible());
        QVERIFY(ui_->progressShown());
        QCOMPARE(test::labelText(*progress, "text"), QStringLiteral("Reading Remaining Scans ..."));
        QVERIFY(!ui_->abortRequested());
        QVERIFY(test::saveSnapshot(*progress, snapshots_.path().c_str(), QStringLiteral("progress_window")));

        QTest::mouseClick(progress->findChild<QPushButton *>(QStringLiteral("abort")), Qt::LeftButton);
        QVERIFY(ui_->abortRequested());

        // A new text while it is up keeps the request for whoever polls it.
        ui_->showProgress("50% converted");
        QVERIFY(ui_->abortRequested());
        QCOMPARE(test::labelText(*progress, "text"), QStringLiteral("50% converted"));

        ui_->hideProgress();
        QVERIFY(!progress->isVisible());
        QVERIFY(!ui_->progressShown());
        QVERIFY(!ui_->abortRequested());

        ui_->showProgress("Reading Remaining Scans ...");
        QVERIFY(progress->isVisible());
        QVERIFY(!ui_->abortRequested());
    }

    void closingTheProgressWindowAsksForAbortAndKeepsItUp() {
        ui_->showProgress("Reading Remaining Scans ...");
        auto *progress = mainWindow_->findChild<ProgressWindow *>();
        QVERIFY(!progress->close());
        QVERIFY(progress->isVisible());
        QVERIFY(ui_->abortRequested());

        ui_->hideProgress();
        progress->reject(); // Escape while hidden asks for nothing
        QVERIFY(!ui_->abortRequested());
    }

    void windowsMayGoWithTheMainWindowFirst() {
        ui_->showProgress("Reading Remaining Scans ...");
        mainWindow_.reset();
        ui_->showWarning(WarningKind::DataFile, "Instrument 07:  Disk full!", "");
        ui_->hideProgress();
        QVERIFY(!ui_->progressShown());
    }

    void busyCursorNests() {
        QVERIFY(!QApplication::overrideCursor());
        ui_->beginBusy();
        ui_->beginBusy();
        QVERIFY(QApplication::overrideCursor());
        QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        ui_->endBusy();
        QVERIFY(QApplication::overrideCursor());
        ui_->endBusy();
        QVERIFY(!QApplication::overrideCursor());

        // An unmatched end does not leave the next begin without its cursor.
        ui_->endBusy();
        ui_->beginBusy();
        QVERIFY(QApplication::overrideCursor());
        ui_->endBusy();
        QVERIFY(!QApplication::overrideCursor());
    }

    void busyCursorGoesWithTheInterface() {
        {
            QtUserInterface ui;
            ui.beginBusy();
        }
        QVERIFY(!QApplication::overrideCursor());
    }

private:
    kvtest::TempDir snapshots_;
    std::unique_ptr<QWidget> mainWindow_;
    std::unique_ptr<QtUserInterface> ui_;
};

} // namespace korvel

QTEST_MAIN(korvel::QtUserInterfaceTest)
#include "qt_user_interface_test.moc"
