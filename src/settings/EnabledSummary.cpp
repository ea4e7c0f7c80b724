#include "EnabledSummary.h"

#include "ScheduleTable.h"

QString EnabledSummary(const ScheduleTable &table)
{
    QString line;
    for (int index = 0; index < ScheduleTable::kSize; ++index) {
        if (table[index].valid == 1)
            line += QString::number(index + 1) + u' ';
    }
    if (line.isEmpty())
        return QStringLiteral("ありません。");
    return line + QStringLiteral("です。");
}
