#include "SettingsProfileStore.h"

#include <QDir>
#include <QSettings>

#include <climits>

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

} // namespace

SettingsProfileStore::SettingsProfileStore() = default;

SettingsProfileStore::SettingsProfileStore(const QString &iniFilePath)
    : m_iniFilePath(iniFilePath)
{
}

SettingsProfileStore::~SettingsProfileStore() = default;

int SettingsProfileStore::GetProfileInt(const QString &section, const QString &key, int defaultValue)
{
    // The INI file gives text and the registry a DWORD. Text is converted
    // here with a range check: QVariant's own conversion to int would cut
    // "4294967297" down to 1 without a word.
    const QVariant value = read(section, key);
    switch (value.typeId()) {
    case QMetaType::QString:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok && number >= INT_MIN && number <= INT_MAX)
            return static_cast<int>(number);
        return defaultValue;
    }
    default:
        return defaultValue;
    }
}

QString SettingsProfileStore::GetProfileString(
    const QString &section, const QString &key, const QString &defaultValue)
{
    const QVariant value = read(section, key);
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        // Typed into the INI file by hand without quotes, "a, b" reads as
        // a list; the person meant the text.
        return value.toStringList().join(QStringLiteral(", "));
    default:
        return defaultValue;
    }
}

bool SettingsProfileStore::WriteProfileInt(const QString &section, const QString &key, int value)
{
    // Kept an int, never widened: QSettings stores an int in the registry as
    // REG_DWORD, a 64-bit value as REG_QWORD.
    return write(section, key, QVariant(value));
}

bool SettingsProfileStore::WriteProfileString(
    const QString &section, const QString &key, const QString &value)
{
    return write(section, key, QVariant(value));
}

void SettingsProfileStore::beginBatch()
{
    m_pending.clear();
    m_inBatch = true;
}

bool SettingsProfileStore::commitBatch()
{
    m_inBatch = false;
    m_reader.reset();
    // status() keeps the first error of an object's life. A damaged old file
    // gives FormatError while it is read, which hides whether the write that
    // follows worked, so a second object tries again: by then the file is
    // either the new clean one or still the damaged one that could not be
    // replaced, and its status answers plainly.
    QSettings::Status status = writeOnce();
    if (status == QSettings::FormatError)
        status = writeOnce();
    m_pending.clear();
    return status == QSettings::NoError;
}

QString SettingsProfileStore::location() const
{
    if (!m_iniFilePath.isEmpty())
        return QDir::toNativeSeparators(m_iniFilePath);
    return QDir::toNativeSeparators(open()->fileName());
}

std::unique_ptr<QSettings> SettingsProfileStore::open() const
{
    std::unique_ptr<QSettings> settings;
    if (m_iniFilePath.isEmpty()) {
        settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
            QStringLiteral("KESTRAVON"), QStringLiteral("Tickwell"));
    } else {
        settings = std::make_unique<QSettings>(m_iniFilePath, QSettings::IniFormat);
    }
    // Never a value from a system-wide file.
    settings->setFallbacksEnabled(false);
    return settings;
}

QVariant SettingsProfileStore::read(const QString &section, const QString &key)
{
    if (!m_reader)
        m_reader = open();
    return m_reader->value(settingsKey(section, key));
}

bool SettingsProfileStore::write(const QString &section, const QString &key, const QVariant &value)
{
    if (m_inBatch) {
        m_pending.emplace_back(settingsKey(section, key), value);
        return true;
    }
    beginBatch();
    m_pending.emplace_back(settingsKey(section, key), value);
    return commitBatch();
}

QSettings::Status SettingsProfileStore::writeOnce() const
{
    const std::unique_ptr<QSettings> settings = open();
    for (const auto &[key, value] : m_pending)
        settings->setValue(key, value);
    settings->sync();
    return settings->status();
}
