#include "CScheduleDlg.h"

#include "CTickwellDoc.h"
#include "Clock.h"
#include "DecimalIntegerReading.h"
#include "EnabledSummary.h"
#include "EntryTakeOver.h"
#include "EntryValidator.h"
#include "MessagePresenter.h"
#include "OnceDateRules.h"
#include "ScheduleDialogTemplate.h"
#include "ScheduleStore.h"
#include "SettingsMessages.h"
#include "UpDownControl.h"
#include "WavFileChooser.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>

#include <array>

namespace Id = ScheduleDialogIds;

namespace {

// The controls of each rule page.
constexpr std::array kWeeklyPage{Id::Sun, Id::Mon, Id::Tue, Id::Wed, Id::Thu, Id::Fri, Id::Sat};
constexpr std::array kMonthlyPage{Id::EveryMonth, Id::DayOfMonth, Id::DayNote, Id::ShortMonthNote};

// The controls that follow the enable check box, in the order they are set.
constexpr std::array kEntryControls{Id::BeepRadio, Id::WavRadio, Id::NoSoundRadio, Id::WavPath,
    Id::AfterAction, Id::Sun, Id::Mon, Id::Tue, Id::Wed, Id::Thu, Id::Fri, Id::Sat, Id::DayOfMonth,
    Id::EveryMonth, Id::DayNote, Id::ShortMonthNote, Id::Message, Id::Calendar, Id::Kind, Id::Hour,
    Id::Minute};

constexpr const char *kRules[] = {"曜日指定設定", "月間設定", "１回のみ設定"};

} // namespace

