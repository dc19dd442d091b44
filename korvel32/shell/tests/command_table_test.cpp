// The menu, toolbar, prompts and tool tips as the command table lays them out,
// and the name Save As proposes.
#include "shell/command_ids.h"
#include "shell/command_table.h"
#include "shell/setup_title.h"

#include <QTest>

#include <set>

using namespace korvel;
using namespace korvel::command;

class CommandTableTest : public QObject {
    Q_OBJECT

private slots:
    void everyMenuCommandHasItsTextAndPrompt() {
        std::set<int> seen;
        for (const MenuPopup &popup : menuPopups()) {
            for (const int id : popup.items) {
                if (id == kSeparator || id == kFirstRecentFile) continue;
                QVERIFY2(seen.insert(id).second, qPrintable(QString::number(id)));
                QVERIFY2(!commandMenuText(id).empty(), qPrintable(QString::number(id)));
                QVERIFY2(!commandPrompt(id).empty(), qPrintable(QString::number(id)));
                QVERIFY2(commandPrompt(id).find('\n') == std::string::npos, qPrintable(QString::number(id)));
            }
        }
        QCOMPARE(seen.size(), std::size_t{39});
        QCOMPARE(menuPopups().size(), std::size_t{7});
    }

    void trimmedPopupsAreWhereStartUpLooksForThem() {
        const auto &utilities = menuPopups().at(kUtilitiesPopup).items;
        QCOMPARE(utilities.back(), kCalibration);
        QCOMPARE(utilities.at(utilities.size() - 2), kSeparator);
        const auto &options = menuPopups().at(kOptionsPopup).items;
        QCOMPARE(options.back(), kToolbox);
        QCOMPARE(options.at(options.size() - 2), kSeparator);
    }

    void toolbarButtonsComeInOrderWithTheirToolTips() {
        std::vector<int> buttons;
        for (const int id : toolbarButtons()) {
            if (id == kSeparator) continue;
            buttons.push_back(id);
            QVERIFY2(!commandToolTip(id).empty(), qPrintable(QString::number(id)));
        }
        const std::vector<int> expected{32950, 33000, 32868, 32850, 32860, 32880, 33090, 33100, 33070, 33080, 33160};
        QCOMPARE(buttons, expected);
        QCOMPARE(toolbarButtons().size(), std::size_t{20});
        QCOMPARE(commandToolTip(kStartAll), std::string("Start All Instruments"));
        QCOMPARE(commandPrompt(kStartAll), std::string("Start all instruments logging"));
        QVERIFY(commandToolTip(kSaveSetupAs).empty());
    }

    void saveAsProposesTheShortTitleOfASetupNeverSaved() {
        QCOMPARE(proposedSetupFileName("", "Setup"), std::string("Setup.stp"));
        QCOMPARE(proposedSetupFileName("", "Furnaces"), std::string("Furnaces.stp"));
        QCOMPARE(proposedSetupFileName("", "Furnace Hall"), std::string("Furnace.stp"));
        QCOMPARE(proposedSetupFileName("", "LineOne#2"), std::string("LineOne.stp"));
        QCOMPARE(proposedSetupFileName("", "ab;cd"), std::string("ab.stp"));
        QCOMPARE(proposedSetupFileName("/data/plant.stp", "plant.stp"), std::string("/data/plant.stp"));
        QCOMPARE(setupTitle(""), std::string("Setup"));
        QCOMPARE(setupTitle("/data/plant.stp"), std::string("plant.stp"));
    }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
