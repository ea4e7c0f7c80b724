#pragma once

#include "ProfileStore.h"

#include <QString>

#include <optional>
#include <vector>

// The store in the Windows registry under HKEY_CURRENT_USER: by default the
// program's key Software\KESTRAVON\Tickwell, a subkey per section and a value
// per key. Integers are REG_DWORD values (the signed 32-bit number in two's
// complement), text is REG_SZ, written and read with the Unicode calls.
//
// Reading never creates or changes anything. A value of another type than
// its key's (text for a number, a number for text, a DWORD of another
// length) gives the default.
//
// A batch is written value by value when it is committed. A value is never
// half-written, and when one of them fails the batch's values already
// written are put back as they were (values and sections that did not exist
// are removed again), so a failed save leaves the previous store, as the file
// store does.
class RegistryProfileStore final : public ProfileStore
{
public:
    static constexpr const wchar_t *kUserKey = L"Software\\KESTRAVON\\Tickwell";

    // keyPath: below HKEY_CURRENT_USER.
    explicit RegistryProfileStore(const QString &keyPath = QString::fromWCharArray(kUserKey));
    ~RegistryProfileStore() override;

    RegistryProfileStore(const RegistryProfileStore &) = delete;
    RegistryProfileStore &operator=(const RegistryProfileStore &) = delete;

    int GetProfileInt(const QString &section, const QString &key, int defaultValue) override;
    QString GetProfileString(
        const QString &section, const QString &key, const QString &defaultValue) override;
    bool WriteProfileInt(const QString &section, const QString &key, int value) override;
    bool WriteProfileString(const QString &section, const QString &key, const QString &value) override;
    void beginBatch() override;
    bool commitBatch() override;
    // HKEY_CURRENT_USER\<key path>
    QString location() const override;

    // The value as it is in the registry: its type (REG_DWORD, REG_SZ, ...)
    // and its bytes; nothing when the value or its section is missing.
    struct RawValue
    {
        unsigned long type = 0;
        QByteArray data;
    };
    std::optional<RawValue> readRaw(const QString &section, const QString &key) const;

private:
    struct Write
    {
        QString section;
        QString key;
        RawValue value;
    };
    bool writeNow(const Write &write);

    QString m_keyPath;
    std::vector<Write> m_pending;
    bool m_inBatch = false;
};
