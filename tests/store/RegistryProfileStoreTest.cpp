// The store in the Windows registry, under a key of each test's own below
// HKEY_CURRENT_USER (Software\KESTRAVON-tests\...), removed again after it.
#include "CTickwellDoc.h"
#include "ExitSave.h"
#include "ProfileLayout.h"
#include "RegistryProfileStore.h"
#include "ScheduleStore.h"
#include "StoreTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
// The store's own functions carry the names of the old Windows profile
// functions, which windows.h makes macros of.
#undef GetProfileInt
#undef GetProfileString
#undef WriteProfileString

#include <climits>
#include <cstring>
#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace {

std::wstring wide(const QString &text)
{
    return text.toStdWString();
}

class RegistryStore : public ::testing::Test
{
protected:
    void SetUp() override
    {
        static int tests = 0;
        root = QStringLiteral("Software\\KESTRAVON-tests\\%1-%2\\Tickwell")
                   .arg(::GetCurrentProcessId())
                   .arg(++tests);
    }
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, wide(root).c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, wide(root.left(root.lastIndexOf(u'\\'))).c_str());
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\KESTRAVON-tests");
    }

    bool save(const ScheduleTable &table, int thisYear)
    {
        RegistryProfileStore profile(root);
        CTickwellDoc doc;
        doc.THIS_YEAR = thisYear;
        RecordingPresenter messages;
        return ScheduleStore(profile).SaveSchedules(table, doc, messages);
    }

    ScheduleTable load(int *thisYear = nullptr)
    {
        RegistryProfileStore profile(root);
        CTickwellDoc doc;
        CountingLauncher launcher;
        ScheduleStore(profile).LoadSchedules(doc, kToday, launcher);
        if (thisYear)
            *thisYear = doc.THIS_YEAR;
        return doc.schedules;
    }

    // A value as another program (the profile functions, `reg add`) puts it.
    void put(const QString &section, const QString &key, DWORD type, const QByteArray &data,
        DWORD keyOptions = REG_OPTION_NON_VOLATILE)
    {
        HKEY handle = nullptr;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, wide(root + u'\\' + section).c_str(), 0, nullptr,
                      keyOptions, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
        ASSERT_EQ(::RegSetValueExW(handle, wide(key).c_str(), 0, type,
                      reinterpret_cast<const BYTE *>(data.constData()), static_cast<DWORD>(data.size())),
            ERROR_SUCCESS);
        ::RegCloseKey(handle);
    }

    // The subkeys of the root, and the names and types of their values.
    std::map<QString, std::map<QString, DWORD>> layout() const
    {
        std::map<QString, std::map<QString, DWORD>> sections;
        HKEY handle = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(root).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return sections;
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = std::size(name);
            if (::RegEnumKeyExW(handle, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            const QString section = QString::fromWCharArray(name, static_cast<qsizetype>(length));
            auto &values = sections[section];
            HKEY sub = nullptr;
            ::RegOpenKeyExW(handle, name, 0, KEY_READ, &sub);
            for (DWORD j = 0;; ++j) {
                DWORD valueLength = std::size(name);
                DWORD type = 0;
                if (::RegEnumValueW(sub, j, name, &valueLength, nullptr, &type, nullptr, nullptr)
                    != ERROR_SUCCESS)
                    break;
                values[QString::fromWCharArray(name, static_cast<qsizetype>(valueLength))] = type;
            }
            ::RegCloseKey(sub);
        }
        ::RegCloseKey(handle);
        return sections;
    }

    bool exists(const QString &path) const
    {
        HKEY handle = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, wide(path).c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(handle);
        return true;
    }

    QString root;
};

QByteArray dword(quint32 value)
{
    return QByteArray(reinterpret_cast<const char *>(&value), 4);
}