CScheduleDlg::CScheduleDlg(CTickwellDoc &doc, ScheduleStore &store, const Clock &clock,
    MessagePresenter &messages, WavFileChooser &wavChooser, QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_pDoc(&doc)
    , m_store(store)
    , m_clock(clock)
    , m_messages(messages)
    , m_wavChooser(wavChooser)
    , m_controls(buildFromTemplate(*this, scheduleDialogTemplate()))
    , m_selectWavButton(m_controls.get<QPushButton>(Id::SelectWav))
    , m_calendar(m_controls.get<QCalendarWidget>(Id::Calendar))
    , m_hourSpin(m_controls.get<UpDownControl>(Id::HourSpin))
    , m_minuteSpin(m_controls.get<UpDownControl>(Id::MinuteSpin))
    , m_tabs(m_controls.get<QTabWidget>(Id::Tabs))
    , m_kindCombo(m_controls.get<QComboBox>(Id::Kind))
{
    setObjectName(QStringLiteral("scheduleDialog"));
    setModal(true);
    connectControls();
    // Enter and Esc are caught wherever the focus is.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void CScheduleDlg::connectControls()
{
    connect(m_tabs, &QTabWidget::currentChanged, this, &CScheduleDlg::OnTabSelChange);
    connect(m_kindCombo, &QComboBox::activated, this, &CScheduleDlg::ShowKindControls);
    connect(
        m_controls.get<QCheckBox>(Id::Valid), &QCheckBox::clicked, this, &CScheduleDlg::RefreshValidState);
    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &CScheduleDlg::OnCalendarSelChange);
    connect(m_selectWavButton, &QPushButton::clicked, this, &CScheduleDlg::OnSelectWav);
    connect(
        m_controls.get<QRadioButton>(Id::WavRadio), &QRadioButton::clicked, this, &CScheduleDlg::OnWavRadio);
    connect(m_controls.get<QRadioButton>(Id::NoSoundRadio), &QRadioButton::clicked, this,
        &CScheduleDlg::OnNoWavRadio);
    connect(m_controls.get<QRadioButton>(Id::BeepRadio), &QRadioButton::clicked, this,
        &CScheduleDlg::OnNoWavRadio);
    connect(m_controls.get<QPushButton>(Id::Apply), &QPushButton::clicked, this, &CScheduleDlg::OnApply);
    connect(m_controls.get<QPushButton>(Id::Ok), &QPushButton::clicked, this, &CScheduleDlg::OnOK);
    connect(m_controls.get<QPushButton>(Id::Cancel), &QPushButton::clicked, this, &CScheduleDlg::reject);
}

void CScheduleDlg::showEvent(QShowEvent *event)
{
    if (!m_initialised) {
        m_initialised = true;
        OnInitDialog();
    }
    QDialog::showEvent(event);
}

bool CScheduleDlg::eventFilter(QObject *watched, QEvent *event)
{
    return PreTranslateMessage(event) || QDialog::eventFilter(watched, event);
}

bool CScheduleDlg::PreTranslateMessage(QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

bool CScheduleDlg::OnInitDialog()
{
    UpdateData(false);
    ScheduleStore::LoadFromDocument(m_table, *m_pDoc);
    {
        // Filling and selecting the tabs is not the user changing tabs.
        const QSignalBlocker quiet(m_tabs);
        for (int number = ScheduleTable::kSize; number >= 1; --number)
            m_tabs->insertTab(0, new QWidget, QString::number(number));
        m_tabs->setCurrentIndex(0);
    }
    for (const char *rule : kRules)
        m_kindCombo->addItem(QString::fromUtf8(rule));
    m_hourSpin->setRange(0, 23);
    m_minuteSpin->setRange(0, 59);
    // The three pages share one area. Until a rule is chosen the weekly page
    // stands there alone, so a first schedule without a rule (a kind the
    // list does not have) does not show all three on top of each other.
    for (int id : kMonthlyPage)
        m_controls.get<QWidget>(id)->hide();
    m_calendar->hide();
    ShowEntry();
    RefreshValidState();
    return true;
}

bool CScheduleDlg::UpdateData(bool saveAndValidate)
{
    return DoDataExchange(saveAndValidate);
}

bool CScheduleDlg::DoDataExchange(bool saveAndValidate)
{
    auto *message = m_controls.get<QLineEdit>(Id::Message);
    constexpr std::array weekdays{Id::Sun, Id::Mon, Id::Tue, Id::Wed, Id::Thu, Id::Fri, Id::Sat};
    const std::array<int *, 7> weekdayMembers{&m_sun, &m_mon, &m_tue, &m_wed, &m_thu, &m_fri, &m_sat};
    if (!saveAndValidate) {
        message->setText(m_msg);
        writeCheck(Id::Valid, m_valid);
        for (std::size_t i = 0; i < weekdays.size(); ++i)
            writeCheck(weekdays[i], *weekdayMembers[i]);
        m_controls.get<QLineEdit>(Id::Hour)->setText(QString::number(m_hour));
        m_controls.get<QLineEdit>(Id::Minute)->setText(QString::number(m_minute));
        writeCheck(Id::AfterAction, m_afterAction);
        m_controls.get<QLineEdit>(Id::DayOfMonth)->setText(QString::number(m_dayOfMonth));
        return true;
    }
    m_msg = message->text();
    m_valid = readCheck(Id::Valid);
    for (std::size_t i = 0; i < weekdays.size(); ++i)
        *weekdayMembers[i] = readCheck(weekdays[i]);
    if (!readInteger(Id::Hour, m_hour) || !readInteger(Id::Minute, m_minute))
        return false;
    m_afterAction = readCheck(Id::AfterAction);
    return readInteger(Id::DayOfMonth, m_dayOfMonth);
}

bool CScheduleDlg::readInteger(int id, int &member)
{
    auto *edit = m_controls.get<QLineEdit>(id);
    if (const std::optional<int> value = ReadDecimalInteger(edit->text())) {
        member = *value;
        return true;
    }
    showMessage(QString::fromUtf8(SettingsMessages::kNotAnInteger));
    edit->setFocus();
    edit->selectAll();
    return false;
}

int CScheduleDlg::readCheck(int id) const
{
    switch (m_controls.get<QCheckBox>(id)->checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    case Qt::Unchecked:
        break;
    }
    return 0;
}

void CScheduleDlg::writeCheck(int id, int value)
{
    auto *box = m_controls.get<QCheckBox>(id);
    if (value < 0 || value > 2)
        value = 0;
    box->setTristate(value == 2);
    box->setCheckState(value == 2 ? Qt::PartiallyChecked : value == 1 ? Qt::Checked : Qt::Unchecked);
}

void CScheduleDlg::selectCalendarDate(int year, int month, int day)
{
    const QDate date(year, month, day);
    if (!date.isValid())
        return;
    // Only the user's picks are written into the entry.
    const QSignalBlocker quiet(m_calendar);
    m_calendar->setSelectedDate(date);
}

void CScheduleDlg::ShowEntry()
{
    const int i = m_tabs->currentIndex();
    const ScheduleEntry &e = m_table[i];
    m_valid = e.valid;
    m_kindCombo->setCurrentIndex(e.kind >= 0 && e.kind < m_kindCombo->count() ? e.kind : -1);
    m_msg = e.msg;
    m_hour = e.htime;
    m_minute = e.mtime;
    m_dayOfMonth = e.dayOfMonth;
    UpdateData(false);

    m_controls.get<QLineEdit>(Id::WavPath)->setText(e.waveFilePath);
    // Any other sound value leaves the radio buttons as they are.
    switch (e.sound) {
    case ScheduleEntry::NoSound:
        m_controls.get<QRadioButton>(Id::NoSoundRadio)->setChecked(true);
        m_selectWavButton->setEnabled(false);
        break;
    case ScheduleEntry::Beep:
        m_controls.get<QRadioButton>(Id::BeepRadio)->setChecked(true);
        m_selectWavButton->setEnabled(false);
        break;
    case ScheduleEntry::WaveFile:
        m_controls.get<QRadioButton>(Id::WavRadio)->setChecked(true);
        m_selectWavButton->setEnabled(true);
        break;
    default:
        break;
    }
    if (e.kind == ScheduleEntry::Once)
        selectCalendarDate(e.OnceActionYear, e.OnceActionMonth, e.OnceActionDay);
    ShowKindControls();

    m_sun = e.Sun;
    m_mon = e.Mon;
    m_tue = e.TUE;
    m_wed = e.WED;
    m_thu = e.THU;
    m_fri = e.FRI;
    m_sat = e.SAT;
    m_current = i;
    m_afterAction = e.bAfterAction;
    UpdateData(false);
}

void CScheduleDlg::ShowKindControls()
{
    const int kind = m_kindCombo->currentIndex();
    if (kind < 0)
        return;
    for (int id : kWeeklyPage)
        m_controls.get<QWidget>(id)->setVisible(kind == ScheduleEntry::Weekly);
    for (int id : kMonthlyPage)
        m_controls.get<QWidget>(id)->setVisible(kind == ScheduleEntry::Monthly);
    m_calendar->setVisible(kind == ScheduleEntry::Once);
    if (kind == ScheduleEntry::Once) {
        const ScheduleEntry &e = m_table[m_tabs->currentIndex()];
        selectCalendarDate(e.OnceActionYear, e.OnceActionMonth, e.OnceActionDay);
        ClampOnceDate();
    }
}

void CScheduleDlg::ClampOnceDate()
{
    if (m_kindCombo->currentIndex() != ScheduleEntry::Once)
        return;
    const QDate shown = ClampedOnceDate(m_calendar->selectedDate(), m_clock.now());
    selectCalendarDate(shown.year(), shown.month(), shown.day());
}

void CScheduleDlg::OnCalendarSelChange()
{
    const QDate picked = m_calendar->selectedDate();
    ScheduleEntry &e = m_table[m_tabs->currentIndex()];
    e.OnceActionYear = picked.year();
    e.OnceActionMonth = picked.month();
    e.OnceActionDay = picked.day();
}

void CScheduleDlg::EnableEntryControls()
{
    UpdateData(true);
    const bool enabled = m_valid != 0;
    if (m_controls.get<QRadioButton>(Id::WavRadio)->isChecked())
        m_selectWavButton->setEnabled(enabled);
    for (int id : kEntryControls)
        m_controls.get<QWidget>(id)->setEnabled(enabled);
}

void CScheduleDlg::RefreshValidState()
{
    UpdateData(true);
    m_table[m_tabs->currentIndex()].valid = m_valid;
    m_controls.get<QLineEdit>(Id::Summary)->setText(EnabledSummary(m_table));
    EnableEntryControls();
    if (m_valid != 0)
        ClampOnceDate();
}

void CScheduleDlg::OnWavRadio()
{
    m_selectWavButton->setEnabled(true);
}

void CScheduleDlg::OnNoWavRadio()
{
    m_selectWavButton->setEnabled(false);
}

void CScheduleDlg::OnSelectWav()
{
    if (const std::optional<QString> path = m_wavChooser.chooseWavFile())
        m_controls.get<QLineEdit>(Id::WavPath)->setText(*path);
}

void CScheduleDlg::OnTabSelChange()
{
    // The tab strip already shows the new tab; the controls and m_current
    // still hold the schedule that is being left. The change always goes on.
    StoreEntry();
    ValidateEntry();
    ShowEntry();
    EnableEntryControls();
}

const ScheduleForm &CScheduleDlg::readControls()
{
    kindSelection = m_kindCombo->currentIndex();
    onceDate = m_calendar->selectedDate();
    if (m_controls.get<QRadioButton>(Id::NoSoundRadio)->isChecked())
        soundChoice = ScheduleEntry::NoSound;
    else if (m_controls.get<QRadioButton>(Id::BeepRadio)->isChecked())
        soundChoice = ScheduleEntry::Beep;
    else if (m_controls.get<QRadioButton>(Id::WavRadio)->isChecked())
        soundChoice = ScheduleEntry::WaveFile;
    else
        soundChoice = -1;
    waveFilePath = m_controls.get<QLineEdit>(Id::WavPath)->text();
    return *this;
}

int CScheduleDlg::StoreEntry()
{
    UpdateData(true);
    const LocalTime now = m_clock.now();
    if (::StoreEntry(readControls(), m_table[m_current], m_pDoc->THIS_YEAR, now)
        == TakeOverResult::PastMoment) {
        DisableEntry();
        showMessage(QString::fromUtf8(SettingsMessages::kPastMoment));
        return 0;
    }
    return 1;
}

int CScheduleDlg::ValidateEntry()
{
    const QString refusal = ::ValidateEntry(m_table[m_current], *this);
    if (refusal.isEmpty())
        return 0;
    showMessage(refusal);
    DisableEntry();
    return -1;
}

void CScheduleDlg::DisableEntry()
{
    m_table[m_current].valid = 0;
    // During a tab change the selected tab is already the new schedule.
    auto *validCheck = m_controls.get<QCheckBox>(Id::Valid);
    validCheck->setTristate(false);
    validCheck->setChecked(m_table[m_tabs->currentIndex()].valid != 0);
    RefreshValidState();
}

void CScheduleDlg::OnOK()
{
    // OK always writes the table; a refused schedule is written disabled and
    // the dialog stays open, so a second OK closes it.
    if (StoreEntry() == 0) {
        SaveSchedules();
        return;
    }
    m_current = m_tabs->currentIndex();
    if (ValidateEntry() == -1) {
        SaveSchedules();
        return;
    }
    SaveSchedules();
    if (UpdateData(true))
        QDialog::accept();
}

void CScheduleDlg::OnApply()
{
    if (StoreEntry() == 0)
        return;
    m_current = m_tabs->currentIndex();
    if (ValidateEntry() == -1)
        return;
    SaveSchedules();
}

void CScheduleDlg::reject()
{
    OnCancel();
}

void CScheduleDlg::OnCancel()
{
    QDialog::reject();
}

void CScheduleDlg::SaveSchedules()
{
    m_store.SaveSchedules(m_table, *m_pDoc, m_messages);
}

void CScheduleDlg::showMessage(const QString &text)
{
    m_messages.ShowMessage(text, MessagePresenter::Icon::Exclamation);
}
