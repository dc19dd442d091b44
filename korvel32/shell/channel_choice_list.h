// The channel list of the Quick Plot Setup and Spy Channel Selection dialogs:
// several lines may be selected with Ctrl + click.
#pragma once

#include "app/channel_list.h"

#include <QListWidget>

#include <vector>

class QDialog;
class QLayout;

namespace korvel {

class ChannelChoiceList : public QListWidget {
    Q_OBJECT
public:
    // The selected lines are selected, the caret on the first of them.
    ChannelChoiceList(const std::vector<ChannelLine> &lines, const std::vector<std::size_t> &selected, QWidget *parent);

    std::vector<std::size_t> selectedRows() const;
};

// Lays out a choosing dialog: the list with its Ctrl + click hint, the
// dialog's own fields when it has any, then OK and Cancel; the list gets the
// focus.
void layOutChannelChoice(QDialog &dialog, ChannelChoiceList &channels, QLayout *fields = nullptr);

} // namespace korvel
