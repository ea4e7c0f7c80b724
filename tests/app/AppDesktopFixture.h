#pragma once

#include "CTickwellDoc.h"
#include "TickwellProcess.h"

#include <QSettings>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <optional>
#include <vector>

// Each test gets its own user: a store and a runtime folder of its own.
class AppDesktopTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // A store as a save leaves it: THIS_YEAR and the ten schedules.
    void writeStore(const CTickwellDoc &doc);
    // A store that was saved once but holds no schedule sections: every
    // schedule section in the file afterwards comes from a save.
    void writeYearOnly(int year);
    // What the store holds now.
    std::unique_ptr<QSettings> readStore() const;
    // The number of schedule sections and of their keys in the store.
    std::pair<int, int> scheduleSectionsAndKeys() const;

    // Starts a copy and waits for its tray icon.
    TickwellProcess &startRunning();
    TickwellProcess &startCopy();

    static int currentYear();

    TickwellProcess::Home home;
    std::vector<std::unique_ptr<TickwellProcess>> copies;
    std::optional<DesktopProbe::Window> icon;
};
