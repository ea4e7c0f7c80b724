#include "AppDesktopFixture.h"

#include "ScheduleStore.h"
#include "SettingsProfileStore.h"

#include <QDate>
#include <QDir>
#include <QGuiApplication>

void AppDesktopTest::SetUp()
{
    ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb")) << "run under tests/desktop-session";
    ASSERT_TRUE(home.config.isValid() && home.runtime.isValid());
    // Nothing of an earlier test may still be on screen.
    ASSERT_TRUE(waitUntil([] { return DesktopProbe::programWindows().empty(); }, 5000));
}

void AppDesktopTest::TearDown()
{
    for (const auto &copy : copies) {
        copy->signal(SIGTERM);
        copy->waitForExit(5000);
    }
}

void AppDesktopTest::writeStore(const CTickwellDoc &doc)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storePath()).path()));
    SettingsProfileStore profile(home.storePath());
    ScheduleStore store(profile);
    CTickwellDoc copy;
    copy.THIS_YEAR = doc.THIS_YEAR;
    ASSERT_TRUE(store.StoreTable(doc.schedules, copy));
}

void AppDesktopTest::writeYearOnly(int year)
{
    ASSERT_TRUE(QDir().mkpath(QFileInfo(home.storePath()).path()));
    QSettings settings(home.storePath(), QSettings::IniFormat);
    settings.setValue(QStringLiteral("THIS_YEAR/THIS_YEAR"), year);
    settings.sync();
    ASSERT_EQ(settings.status(), QSettings::NoError);
}

std::unique_ptr<QSettings> AppDesktopTest::readStore() const
{
    return std::make_unique<QSettings>(home.storePath(), QSettings::IniFormat);
}

std::pair<int, int> AppDesktopTest::scheduleSectionsAndKeys() const
{
    const auto settings = readStore();
    int sections = 0;
    int keys = 0;
    for (const QString &group : settings->childGroups()) {
        if (!group.startsWith(QStringLiteral("Schedule")))
            continue;
        ++sections;
        settings->beginGroup(group);
        keys += static_cast<int>(settings->childKeys().size());
        settings->endGroup();
    }
    return {sections, keys};
}

TickwellProcess &AppDesktopTest::startCopy()
{
    copies.push_back(std::make_unique<TickwellProcess>(home));
    EXPECT_TRUE(copies.back()->start());
    return *copies.back();
}

TickwellProcess &AppDesktopTest::startRunning()
{
    TickwellProcess &copy = startCopy();
    icon = waitForTrayIcon();
    EXPECT_TRUE(icon.has_value()) << "no tray icon; " << copy.errorOutput().toStdString();
    return copy;
}

int AppDesktopTest::currentYear()
{
    return QDate::currentDate().year();
}
