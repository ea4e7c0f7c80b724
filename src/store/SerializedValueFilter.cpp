#include "SerializedValueFilter.h"

#include <QString>
#include <QStringDecoder>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int digitValue(char c, int base)
{
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

char simpleEscape(char c)
{
    switch (c) {
    case 'a':
        return '\a';
    case 'b':
        return '\b';
    case 'f':
        return '\f';
    case 'n':
        return '\n';
    case 'r':
        return '\r';
    case 't':
        return '\t';
    case 'v':
        return '\v';
    case '"':
    case '?':
    case '\'':
    case '\\':
        return c;
    default:
        return 0;
    }
}

bool isSerializedVariant(const QString &text)
{
    return text.startsWith(QLatin1String("@Variant("));
}

// Whether the value of an INI line, unescaped as QSettings does it, is (or
// lists) a text starting with "@Variant(". Trailing blanks do not matter
// here, so they are left on.
bool holdsSerializedVariant(const QByteArray &value)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString item;
    bool inQuotes = false;
    const qsizetype size = value.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < size && (value[i] == ' ' || value[i] == '\t'))
            ++i;
    };
    skipBlanks();
    while (i < size) {
        const char c = value[i];
        if (c == '\\') {
            if (++i >= size)
                break;
            const char e = value[i++];
            if (const char plain = simpleEscape(e)) {
                item += QLatin1Char(plain);
                continue;
            }
            const int base = e == 'x' ? 16 : digitValue(e, 8) >= 0 ? 8 : 0;
            if (base == 16 && i >= size)
                break;
            if (base == 8 || (base == 16 && digitValue(value[i], 16) >= 0)) {
                // Digits run on as long as they come; the code wraps at 16 bits.
                char16_t code = base == 8 ? static_cast<char16_t>(digitValue(e, 8)) : 0;
                for (int d = 0; i < size && (d = digitValue(value[i], base)) >= 0; ++i)
                    code = static_cast<char16_t>(code * base + d);
                item += QChar(code);
                continue;
            }
            if ((e == '\n' || e == '\r') && i < size && (value[i] == '\n' || value[i] == '\r')
                && value[i] != e)
                ++i;
        } else if (c == '"') {
            ++i;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipBlanks();
        } else if (c == ',' && !inQuotes) {
            if (isSerializedVariant(item))
                return true;
            item.clear();
            ++i;
            skipBlanks();
        } else {
            qsizetype j = i + 1;
            while (j < size && value[j] != '\\' && value[j] != '"' && value[j] != ',')
                ++j;
            item += utf8(value.mid(i, j - i));
            i = j;
        }
    }
    return isSerializedVariant(item);
}

} // namespace

QByteArray withoutSerializedVariants(const QByteArray &ini)
{
    // Cheap way out for nearly every file: the letters must be there.
    if (!ini.contains("ariant") && !ini.contains('\\'))
        return ini;
    QByteArray result;
    const qsizetype bom = ini.startsWith("\xef\xbb\xbf") ? 3 : 0;
    const qsizetype size = ini.size();
    qsizetype kept = 0; // ini[kept, start) is still to be copied
    qsizetype pos = bom;
    for (;;) {
        qsizetype start = pos;
        while (start < size && isBlank(ini[start]))
            ++start;
        qsizetype i = start;
        qsizetype equalsPos = -1;
        bool inQuotes = false;
        while (i < size) {
            const char c = ini[i++];
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
                    const char next = ini[i++];
                    if (i < size && ((next == '\n' && ini[i] == '\r') || (next == '\r' && ini[i] == '\n')))
                        ++i;
                }
            } else if (c == '"') {
                inQuotes = !inQuotes;
            } else if (c == ';') {
                if (i == start + 1) {
                    while (i < size && ini[i] != '\n' && ini[i] != '\r')
                        ++i;
                    while (i < size && isBlank(ini[i]))
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
        if (ini[start] != '[' && equalsPos >= 0
            && holdsSerializedVariant(ini.mid(equalsPos + 1, i - equalsPos - 1))) {
            result += ini.mid(kept, start - kept);
            kept = i;
        }
    }
    if (kept == 0)
        return ini;
    result += ini.mid(kept);
    return result;
}
