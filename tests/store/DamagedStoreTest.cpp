#include "CTickwellDoc.h"
#include "ProfileLayout.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"
#include "StoreTestSupport.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <climits>
#include <functional>

namespace {

ScheduleTable defaults()
{
    ScheduleTable table;
    for (int i = 0; i < ScheduleTable::kSize; ++i)
        table[i] = defaultEntry(i + 1, kToday);
    return table;
}

ScheduleTable loadBytes(const QByteArray &bytes, int *thisYear = nullptr)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tickwell.conf");
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    return loadStoreFile(path, thisYear);
}

QByteArray randomBytes(qsizetype size)
{
    QRandomGenerator random(20240229);
    QByteArray bytes(size, '\0');
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

struct DamagedFile
{
    const char *name;
    QByteArray bytes;
    std::function<void(ScheduleTable &)> expectedChanges; // on top of the defaults
};

TEST(DamagedStore, LoadsWithoutCrashGivingEachUnreadableKeyItsDefault)
{
    const QString longMessage = QStringLiteral("長").repeated(1 << 20);
    const DamagedFile files[] = {
        {"random bytes", randomBytes(64 * 1024), [](ScheduleTable &) {}},
        {"random bytes after a section", "[Schedule1]\n" + randomBytes(4096), [](ScheduleTable &) {}},
        {"empty", "", [](ScheduleTable &) {}},
        {"numbers that are no 32-bit integers",
            "[Schedule1]\nvalid=yes\nkind=4294967297\nhtime=99999999999999999999\nmtime=1.5\nSun=\n"
            "Mon=0x10\nTUE=-2147483649\nWED=2147483647\nTHU=-2147483648\nFRI=\"7\"\nSAT=@Variant(\\0)\n"
            "Next_Sun=1, 2\nsound= 2 \n",
            [](ScheduleTable &t) {
                t[0].WED = INT_MAX;
                t[0].THU = INT_MIN;
                t[0].FRI = 7;
                t[0].sound = 2;
            }},
        {"a text where a number belongs and the other way round",
            "[Schedule2]\nvalid=\"1\"\nmsg=12\nwaveFilePath=@Rect(1 2 3 4)\n",
            [](ScheduleTable &t) {
                t[1].valid = 1;
                t[1].msg = "12";
            }},
        {"a 1 MB message", "[Schedule3]\nmsg=" + longMessage.toUtf8() + "\nvalid=1\n",
            [&](ScheduleTable &t) {
                t[2].msg = longMessage;
                t[2].valid = 1;
            }},
        {"invalid UTF-8 in a text and a key",
            "[Schedule4]\nmsg=ab\xff\xfe"
            "cd\nwaveFilePath=\xc3.wav\nv\xe2lid=1\nkind=2\n",
            [](ScheduleTable &t) {
                t[3].msg = QString("ab") + QChar(0xfffd) + QChar(0xfffd) + "cd";
                t[3].waveFilePath = QChar(0xfffd) + QString(".wav");
                t[3].kind = 2;
            }},
        {"NUL bytes inside numbers, as a crash of the file system can leave them",
            QByteArrayLiteral("[Schedule7]\nvalid=1\0\0\0\nkind=2\0\0"
                              "024\nhtime=\0"
                              "5\n"),
            [](ScheduleTable &) {}},
        {"a list typed by hand", "[Schedule5]\nmsg=会議, 資料\n",
            [](ScheduleTable &t) { t[4].msg = "会議, 資料"; }},
        {"an unclosed quote swallows the rest of the file",
            "[Schedule6]\nmsg=\"open\nvalid=1\n[THIS_YEAR]\nTHIS_YEAR=2024\n",
            [](ScheduleTable &t) { t[5].msg = "open\nvalid=1\n[THIS_YEAR]\nTHIS_YEAR=2024\n"; }},
    };
    for (const DamagedFile &file : files) {
        SCOPED_TRACE(file.name);
        ScheduleTable expected = defaults();
        file.expectedChanges(expected);
        int thisYear = -1;
        const ScheduleTable loaded = loadBytes(file.bytes, &thisYear);
        for (int i = 0; i < ScheduleTable::kSize; ++i)
            EXPECT_EQ(loaded[i], expected[i]) << "Schedule" << i + 1;
        EXPECT_EQ(thisYear, 0);
    }
}

// Copies one stored value, named as in the file, from one table to another.
void copyKey(const QString &section, const QString &key, const ScheduleTable &from, int fromYear,
    ScheduleTable &to, int &toYear)
{
    if (section == "THIS_YEAR") {
        toYear = fromYear;
        return;
    }
    for (int i = 0; i < ScheduleTable::kSize; ++i) {
        for (const ScheduleField &field : profileKeys()) {
            if (section != sectionName(i) || key != field.key)
                continue;
            if (field.intField)
                to[i].*field.intField = from[i].*field.intField;
            else
                to[i].*field.textField = from[i].*field.textField;
        }
    }
}

// A file cut short keeps the keys of its whole lines; every key after the cut
// gets its default.
TEST(DamagedStore, ATruncatedFileKeepsItsWholeLines)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tickwell.conf");
    const ScheduleTable saved = generationTable(9);
    {
        SettingsProfileStore profile(path);
        CTickwellDoc doc;
        doc.THIS_YEAR = 2024;
        ASSERT_TRUE(ScheduleStore(profile).StoreTable(saved, doc));
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (qsizetype kept = 0; kept < lines.size(); kept += 7) {
        SCOPED_TRACE(kept);
        // The whole lines, then half of the next one.
        const QByteArray cut
            = lines.mid(0, kept).join('\n') + '\n' + lines[kept].left(lines[kept].size() / 2);
        int loadedYear = -1;
        const ScheduleTable loaded = loadBytes(cut, &loadedYear);

        ScheduleTable expected = defaults();
        int expectedYear = 0;
        QString section;
        for (qsizetype i = 0; i <= kept; ++i) {
            // QSettings ends its lines with CR LF on Windows.
            QString line = QString::fromUtf8(lines[i]);
            if (line.endsWith('\r'))
                line.chop(1);
            if (line.startsWith('[')) {
                section = line.mid(1, line.size() - 2);
            } else if (line.contains('=')) {
                const QString key = line.left(line.indexOf('='));
                if (i < kept)
                    copyKey(section, key, saved, 2024, expected, expectedYear);
                else // whatever the half line gives
                    copyKey(section, key, loaded, loadedYear, expected, expectedYear);
            }
        }
        EXPECT_EQ(loaded, expected);
        EXPECT_EQ(loadedYear, expectedYear);
    }
}

} // namespace
