#pragma once

#include <QString>

// The per-user store of named sections holding named integer and text keys.
// Reads give the default for whatever is missing or unreadable. Writes made
// between beginBatch() and commitBatch() reach the store together: either
// all of them or, when the commit fails, none of the batch. A write outside a
// batch is committed on its own.
class ProfileStore
{
public:
    virtual ~ProfileStore() = default;

    virtual int GetProfileInt(const QString &section, const QString &key, int defaultValue) = 0;
    virtual QString GetProfileString(const QString &section, const QString &key, const QString &defaultValue)
        = 0;

    // Inside a batch these only report whether the write was taken; the
    // batch's commit says whether it reached the store.
    virtual bool WriteProfileInt(const QString &section, const QString &key, int value) = 0;
    virtual bool WriteProfileString(const QString &section, const QString &key, const QString &value) = 0;

    virtual void beginBatch() = 0;
    // True when every write since beginBatch() is in the store.
    virtual bool commitBatch() = 0;

    // Where the data is kept, as the user would look for it (a file path or
    // a registry key).
    virtual QString location() const = 0;
};
