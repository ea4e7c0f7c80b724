#include "MemoryProfileStore.h"

int MemoryProfileStore::GetProfileInt(const QString &section, const QString &key, int defaultValue)
{
    m_reads.push_back({section, key, {}});
    const QVariant value = m_sections.value(section).value(key);
    return value.typeId() == QMetaType::Int ? value.toInt() : defaultValue;
}

QString MemoryProfileStore::GetProfileString(
    const QString &section, const QString &key, const QString &defaultValue)
{
    m_reads.push_back({section, key, {}});
    const QVariant value = m_sections.value(section).value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : defaultValue;
}

bool MemoryProfileStore::WriteProfileInt(const QString &section, const QString &key, int value)
{
    return write(section, key, value);
}

bool MemoryProfileStore::WriteProfileString(const QString &section, const QString &key, const QString &value)
{
    return write(section, key, value);
}

void MemoryProfileStore::beginBatch()
{
    m_pending.clear();
    m_inBatch = true;
}

bool MemoryProfileStore::commitBatch()
{
    m_inBatch = false;
    std::vector<Access> batch;
    batch.swap(m_pending);
    if (m_failing)
        return false;
    for (const Access &access : batch) {
        m_sections[access.section][access.key] = access.value;
        m_writes.push_back(access);
    }
    return true;
}

QString MemoryProfileStore::location() const
{
    return QStringLiteral("(memory)");
}

void MemoryProfileStore::put(const QString &section, const QString &key, const QVariant &value)
{
    m_sections[section][key] = value;
}

bool MemoryProfileStore::contains(const QString &section, const QString &key) const
{
    return m_sections.value(section).contains(key);
}

void MemoryProfileStore::setFailing(bool failing)
{
    m_failing = failing;
}

void MemoryProfileStore::clearRecords()
{
    m_reads.clear();
    m_writes.clear();
}

bool MemoryProfileStore::write(const QString &section, const QString &key, const QVariant &value)
{
    if (m_inBatch) {
        m_pending.push_back({section, key, value});
        return true;
    }
    beginBatch();
    m_pending.push_back({section, key, value});
    return commitBatch();
}
