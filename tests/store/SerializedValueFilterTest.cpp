#include "SerializedValueFilter.h"
#include "CTickwellDoc.h"
#include "ScheduleStore.h"
#include "SettingsProfileStore.h"
#include "StoreTestSupport.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A QPen serialized by QDataStream, as the fuzzer wrote it: in a process
// with Qt GUI loaded, reading it asks for some 15 GB.
const QByteArray kGreedyPen = "@Variant(\\0\\0\\0\\xad=@ByteA\x1ahtimetime=@Size(1=@Inva2\\0\\0\\0\\x5)";

TEST(SerializedValueFilter, RemovesTheLinesThatWouldReadAsASerializedValueAndNothingElse)
{
    const struct
    {
        const char *name;
        QByteArray file;
        QByteArray expected;
    } rows[] = {
        {"plain", "[S]\na=1\nb=" + kGreedyPen + "\nc=3\n", "[S]\na=1\n\nc=3\n"},
        {"escaped at", "b=\\x40Variant(\\0)\nc=3", "\nc=3"},
        {"octal at after blanks", "b= \t\\100Variant()\nc=3", "\nc=3"},
        {"hex escape wrapping at 16 bits", "b=\\x10040Variant()\n", "\n"},
        {"letters escaped", "b=@V\\x61riant()\n", "\n"},
        {"quoted", "b=\"@Variant(\"\\0)\n", "\n"},
        {"one item of a list", "b=x, @Variant(\\0)\nc=3\n", "\nc=3\n"},
        {"after a byte order mark",
            "\xef\xbb\xbf"
            "b=@Variant()\nc=3",
            "\xef\xbb\xbf\nc=3"},
        {"a quote spanning lines", "b=\"@Variant(\n[T]\nx=1\"\nc=3\n", "\nc=3\n"},
        {"up to a comment", "b=@Variant(\\0);note\nc=3\n", ";note\nc=3\n"},
        {"a text that starts with @", "msg=@@Variant(x)\nmail=bob@example.com\nv=Variant()\n",
            "msg=@@Variant(x)\nmail=bob@example.com\nv=Variant()\n"},
        {"in a section name or a key", "[@Variant()]\n@Variant(=1\n", "[@Variant()]\n@Variant(=1\n"},
        {"inside a comment", ";b=@Variant()\nc=3\n", ";b=@Variant()\nc=3\n"},
        {"after an escaped line break", "a=1\\\nb=@Variant()\nc=3\n", "a=1\\\nb=@Variant()\nc=3\n"},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(withoutSerializedVariants(row.file), row.expected);
    }
}

// The load reads every other key, and the next save keeps the keys added by
// hand but not the serialized value; neither crashes.
TEST(SerializedValueFilter, AStoreHoldingOneLoadsAndSavesWithoutIt)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Tickwell.conf");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[THIS_YEAR]\nTHIS_YEAR=2024\n[Schedule1]\nvalid=" + kGreedyPen + "\nkind=1\nmsg=" + kGreedyPen
        + "\n[Extra]\nnote=by hand\nrect=@Rect(1 2 3 4)\n");
    file.close();

    CTickwellDoc doc;
    CountingLauncher launcher;
    {
        SettingsProfileStore profile(path);
        ScheduleStore(profile).LoadSchedules(doc, kToday, launcher);
    }
    EXPECT_EQ(doc.THIS_YEAR, 2024);
    EXPECT_EQ(doc.schedules[0].valid, 0);
    EXPECT_EQ(doc.schedules[0].kind, 1);
    EXPECT_EQ(doc.schedules[0].msg, QStringLiteral("スケジュール1"));

    doc.schedules[0].valid = 1;
    {
        SettingsProfileStore profile(path);
        ScheduleTable table = doc.schedules;
        ASSERT_TRUE(ScheduleStore(profile).StoreTable(table, doc));
    }
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_FALSE(saved.contains("Variant")) << saved.constData();
    const QSettings reread(path, QSettings::IniFormat);
    EXPECT_EQ(reread.value("Extra/note").toString(), QStringLiteral("by hand"));
    EXPECT_EQ(reread.value("Schedule1/valid").toString(), QStringLiteral("1"));
}

} // namespace