QByteArray utf16(const QString &text, bool terminated = true)
{
    QByteArray bytes(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
    if (terminated)
        bytes.append(2, '\0');
    return bytes;
}

TEST_F(RegistryStore, TheProgramsOwnKey)
{
    EXPECT_EQ(RegistryProfileStore().location(), QStringLiteral("HKEY_CURRENT_USER\\Software\\KESTRAVON\\Tickwell"));
}

TEST_F(RegistryStore, ExtremeNumbersAndTrickyTextsSurvive)
{
    ASSERT_TRUE(save(extremeTable(), INT_MIN));
    int thisYear = 0;
    EXPECT_EQ(load(&thisYear), extremeTable());
    EXPECT_EQ(thisYear, INT_MIN);

    // As the registry holds them: a DWORD in two's complement, UTF-16 text
    // with its terminating zero.
    RegistryProfileStore profile(root);
    const auto year = profile.readRaw(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"));
    ASSERT_TRUE(year);
    EXPECT_EQ(year->type, static_cast<unsigned long>(REG_DWORD));
    EXPECT_EQ(year->data, dword(0x80000000u));
    const auto text = profile.readRaw(QStringLiteral("Schedule1"), QStringLiteral("msg"));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->type, static_cast<unsigned long>(REG_SZ));
    EXPECT_EQ(text->data, utf16(extremeTable()[0].msg));
}

TEST_F(RegistryStore, ASavedStoreHoldsExactlyTheLayoutWithItsTypes)
{
    ASSERT_TRUE(save(generationTable(1), 2024));
    ASSERT_TRUE(save(generationTable(2), 2025));
    std::map<QString, std::map<QString, DWORD>> expected{{"THIS_YEAR", {{"THIS_YEAR", REG_DWORD}}}};
    for (int n = 1; n <= 10; ++n) {
        for (const ScheduleField &field : profileKeys())
            expected[QStringLiteral("Schedule%1").arg(n)][QString::fromLatin1(field.key)]
                = field.intField ? REG_DWORD : REG_SZ;
    }
    EXPECT_EQ(layout(), expected);
    EXPECT_EQ(load(), generationTable(2));
}

struct ForeignValue
{
    const char *name;
    const char *key;
    DWORD type;
    QByteArray data;
    // What a load gives: the number or the text; std::nullopt: the default.
    std::optional<int> number;
    std::optional<QString> text;
};

void PrintTo(const ForeignValue &value, std::ostream *out)
{
    *out << value.name;
}

class ForeignValues : public RegistryStore, public ::testing::WithParamInterface<ForeignValue>
{
};

// Values that another program wrote, as the profile functions or `reg add`
// write them, or as no profile function would.
const ForeignValue kForeignValues[] = {
    {"NegativeDayNumber", "Next_Mon", REG_DWORD, dword(0xFFFFFE92u), -366, {}},
    {"LargestDword", "htime", REG_DWORD, dword(0x7FFFFFFFu), INT_MAX, {}},
    {"JapaneseText", "msg", REG_SZ, utf16(QStringLiteral("会議の準備")), {}, QStringLiteral("会議の準備")},
    {"EmptyTextStaysEmpty", "msg", REG_SZ, utf16(QString()), {}, QString()},
    {"TextWithoutTerminator", "msg", REG_SZ, utf16(QStringLiteral("abc"), false), {}, QStringLiteral("abc")},
    {"TextEndsAtItsFirstZero", "waveFilePath", REG_SZ, utf16(QStringLiteral("a.wav")) + utf16(QStringLiteral("x")),
        {}, QStringLiteral("a.wav")},
    {"ExpandableText", "waveFilePath", REG_EXPAND_SZ, utf16(QStringLiteral("%WINDIR%\\Media\\chimes.wav")), {},
        QStringLiteral("%WINDIR%\\Media\\chimes.wav")},
    {"OddByteOfText", "msg", REG_SZ, utf16(QStringLiteral("ab"), false) + QByteArray(1, 'c'), {},
        QStringLiteral("ab")},
    {"TextForANumber", "kind", REG_SZ, utf16(QStringLiteral("2")), std::nullopt, {}},
    {"QwordForANumber", "kind", REG_QWORD, QByteArray("\x02\0\0\0\0\0\0\0", 8), std::nullopt, {}},
    {"ShortDword", "kind", REG_DWORD, QByteArray("\x02\0", 2), std::nullopt, {}},
    {"BinaryForANumber", "kind", REG_BINARY, dword(2), std::nullopt, {}},
    {"NumberForText", "msg", REG_DWORD, dword(5), {}, std::nullopt},
    {"ListForText", "msg", REG_MULTI_SZ, utf16(QStringLiteral("a")) + utf16(QString()), {}, std::nullopt},
};

TEST_P(ForeignValues, AreReadExactlyOrGiveTheDefault)
{
    const ForeignValue &value = GetParam();
    put(QStringLiteral("Schedule3"), QString::fromLatin1(value.key), value.type, value.data);
    const ScheduleEntry loaded = load()[2];
    const ScheduleEntry defaults = defaultEntry(3, kToday);
    for (const ScheduleField &field : profileKeys()) {
        SCOPED_TRACE(field.key);
        if (std::strcmp(field.key, value.key) != 0) {
            EXPECT_TRUE(field.intField ? loaded.*field.intField == defaults.*field.intField
                                       : loaded.*field.textField == defaults.*field.textField);
        } else if (field.intField) {
            EXPECT_EQ(loaded.*field.intField, value.number.value_or(defaults.*field.intField));
        } else {
            EXPECT_EQ(loaded.*field.textField, value.text.value_or(defaults.*field.textField));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Registry, ForeignValues, ::testing::ValuesIn(kForeignValues),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(RegistryStore, ALoadCreatesNothing)
{
    int thisYear = -1;
    load(&thisYear);
    EXPECT_EQ(thisYear, 0);
    EXPECT_FALSE(exists(root));
}

TEST_F(RegistryStore, AFailedSavePutsBackWhatWasThereAndSaysWhere)
{
    // Below a volatile key only volatile keys can be made: the sections that
    // are there take the writes, the first missing one refuses to be made.
    put(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), REG_DWORD, dword(2023), REG_OPTION_VOLATILE);
    put(QStringLiteral("Schedule1"), QStringLiteral("msg"), REG_SZ, utf16(QStringLiteral("前の")),
        REG_OPTION_VOLATILE);
    const auto before = layout();
    ASSERT_EQ(before.size(), 2u);

    RegistryProfileStore profile(root);
    ScheduleStore store(profile);
    CTickwellDoc doc;
    doc.THIS_YEAR = 2025;
    RecordingPresenter messages;
    EXPECT_FALSE(store.SaveSchedules(generationTable(3), doc, messages));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text, "設定を保存できませんでした。\nHKEY_CURRENT_USER\\" + root);
    EXPECT_EQ(messages.shown[0].icon, MessagePresenter::Icon::Exclamation);
    // Nothing entered is lost while the program runs.
    EXPECT_EQ(doc.schedules, generationTable(3));

    EXPECT_EQ(layout(), before);
    EXPECT_EQ(profile.GetProfileInt(QStringLiteral("THIS_YEAR"), QStringLiteral("THIS_YEAR"), 0), 2023);
    EXPECT_EQ(profile.GetProfileString(QStringLiteral("Schedule1"), QStringLiteral("msg"), {}),
        QStringLiteral("前の"));

    std::ostringstream errors;
    EXPECT_FALSE(ExitSave(
        store, [](auto) {}, &errors)
                     .Run(doc));
    EXPECT_EQ(QString::fromStdString(errors.str()), "設定を保存できませんでした。\nHKEY_CURRENT_USER\\" + root + "\n");
}

TEST_F(RegistryStore, AFailedFirstSaveLeavesNoStore)
{
    // The key's parent is volatile, so the store's own key cannot be made.
    HKEY parent = nullptr;
    const QString parentPath = root.left(root.lastIndexOf(u'\\'));
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, wide(parentPath).c_str(), 0, nullptr, REG_OPTION_VOLATILE,
                  KEY_ALL_ACCESS, nullptr, &parent, nullptr),
        ERROR_SUCCESS);
    ::RegCloseKey(parent);
    EXPECT_FALSE(save(generationTable(1), 2024));
    EXPECT_FALSE(exists(root));
}

} // namespace
