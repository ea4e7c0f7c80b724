#include "IniOracle.h"

#include <QStringDecoder>

#include <climits>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

int octalDigit(char c)
{
    return c >= '0' && c <= '7' ? c - '0' : -1;
}

void chopTrailingBlanks(QString &text, qsizetype limit)
{
    while (text.size() > limit && (text.back() == u' ' || text.back() == u'\t'))
        text.chop(1);
}

// The whole text as a decimal 32-bit number: blanks around it, one sign,
// ASCII digits.
bool isDecimal(const QString &text, int value)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-'))
        negative = t[i++] == u'-';
    if (i == t.size())
        return false;
    long long number = 0;
    for (; i < t.size(); ++i) {
        if (t[i] < u'0' || t[i] > u'9')
            return false;
        number = number * 10 + (t[i].unicode() - u'0');
        if (number > static_cast<long long>(INT_MAX) + 1)
            return false;
    }
    return (negative ? -number : number) == value;
}

} // namespace

IniOracle::IniOracle(const QByteArray &file)
{
    QByteArray data = file;
    if (data.startsWith("\xef\xbb\xbf"))
        data.remove(0, 3);
    const qsizetype size = data.size();
    qsizetype pos = 0;
    for (;;) {
        // One line: it ends at a line break or a ';' outside quotes; a
        // backslash takes the next character (a line break too) with it.
        qsizetype start = pos;
        while (start < size && isBlank(data[start]))
            ++start;
        qsizetype i = start;
        qsizetype equalsPos = -1;
        bool inQuotes = false;
        while (i < size) {
            const char c = data[i++];
            if (c == '=') {
                if (!inQuotes && equalsPos < 0)
                    equalsPos = i - 1;
            } else if (c == '\n' || c == '\r') {
                if (i == start + 1) {
                    ++start;
                } else if (!inQuotes) {
                    --i;
                    break;
                }
            } else if (c == '\\') {
                if (i < size) {
                    const char next = data[i++];
                    if (i < size && ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n')))
                        ++i;
                }
            } else if (c == '"') {
                inQuotes = !inQuotes;
            } else if (c == ';') {
                if (i == start + 1) {
                    // A comment line.
                    while (i < size && data[i] != '\n' && data[i] != '\r')
                        ++i;
                    while (i < size && isBlank(data[i]))
                        ++i;
                    start = i;
                } else if (!inQuotes) {
                    --i;
                    break;
                }
            }
        }
        pos = i;
        if (i <= start)
            break;
        const QByteArray line = data.mid(start, i - start);
        if (line.startsWith('[')) {
            qsizetype close = line.indexOf(']');
            if (close < 0)
                close = line.size();
            const QByteArray name = line.mid(1, close - 1).trimmed();
            if (name.compare("general", Qt::CaseInsensitive) == 0)
                m_section.clear();
            else if (name.compare("%general", Qt::CaseInsensitive) == 0)
                m_section = QString::fromLatin1(name.mid(1)) + u'/';
            else
                m_section = unescapedName(name) + u'/';
        } else if (equalsPos >= 0) {
            readLine(line, equalsPos - start);
        }
    }
}

bool IniOracle::mayHoldInt(const QString &section, const QString &key, int value) const
{
    const auto found = m_values.constFind(normalized(section + u'/' + key));
    if (found == m_values.cend())
        return false;
    for (const Value &v : *found) {
        if (v.opaque || (!v.list && isDecimal(v.text, value)))
            return true;
    }
    return false;
}

bool IniOracle::mentions(const QString &section, const QString &key) const
{
    return m_values.contains(normalized(section + u'/' + key));
}

void IniOracle::readLine(const QByteArray &line, qsizetype equalsPos)
{
    const QString key = normalized(m_section + unescapedName(line.left(equalsPos).trimmed()));
    m_values[key].push_back(unescapedValue(line.mid(equalsPos + 1)));
}

QString IniOracle::unescapedName(const QByteArray &name)
{
    // "\" separates groups; "%XX" and "%UXXXX" are characters by their code.
    const QString text = QString::fromUtf8(name);
    QString result;
    qsizetype i = 0;
    while (i < text.size()) {
        const QChar c = text[i];
        if (c == u'\\') {
            result += u'/';
            ++i;
            continue;
        }
        if (c != u'%' || i == text.size() - 1) {
            result += c;
            ++i;
            continue;
        }
        const bool wide = text[i + 1] == u'U';
        const qsizetype first = i + (wide ? 2 : 1);
        const qsizetype digits = wide ? 4 : 2;
        bool ok = false;
        const ushort code = first + digits <= text.size() ? text.mid(first, digits).toUShort(&ok, 16) : 0;
        if (!ok) {
            result += u'%';
            ++i;
            continue;
        }
        result += QChar(code);
        i = first + digits;
    }
    return result;
}

IniOracle::Value IniOracle::unescapedValue(const QByteArray &value)
{
    Value result;
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString current;
    QStringList items;
    bool inQuotes = false;
    bool quoted = false;
    const qsizetype size = value.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < size && (value[i] == ' ' || value[i] == '\t'))
            ++i;
    };
    skipBlanks();
    qsizetype chopLimit = 0;
    bool chopAtEnd = true;
    while (i < size) {
        const char c = value[i];
        if (c == '\\') {
            if (++i >= size) {
                chopAtEnd = false;
                break;
            }
            const char e = value[i++];
            static const char simple[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'}, {'r', '\r'},
                {'t', '\t'}, {'v', '\v'}, {'"', '"'}, {'?', '?'}, {'\'', '\''}, {'\\', '\\'}};
            bool done = false;
            for (const auto &pair : simple) {
                if (e == pair[0]) {
                    current += QLatin1Char(pair[1]);
                    done = true;
                }
            }
            if (done) {
                chopLimit = current.size();
                continue;
            }
            const bool hex = e == 'x' && i < size && hexDigit(value[i]) >= 0;
            if (e == 'x' && i >= size) {
                chopAtEnd = false;
                break;
            }
            if (hex || octalDigit(e) >= 0) {
                char16_t code = hex ? 0 : static_cast<char16_t>(octalDigit(e));
                int digit = 0;
                while (i < size && (digit = hex ? hexDigit(value[i]) : octalDigit(value[i])) >= 0) {
                    code = static_cast<char16_t>((code << (hex ? 4 : 3)) + digit);
                    ++i;
                }
                current += QChar(code);
                if (i >= size) {
                    chopAtEnd = false;
                    break;
                }
                chopLimit = current.size();
                continue;
            }
            if ((e == '\n' || e == '\r') && i < size && (value[i] == '\n' || value[i] == '\r')
                && value[i] != e)
                ++i;
            chopLimit = current.size();
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = current.size();
            }
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(current, chopLimit);
            result.list = true;
            items.append(current);
            current.clear();
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
        } else {
            qsizetype j = i + 1;
            while (j < size && value[j] != '\\' && value[j] != '"' && value[j] != ',')
                ++j;
            current += utf8(value.mid(i, j - i));
            i = j;
        }
    }
    if (chopAtEnd && !quoted)
        chopTrailingBlanks(current, chopLimit);
    if (result.list) {
        items.append(current);
        result.text = items.join(u',');
    } else {
        result.text = current;
        // "@@" stands for a text that starts with "@"; any other "@" is a
        // value serialized by QSettings that this reading does not decode.
        if (current.startsWith(QLatin1String("@@")))
            result.text = current.mid(1);
        else if (current.startsWith(u'@'))
            result.opaque = true;
    }
    return result;
}

QString IniOracle::normalized(const QString &path)
{
    QString result;
    for (const QChar c : path) {
        if (c == u'/' && (result.isEmpty() || result.back() == u'/'))
            continue;
        result += c;
    }
    if (result.endsWith(u'/'))
        result.chop(1);
    return result;
}
