// The menu, toolbar, prompts and tool tips as the command table lays them out,
// and the name Save As proposes.
#include "app/command_ids.h"
#include "app/command_table.h"
#include "shell/setup_title.h"

#include <QTest>

#include <algorithm>
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

    // Start-up removes them with the separator before them.
    void removableCommandsEndTheirPopupsAfterASeparator() {
        for (const int trimmed : {kCalibration, kToolbox}) {
            const auto holds = [trimmed](const MenuPopup &popup) {
                return std::find(popup.items.begin(), popup.items.end(), trimmed) != popup.items.end();
            };
            const auto popup = std::find_if(menuPopups().begin(), menuPopups().end(), holds);
            QVERIFY(popup != menuPopups().end());
            QCOMPARE(popup->items.back(), trimmed);
            QCOMPARE(popup->items.at(popup->items.size() - 2), kSeparator);
        }
    }

    void toolbarButtonsComeInOrderWithTheirToolTips() {
        std::vector<int> buttons;
        for (const int id : toolbarButtons()) {
            if (id == kSeparator) continue;
            buttons.push_back(id);
            QVERIFY2(!commandToolTip(id).empty(), qPrintable(QString::number(id)));
        }
        const std::vector<int> expected{kOpenSetup,        kSaveSetup,        kCommunicationsConfig,
                                        kCreateInstrument, kDeleteInstrument, kInstrumentConfiguration,
                                        kStartInstrument,  kStopInstrument,   kStartAll,
                                        kStopAll,          kShowTrendLink};
        QCOMPARE(buttons, expected);
        QCOMPARE(toolbarButtons().size(), std::size_t{20});
        QCOMPARE(commandToolTip(kStartAll), std::string("Start All Instruments"));
        QCOMPARE(commandPrompt(kStartAll), std::string("Start all instruments logging"));
        QVERIFY(commandToolTip(kSaveSetupAs).empty());
    }

    void saveAsProposesThePathOrTheNewSetupsTitle() {
        QCOMPARE(proposedSetupFileName(""), std::string("Setup.stp"));
        QCOMPARE(proposedSetupFileName("/data/plant.stp"), std::string("/data/plant.stp"));
        QCOMPARE(setupTitle(""), std::string("Setup"));
        QCOMPARE(setupTitle("/data/plant.stp"), std::string("plant.stp"));
    }
};

QTEST_MAIN(CommandTableTest)
#include "command_table_test.moc"
