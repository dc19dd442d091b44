// The Create Instrument Icon dialog shows the lines it is given and returns
// the BCNs chosen.
#include "shell/create_instrument_dialog.h"
#include "shell/tests/window_probe.h"

#include <QListWidget>
#include <QTest>

namespace korvel {
namespace {

const std::vector<AvailableInstrument> kAvailable{{3, "03  M100A"}, {12, "12  M100A"}};

} // namespace

class CreateInstrumentDialogTest : public QObject {
    Q_OBJECT

private slots:
    void theListSelectsItsFirstLineAndReturnsTheSelectionInOrder() {
        CreateInstrumentDialog dialog(kAvailable);
        QListWidget &list = dialog.list();
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.item(0)->text(), QStringLiteral("03  M100A"));
        QCOMPARE(list.item(1)->text(), QStringLiteral("12  M100A"));
        QCOMPARE(list.selectionMode(), QAbstractItemView::ExtendedSelection);
        QCOMPARE(dialog.chosenBcns(20), (std::vector<unsigned>{3}));

        list.selectAll();
        QCOMPARE(dialog.chosenBcns(20), (std::vector<unsigned>{3, 12}));
        QCOMPARE(dialog.chosenBcns(1), (std::vector<unsigned>{3}));
        list.clearSelection();
        QVERIFY(dialog.chosenBcns(20).empty());
    }

    void theShownDialogReturnsTheLinesChosenWithOkAndNoneWithCancel() {
        bool answered = false;
        test::whenModalOpens<CreateInstrumentDialog>([&answered](CreateInstrumentDialog &dialog) {
            QCOMPARE(dialog.windowTitle(), QStringLiteral("Create Instrument Icon"));
            dialog.list().selectAll();
            dialog.accept();
            answered = true;
        });
        QCOMPARE(chooseInstrumentsInDialog(kAvailable, 1, nullptr), (std::vector<unsigned>{3}));
        QVERIFY(answered);

        test::whenModalOpens<CreateInstrumentDialog>([](CreateInstrumentDialog &dialog) {
            dialog.list().selectAll();
            dialog.reject();
        });
        QVERIFY(chooseInstrumentsInDialog(kAvailable, 20, nullptr).empty());
    }
};

} // namespace korvel

QTEST_MAIN(korvel::CreateInstrumentDialogTest)
#include "create_instrument_dialog_test.moc"
