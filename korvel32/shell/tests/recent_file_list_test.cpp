#include <QtTest>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "shell/recent_file_list.h"
#include "temp_dir.h"

namespace korvel {
namespace {

using Entries = std::vector<std::string>;

Entries loaded(const std::string &iniPath) {
    RecentFileList list(iniPath);
    list.load();
    return list.entries();
}

} // namespace

class RecentFileListTest : public QObject {
    Q_OBJECT

private slots:
    void init() { iniPath_ = directory_.path() + "/korvmru.ini"; }
    void cleanup() { std::remove(iniPath_.c_str()); }

    void newestFirstAndNoMoreThanFour() {
        RecentFileList list(iniPath_);
        list.load();
        QVERIFY(list.entries().empty());
        for (const char *path : {"/s/a.stp", "/s/b.stp", "/s/c.stp", "/s/d.stp", "/s/e.stp"}) list.add(path);
        const Entries expected{"/s/e.stp", "/s/d.stp", "/s/c.stp", "/s/b.stp"};
        QVERIFY(list.entries() == expected);
        QVERIFY(loaded(iniPath_) == expected);
    }

    void reusedEntryMovesToTheFront() {
        RecentFileList list(iniPath_);
        for (const char *path : {"/s/a.stp", "/s/b.stp", "/s/c.stp", "/s/b.stp"}) list.add(path);
        const Entries expected{"/s/b.stp", "/s/c.stp", "/s/a.stp"};
        QVERIFY(list.entries() == expected);
        QVERIFY(loaded(iniPath_) == expected);
    }

    void removedEntryStaysRemoved() {
        RecentFileList list(iniPath_);
        for (const char *path : {"/s/a.stp", "/s/b.stp", "/s/c.stp", "/s/d.stp"}) list.add(path);
        list.remove(1);
        list.remove(3); // past the end: nothing
        list.remove(-1);
        const Entries expected{"/s/d.stp", "/s/b.stp", "/s/a.stp"};
        QVERIFY(list.entries() == expected);
        QVERIFY(loaded(iniPath_) == expected);
    }

    void pathsWithBlanksAndEmptyKeysReadBack() {
        std::ofstream(iniPath_) << "[Recent File List]\r\nFile1=\r\nFile2=/home/op/my setups/plant 2.stp\r\n";
        QVERIFY(loaded(iniPath_) == Entries{"/home/op/my setups/plant 2.stp"});
    }

private:
    kvtest::TempDir directory_;
    std::string iniPath_;
};

} // namespace korvel

QTEST_MAIN(korvel::RecentFileListTest)
#include "recent_file_list_test.moc"
