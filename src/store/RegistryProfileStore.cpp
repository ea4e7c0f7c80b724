#include "RegistryProfileStore.h"

#include <windows.h>
// The store's own functions carry the names of the old Windows profile
// functions, which windows.h makes macros of.
#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString

#include <climits>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

// An open registry key, closed when it goes.
class Key
{
public:
    Key() = default;
    explicit Key(HKEY handle)
        : m_handle(handle)
    {
    }
    ~Key()
    {
        if (m_handle)
            ::RegCloseKey(m_handle);
    }
    Key(const Key &) = delete;
    Key &operator=(const Key &) = delete;

    HKEY get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HKEY m_handle = nullptr;
};

Key openKey(const QString &path)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(path).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
        return Key();
    return Key(handle);
}

bool keyExists(const QString &path)
{
    return static_cast<bool>(openKey(path));
}

void deleteValue(const QString &path, const QString &name)
{
    HKEY handle = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(path).c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return;
    const Key key(handle);
    ::RegDeleteValueW(key.get(), wide(name).c_str());
}

QByteArray dwordBytes(int value)
{
    // Two's complement, low byte first, as REG_DWORD is.
    const auto bits = static_cast<DWORD>(static_cast<quint32>(value));
    return QByteArray(reinterpret_cast<const char *>(&bits), sizeof bits);
}

QByteArray textBytes(const QString &text)
{
    // UTF-16 with its terminating zero, as REG_SZ is.
    const std::wstring characters = wide(text);
    return QByteArray(reinterpret_cast<const char *>(characters.c_str()),
        static_cast<qsizetype>((characters.size() + 1) * sizeof(wchar_t)));
}

} // namespace

RegistryProfileStore::RegistryProfileStore(const QString &keyPath)
    : m_keyPath(keyPath)
{
}

RegistryProfileStore::~RegistryProfileStore() = default;

std::optional<RegistryProfileStore::RawValue> RegistryProfileStore::readRaw(
    const QString &section, const QString &key) const
{
    const Key handle = openKey(m_keyPath + u'\\' + section);
    if (!handle)
        return std::nullopt;
    const std::wstring name = wide(key);
    // The value may change between the two calls: ask again while it grows.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD type = 0;
        DWORD size = 0;
        LSTATUS status = ::RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        RawValue value;
        value.type = type;
        value.data.resize(static_cast<qsizetype>(size));
        status = ::RegQueryValueExW(handle.get(), name.c_str(), nullptr, &type,
            reinterpret_cast<BYTE *>(value.data.data()), &size);
        if (status == ERROR_MORE_DATA)
            continue;
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        value.type = type;
        value.data.resize(static_cast<qsizetype>(size));
        return value;
    }
    return std::nullopt;
}

int RegistryProfileStore::GetProfileInt(const QString &section, const QString &key, int defaultValue)
{
    const std::optional<RawValue> value = readRaw(section, key);
    if (!value || value->type != REG_DWORD || value->data.size() != sizeof(DWORD))
        return defaultValue;
    DWORD bits = 0;
    std::memcpy(&bits, value->data.constData(), sizeof bits);
    return static_cast<int>(static_cast<qint32>(bits));
}

QString RegistryProfileStore::GetProfileString(
    const QString &section, const QString &key, const QString &defaultValue)
{
    const std::optional<RawValue> value = readRaw(section, key);
    if (!value || (value->type != REG_SZ && value->type != REG_EXPAND_SZ))
        return defaultValue;
    // The text ends at its first zero; another program may have left the
    // terminator out, or an odd byte at the end.
    const auto *characters = reinterpret_cast<const char16_t *>(value->data.constData());
    qsizetype length = value->data.size() / 2;
    for (qsizetype i = 0; i < length; ++i) {
        if (characters[i] == u'\0') {
            length = i;
            break;
        }
    }
    return QString::fromUtf16(characters, length);
}

bool RegistryProfileStore::WriteProfileInt(const QString &section, const QString &key, int value)
{
    const Write write{section, key, RawValue{REG_DWORD, dwordBytes(value)}};
    if (m_inBatch) {
        m_pending.push_back(write);
        return true;
    }
    return writeNow(write);
}

bool RegistryProfileStore::WriteProfileString(
    const QString &section, const QString &key, const QString &value)
{
    const Write write{section, key, RawValue{REG_SZ, textBytes(value)}};
    if (m_inBatch) {
        m_pending.push_back(write);
        return true;
    }
    return writeNow(write);
}

bool RegistryProfileStore::writeNow(const Write &write)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, wide(m_keyPath + u'\\' + write.section).c_str(), 0, nullptr,
            REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &handle, nullptr)
        != ERROR_SUCCESS)
        return false;
    const Key section(handle);
    return ::RegSetValueExW(section.get(), wide(write.key).c_str(), 0, write.value.type,
               reinterpret_cast<const BYTE *>(write.value.data.constData()),
               static_cast<DWORD>(write.value.data.size()))
        == ERROR_SUCCESS;
}

void RegistryProfileStore::beginBatch()
{
    m_pending.clear();
    m_inBatch = true;
}

bool RegistryProfileStore::commitBatch()
{
    m_inBatch = false;
    std::vector<Write> pending;
    pending.swap(m_pending);

    // What each value and section was before the batch touched it, to put
    // back should a write fail.
    const bool rootExisted = keyExists(m_keyPath);
    std::map<std::pair<QString, QString>, std::optional<RawValue>> before;
    std::set<QString> newSections;
    std::vector<std::pair<QString, QString>> written;
    bool ok = true;
    for (const Write &write : pending) {
        const auto name = std::make_pair(write.section, write.key);
        if (!before.count(name)) {
            if (!keyExists(m_keyPath + u'\\' + write.section))
                newSections.insert(write.section);
            before.emplace(name, readRaw(write.section, write.key));
        }
        if (!writeNow(write)) {
            ok = false;
            break;
        }
        written.push_back(name);
    }
    if (ok)
        return true;

    if (!rootExisted) {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, wide(m_keyPath).c_str());
        return false;
    }
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
        const auto &[section, key] = *it;
        if (newSections.count(section))
            continue;
        const std::optional<RawValue> &old = before.at(*it);
        if (old)
            writeNow(Write{section, key, *old});
        else
            deleteValue(m_keyPath + u'\\' + section, key);
    }
    for (const QString &section : newSections)
        ::RegDeleteTreeW(HKEY_CURRENT_USER, wide(m_keyPath + u'\\' + section).c_str());
    return false;
}

QString RegistryProfileStore::location() const
{
    return QStringLiteral("HKEY_CURRENT_USER\\") + m_keyPath;
}
