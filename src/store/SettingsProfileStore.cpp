#include "SettingsProfileStore.h"

#include "SerializedValueFilter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <climits>
#include <optional>

namespace {

QString settingsKey(const QString &section, const QString &key)
{
    return section + QLatin1Char('/') + key;
}

// Blanks around an optional sign and decimal digits, nothing else. Qt's own
// conversion stops at a NUL character and takes "2\0\0024" (as a crash of
// the file system can leave it) for 2.
bool isDecimalText(const QString &text)
{
    const QString number = text.trimmed();
    qsizetype i = number.startsWith(u'+') || number.startsWith(u'-') ? 1 : 0;
    if (i == number.size())
        return false;
    for (; i < number.size(); ++i) {
        if (number[i] < u'0' || number[i] > u'9')
            return false;
    }
    return true;
}

// The INI file gives text and the registry a DWORD. Text is converted here
// with a range check: QVariant's own conversion to int would cut
// "4294967297" down to 1 without a word.
std::optional<int> toInt32(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        if (!isDecimalText(value.toString()))
            return std::nullopt;
        [[fallthrough]];
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong: {
        bool ok = false;
        const qlonglong number = value.toLongLong(&ok);
        if (ok && number >= INT_MIN && number <= INT_MAX)
            return static_cast<int>(number);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<QString> toText(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString:
        return value.toString();
    case QMetaType::QStringList:
        // Typed into the INI file by hand without quotes, "a, b" reads as a
        // list; the person meant the text.
        return value.toStringList().join(QStringLiteral(", "));
    default:
        return std::nullopt;
    }
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
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
    return toInt32(read(section, key)).value_or(defaultValue);
}

QString SettingsProfileStore::GetProfileString(
    const QString &section, const QString &key, const QString &defaultValue)
{
    return toText(read(section, key)).value_or(defaultValue);
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
    m_readerCopy.reset();
    m_readerOpened = false;
    const QString path = filePath();
    const std::optional<QByteArray> before = path.isEmpty() ? std::nullopt : readFile(path);

    if (!path.isEmpty())
        removeAbandonedLocks(path);
    if (before && !removeSerializedVariants(path, *before)) {
        m_pending.clear();
        return false;
    }
    bool ok = writeOnce() == QSettings::NoError;

    // The status alone is not enough for a file. It keeps the first error of
    // the object's life, so the FormatError of a damaged old file hides
    // whether the write worked; and QSaveFile in Qt 6.4 does not check the
    // flush of its last buffered block (QTBUG-75077), so on a full disk it
    // can put a cut file in place of the store and call it saved. A file
    // store is therefore read back afresh, and what it holds decides; a cut
    // file gives way to the old one.
    if (!path.isEmpty()) {
        switch (checkFile(path)) {
        case FileCheck::Holds:
            ok = true;
            break;
        case FileCheck::Lacks:
            if (readFile(path) != before)
                restoreFile(path, before);
            ok = false;
            break;
        case FileCheck::Unknown:
            break;
        }
    }
    m_pending.clear();
    return ok;
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
        // The user's own INI file: the native format where this store is
        // the program's own (~/.config/KESTRAVON/Tickwell.conf on Linux).
        settings = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
            QStringLiteral("KESTRAVON"), QStringLiteral("Tickwell"));
    } else {
        settings = std::make_unique<QSettings>(m_iniFilePath, QSettings::IniFormat);
    }
    // Never a value from a system-wide file.
    settings->setFallbacksEnabled(false);
    return settings;
}

QString SettingsProfileStore::filePath() const
{
    if (!m_iniFilePath.isEmpty())
        return m_iniFilePath;
    return open()->fileName();
}

std::unique_ptr<QSettings> SettingsProfileStore::openForReading()
{
    const QString path = filePath();
    const std::optional<QByteArray> bytes = path.isEmpty() ? std::nullopt : readFile(path);
    if (!bytes)
        return open();
    const QByteArray screened = withoutSerializedVariants(*bytes);
    if (screened.size() == bytes->size())
        return open();
    auto copy = std::make_unique<QTemporaryFile>();
    if (!copy->open() || copy->write(screened) != screened.size() || !copy->flush())
        return nullptr;
    copy->close();
    auto settings = std::make_unique<QSettings>(copy->fileName(), QSettings::IniFormat);
    settings->setFallbacksEnabled(false);
    m_readerCopy = std::move(copy);
    return settings;
}

QVariant SettingsProfileStore::read(const QString &section, const QString &key)
{
    if (!m_readerOpened) {
        m_reader = openForReading();
        m_readerOpened = true;
    }
    return m_reader ? m_reader->value(settingsKey(section, key)) : QVariant();
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

SettingsProfileStore::FileCheck SettingsProfileStore::checkFile(const QString &path) const
{
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return FileCheck::Lacks;
    // QSettings in this process remembers the file it wrote; a copy under a
    // new name is parsed from what is really on disk.
    QTemporaryFile copy;
    if (!copy.open() || copy.write(*bytes) != bytes->size() || !copy.flush())
        return FileCheck::Unknown;
    copy.close();
    QSettings written(copy.fileName(), QSettings::IniFormat);
    for (const auto &[key, value] : m_pending) {
        const QVariant stored = written.value(key);
        const bool same = value.typeId() == QMetaType::Int ? toInt32(stored) == value.toInt()
                                                           : toText(stored) == value.toString();
        if (!same)
            return FileCheck::Lacks;
    }
    // Every value is there. A format error is no sign of a bad write: keys
    // that someone added by hand can come back from QSettings in a form it
    // cannot read itself ("\\=" for a key "/"), and would then fail every
    // save for good. A file cut short ends inside a line; QSettings ends
    // every line it writes with a line break.
    return bytes->endsWith('\n') ? FileCheck::Holds : FileCheck::Lacks;
}

void SettingsProfileStore::removeAbandonedLocks(const QString &path)
{
    // A save takes the lock file "<store>.lock" (and, to clear a stale one,
    // "<store>.lock.rmlock") by creating it and then writing its process id
    // into it. A process killed between the two leaves an empty lock that is
    // taken for live until it is 30 seconds old, and the next save would wait
    // that long. Only one Tickwell runs, and a save replaces the whole file
    // in one rename, so an empty lock can only be such a remnant.
    for (const QString &lock : {path + QStringLiteral(".lock"), path + QStringLiteral(".lock.rmlock")}) {
        const QFileInfo info(lock);
        if (info.exists() && info.isFile() && info.size() == 0)
            QFile::remove(lock);
    }
}

bool SettingsProfileStore::removeSerializedVariants(const QString &path, const QByteArray &contents)
{
    const QByteArray screened = withoutSerializedVariants(contents);
    if (screened.size() == contents.size())
        return true;
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(screened) == screened.size() && file.flush()
        && file.commit();
}

void SettingsProfileStore::restoreFile(const QString &path, const std::optional<QByteArray> &before)
{
    if (!before) {
        QFile::remove(path);
        return;
    }
    // Flushed by hand before the commit, for the reason above.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(*before) == before->size() && file.flush())
        file.commit();
}
