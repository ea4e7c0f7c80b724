#pragma once

#include "ProfileStore.h"

#include <QMap>
#include <QVariant>

#include <vector>

// A store held in memory, for tests and the simulator. It keeps every read
// and every committed write in order, and can be told to fail its commits
// as a full disk would.
class MemoryProfileStore final : public ProfileStore
{
public:
    struct Access
    {
        QString section;
        QString key;
        QVariant value; // int or QString; empty for reads

        friend bool operator==(const Access &, const Access &) = default;
    };

    int GetProfileInt(const QString &section, const QString &key, int defaultValue) override;
    QString GetProfileString(
        const QString &section, const QString &key, const QString &defaultValue) override;
    bool WriteProfileInt(const QString &section, const QString &key, int value) override;
    bool WriteProfileString(const QString &section, const QString &key, const QString &value) override;
    void beginBatch() override;
    bool commitBatch() override;
    QString location() const override;

    // Puts a value in place without recording a write; a QVariant of another
    // type stands for a value of the wrong type.
    void put(const QString &section, const QString &key, const QVariant &value);
    bool contains(const QString &section, const QString &key) const;
    // While set, every commit fails and its writes are dropped.
    void setFailing(bool failing);

    const std::vector<Access> &reads() const { return m_reads; }
    // The writes that reached the store, in order.
    const std::vector<Access> &writes() const { return m_writes; }
    void clearRecords();

private:
    bool write(const QString &section, const QString &key, const QVariant &value);

    QMap<QString, QMap<QString, QVariant>> m_sections;
    std::vector<Access> m_reads;
    std::vector<Access> m_writes;
    std::vector<Access> m_pending;
    bool m_inBatch = false;
    bool m_failing = false;
};
