#pragma once

#include "CScheduleDlg.h"
#include "CTickwellDoc.h"
#include "ManualClock.h"
#include "MemoryProfileStore.h"
#include "MessagePresenter.h"
#include "ScheduleStore.h"
#include "WavFileChooser.h"

#include <QLineEdit>
#include <QTabWidget>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Records each message instead of showing a box; onShow runs while the
// "box" would be up.
class RecordingMessages final : public MessagePresenter
{
public:
    void ShowMessage(const QString &text, Icon icon) override;

    std::vector<QString> texts;
    std::vector<Icon> icons;
    std::function<void()> onShow;
};

// Answers the WAV file chooser at once with the path set here, or as a
// cancel when it is empty.
class AnsweringWavChooser final : public WavFileChooser
{
public:
    std::optional<QString> chooseWavFile() override;

    QString answer;
    int asked = 0;
};

// The real settings dialog on the offscreen platform, over a document filled
// as an empty store loads it, a store in memory and a clock that stands on
// Wednesday 8 April 2026 (day 98) at 12:00.
class SettingsDialogTest : public testing::Test
{
public:
    static void SetUpTestSuite();
    void SetUp() override;
    void TearDown() override;

    // Shows the dialog; the document may be changed before.
    void open();
    // Makes schedule 1 an enabled weekly schedule on Wednesdays, so that its
    // controls can be used and it passes the checks.
    void enableFirst();

    template <typename T> T *control(const char *name) const
    {
        T *widget = m_dialog->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QLineEdit *edit(const char *name) const { return control<QLineEdit>(name); }

    void click(const char *buttonName);
    void clickTab(int index);
    // Replaces the text of an edit by typing.
    void type(const char *editName, const QString &text);
    void chooseRule(int position);
    bool enabled(const char *name) const;
    bool checked(const char *name) const;
    // Whatever the store holds for a key of schedule number, after the last save.
    int storedInt(int number, const char *key);
    QString storedText(int number, const char *key);
    int writesToStore() const { return static_cast<int>(m_store.writes().size()); }

    ManualClock m_clock;
    CTickwellDoc m_doc;
    MemoryProfileStore m_store;
    ScheduleStore m_schedules{m_store};
    RecordingMessages m_messages;
    AnsweringWavChooser m_wavChooser;
    std::unique_ptr<CScheduleDlg> m_dialog;
};
