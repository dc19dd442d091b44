// The main window's commands as the menu resource lists them: menu texts with
// their mnemonics, the popups in menu order, the toolbar's buttons, and the
// prompts and tool tips from the string table.
#pragma once

#include <string>
#include <vector>

namespace korvel {

// In a popup's item list and the toolbar's button list.
inline constexpr int kSeparator = 0;

struct MenuPopup {
    const char *title;
    const char *prompt; // the status-bar text while the popup is highlighted
    std::vector<int> items;
};

// The seven popups, from Setup to Help. The Setup popup holds the recent
// files at command::kFirstRecentFile.
const std::vector<MenuPopup> &menuPopups();

// The toolbar's buttons in order, kSeparator for a gap.
const std::vector<int> &toolbarButtons();

// The menu text, "&" before the mnemonic; empty for an unknown identifier.
std::string commandMenuText(int id);
// The status-bar prompt: the command's string up to "\n".
std::string commandPrompt(int id);
// The tool tip: the command's string after "\n"; empty when it has none.
std::string commandToolTip(int id);

} // namespace korvel
