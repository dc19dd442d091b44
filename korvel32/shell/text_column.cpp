#include "shell/text_column.h"

#include "shell/config_view_metrics.h"

#include <QLabel>
#include <QStringList>

namespace korvel {

namespace {

constexpr int kColumnCharacters = 12;

} // namespace

QString joinedLines(const std::vector<std::string> &lines) {
    QStringList texts;
    for (const std::string &line : lines) texts << QString::fromStdString(line);
    return texts.join(QLatin1Char('\n'));
}

QLabel *textColumn(QWidget *parent, const char *name, Qt::Alignment alignment) {
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment | Qt::AlignTop);
    label->setFont(childWindowFont());
    label->setMinimumWidth(characterCell(childWindowFont()).columns(kColumnCharacters));
    return label;
}

} // namespace korvel
