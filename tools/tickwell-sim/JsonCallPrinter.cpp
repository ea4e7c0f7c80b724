#include "JsonCallPrinter.h"

#include "Clock.h"

#include <ostream>

JsonCallPrinter::JsonCallPrinter(const Clock &clock, std::ostream &out)
    : m_clock(clock)
    , m_out(out)
{
}

void JsonCallPrinter::PlayEntrySound(int index)
{
    m_out << QStringLiteral("{\"at\":\"%1\",\"call\":\"PlayEntrySound\",\"schedule\":%2}\n")
                 .arg(stamp())
                 .arg(index + 1)
                 .toStdString();
}

void JsonCallPrinter::ShowNotice(const QString &text)
{
    m_out << (QStringLiteral("{\"at\":\"") + stamp()
        + QStringLiteral("\",\"call\":\"ShowNotice\",\"text\":\"") + escape(text) + QStringLiteral("\"}\n"))
                 .toStdString();
}

void JsonCallPrinter::ShowMessage(const QString &text, Icon)
{
    m_out << (QStringLiteral("{\"at\":\"") + stamp()
        + QStringLiteral("\",\"call\":\"MessageBox\",\"text\":\"") + escape(text) + QStringLiteral("\"}\n"))
                 .toStdString();
}

QString JsonCallPrinter::escape(const QString &text)
{
    QString out;
    out.reserve(text.size() + 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '"':
            out += QStringLiteral("\\\"");
            break;
        case '\\':
            out += QStringLiteral("\\\\");
            break;
        case '\n':
            out += QStringLiteral("\\n");
            break;
        case '\r':
            out += QStringLiteral("\\r");
            break;
        case '\t':
            out += QStringLiteral("\\t");
            break;
        case '\b':
            out += QStringLiteral("\\b");
            break;
        case '\f':
            out += QStringLiteral("\\f");
            break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out;
}

QString JsonCallPrinter::stamp() const
{
    const LocalTime t = m_clock.now();
    return QStringLiteral("%1-%2-%3T%4:%5:%6")
        .arg(t.year, 4, 10, QLatin1Char('0'))
        .arg(t.month, 2, 10, QLatin1Char('0'))
        .arg(t.day, 2, 10, QLatin1Char('0'))
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'))
        .arg(t.second, 2, 10, QLatin1Char('0'));
}
