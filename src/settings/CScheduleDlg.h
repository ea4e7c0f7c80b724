#pragma once

#include "DialogTemplateBuilder.h"
#include "ScheduleForm.h"
#include "ScheduleTable.h"

#include <QDialog>

class Clock;
class CTickwellDoc;
class MessagePresenter;
class QCalendarWidget;
class QComboBox;
class QPushButton;
class QTabWidget;
class ScheduleStore;
class UpDownControl;
class WavFileChooser;

// The settings dialog: ten tabs over one page of controls, editing a working
// copy of the document's table one schedule at a time. Leaving a tab, OK and
// Apply take the schedule on show over and check it (the decisions are the
// form logic's); OK and Apply save the working table through the store, and
// cancel drops it. The dialog fills itself from the document when it is first
// shown, so it always opens on schedule 1.
class CScheduleDlg final : public QDialog, private ScheduleForm
{
    Q_OBJECT

public:
    CScheduleDlg(CTickwellDoc &doc, ScheduleStore &store, const Clock &clock, MessagePresenter &messages,
        WavFileChooser &wavChooser, QWidget *parent = nullptr);

    // The working table: what OK or Apply would save.
    const ScheduleTable &workingTable() const { return m_table; }

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool OnInitDialog();
    // Moves the exchange values between the members and the controls; towards
    // the members it stops at the first integer edit that does not read and
    // returns false.
    bool UpdateData(bool saveAndValidate);
    bool DoDataExchange(bool saveAndValidate);
    bool PreTranslateMessage(QEvent *event);

    void ShowEntry();
    void ShowKindControls();
    void ClampOnceDate();
    void EnableEntryControls();
    void RefreshValidState();
    void OnCalendarSelChange();
    void OnWavRadio();
    void OnNoWavRadio();
    void OnSelectWav();
    void OnTabSelChange();
    int StoreEntry();
    int ValidateEntry();
    void DisableEntry();
    void OnOK();
    void OnApply();
    void OnCancel();

    void connectControls();
    bool readInteger(int id, int &member);
    int readCheck(int id) const;
    void writeCheck(int id, int value);
    void selectCalendarDate(int year, int month, int day);
    const ScheduleForm &readControls();
    void SaveSchedules();
    void showMessage(const QString &text);

    CTickwellDoc *m_pDoc;
    ScheduleStore &m_store;
    const Clock &m_clock;
    MessagePresenter &m_messages;
    WavFileChooser &m_wavChooser;

    ScheduleTable m_table;
    int m_current = 0;
    bool m_initialised = false;

    TemplateControls m_controls;
    QPushButton *m_selectWavButton;
    QCalendarWidget *m_calendar;
    UpDownControl *m_hourSpin;
    UpDownControl *m_minuteSpin;
    QTabWidget *m_tabs;
    QComboBox *m_kindCombo;
};
