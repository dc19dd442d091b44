#include "help_page.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace korvel {

namespace {

constexpr const char *kHelpHtml = R"(<h2>Korvel Logger</h2>
<p>The logger starts Korvel M100A and M200A instruments together, pulls their scans over the network into
data files without losing one, and shows what they measure.</p>
<h3>Getting started</h3>
<ol>
<li>List your instruments in the communications configuration (<code>ccf.cfg</code>) with <b>Setup &rarr;
Communications Config...</b>: <b>Add...</b> each one with its BCN, model and, on a general network, its
address, then <b>Verify</b> that it answers as configured. A new BCN or model given there carries over to the
instrument's button and configuration in the setup.</li>
<li><b>Setup &rarr; Create Instrument Icon...</b> adds instruments from that list to the setup; each gets a
button in the instrument bar, in BCN order. Click a button to select the instrument: the window shows its
configuration, instrument-wide settings above and one line per channel below.</li>
<li><b>Logging &rarr; Start Instrument</b> starts the selected instrument, <b>Start All Instruments</b> every
instrument together. The button's icon turns green while an instrument logs (amber when its data are
simulated). <b>Stop Instrument</b> and <b>Stop All Instruments</b> stop them and read the scans they still
hold into the data files first.</li>
<li><b>Setup &rarr; Save Setup</b> keeps the instruments, their configuration and the window's layout in a
setup file (<code>.stp</code>) that <b>Open Setup...</b> or the command line opens again.</li>
</ol>
<h3>Groups</h3>
<p>A Master instrument and its Slaves start together and their scans are written side by side into the
Master's data file. Start and stop a group through its Master; a Slave's own Start and Stop are disabled.</p>
<h3>Options</h3>
<p><b>Configuration Lockout</b> disables every command that changes the configuration. <b>Simulate Logging
on Start</b> makes up a scan a second instead of asking the instruments.</p>
<h3>Command line</h3>
<p><code>korvel32 [SETUP] [/G] [/S] [/C] [/X]</code>: open SETUP; <code>/G</code> start all instruments once
it is open; <code>/S</code> no splash window; <code>/C</code> keep the calibration command;
<code>/X</code> keep running through a log-off. <code>korvel32 --headless</code> runs the logger without
windows.</p>
)";

} // namespace

void showHelpPage(QWidget *parent) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Korvel Logger Help"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *page = new QTextBrowser(&dialog);
    page->setHtml(QString::fromUtf8(kHelpHtml));
    layout->addWidget(page);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.resize(560, 520);
    dialog.exec();
}

} // namespace korvel
