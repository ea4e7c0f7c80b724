#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <vector>

// A second reading of an INI store file, written apart from QSettings, that
// answers one question: could the file have given this key this value? It
// follows the INI rules of QSettings (comments after ';', quoted values
// across lines, backslash escapes, "%XX" and "%UXXXX" in names, a backslash
// in a name as the group separator, lists at commas, "[General]" as the top
// level). Where it cannot tell (serialized "@..." values), it answers yes,
// so it never calls a value false that the file holds.
class IniOracle
{
public:
    explicit IniOracle(const QByteArray &file);

    // Whether some line of the file gives section/key the text of the decimal
    // number value (blanks around it, a plus sign or leading zeros allowed),
    // or a value this reading cannot decode.
    bool mayHoldInt(const QString &section, const QString &key, int value) const;
    // Whether section/key appears in the file at all.
    bool mentions(const QString &section, const QString &key) const;

private:
    struct Value
    {
        QString text;
        bool list = false;
        bool opaque = false; // "@ByteArray(...)", "@Variant(...)" and the like
    };

    void readLine(const QByteArray &line, qsizetype equalsPos);
    static QString unescapedName(const QByteArray &name);
    static Value unescapedValue(const QByteArray &value);
    static QString normalized(const QString &path);

    QString m_section; // with its trailing '/', empty at the top level
    QHash<QString, std::vector<Value>> m_values;
};
