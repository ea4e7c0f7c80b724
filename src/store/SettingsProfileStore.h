#pragma once

#include "ProfileStore.h"

#include <QSettings>
#include <QTemporaryFile>
#include <QVariant>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

// The store kept by QSettings in an INI file. By default it is the user's
// store of the program, KESTRAVON/Tickwell.conf in the user's XDG config
// folder; given a file path, it keeps the same layout in that file instead
// (tests, the simulator). On Windows the program's own store is the registry
// (RegistryProfileStore), and this one is only used with a file path.
//
// A batch is written through one fresh QSettings object and one sync(), which
// replaces the file atomically (a lock file and a save-to-temporary-and-rename),
// so a save interrupted at any point leaves the previous file whole. A save
// that did not reach the file whole is reported and the old file kept.
class SettingsProfileStore final : public ProfileStore
{
public:
    SettingsProfileStore();
    explicit SettingsProfileStore(const QString &iniFilePath);
    ~SettingsProfileStore() override;

    SettingsProfileStore(const SettingsProfileStore &) = delete;
    SettingsProfileStore &operator=(const SettingsProfileStore &) = delete;

    int GetProfileInt(const QString &section, const QString &key, int defaultValue) override;
    QString GetProfileString(
        const QString &section, const QString &key, const QString &defaultValue) override;
    bool WriteProfileInt(const QString &section, const QString &key, int value) override;
    bool WriteProfileString(const QString &section, const QString &key, const QString &value) override;
    void beginBatch() override;
    bool commitBatch() override;
    QString location() const override;

private:
    std::unique_ptr<QSettings> open() const;
    // QSettings on the store itself or, when the file holds serialized values
    // (SerializedValueFilter.h), on a copy without them; nullptr when no such
    // copy could be made, and then nothing is read.
    std::unique_ptr<QSettings> openForReading();
    QString filePath() const; // empty for the registry
    QVariant read(const QString &section, const QString &key);
    bool write(const QString &section, const QString &key, const QVariant &value);
    QSettings::Status writeOnce() const;
    enum class FileCheck { Holds, Lacks, Unknown };
    // Whether the file on disk holds every pending write.
    FileCheck checkFile(const QString &path) const;
    static void removeAbandonedLocks(const QString &path);
    // QSettings merges a save into what the file holds, so a file with
    // serialized values first gives way to a copy without them. False when
    // that copy could not be put in place.
    static bool removeSerializedVariants(const QString &path, const QByteArray &contents);
    static void restoreFile(const QString &path, const std::optional<QByteArray> &before);

    QString m_iniFilePath;                        // empty: the native store
    std::unique_ptr<QTemporaryFile> m_readerCopy; // outlives m_reader
    std::unique_ptr<QSettings> m_reader;
    bool m_readerOpened = false;
    std::vector<std::pair<QString, QVariant>> m_pending;
    bool m_inBatch = false;
};
