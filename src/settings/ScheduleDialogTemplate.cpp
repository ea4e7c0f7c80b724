#include "ScheduleDialogTemplate.h"

#include <array>

namespace {

using C = DialogTemplate::ControlClass;
using S = DialogTemplate::Style;
namespace Id = ScheduleDialogIds;

constexpr unsigned kEdit = S::TabStop;
constexpr unsigned kWeekday = S::TabStop;

// In template order, which is the keyboard tab order. The tab strip comes
// late but lies beneath the controls it frames.
constexpr std::array kControls{
    DialogTemplate::Control{
        Id::Valid, C::CheckBox, "validCheck", "この設定を有効にする", 133, 37, 83, 18, S::TabStop},
    DialogTemplate::Control{-1, C::Label, "kindLabel", "タスクのスケジュール", 28, 38, 73, 11, 0},
    DialogTemplate::Control{Id::Kind, C::ComboBox, "kindCombo", "", 17, 50, 95, 58, S::TabStop},
    DialogTemplate::Control{-1, C::Label, "timeLabel", "動作時刻", 166, 69, 33, 9, 0},
    DialogTemplate::Control{Id::Hour, C::Edit, "hourEdit", "", 163, 82, 24, 13, kEdit},
    DialogTemplate::Control{Id::HourSpin, C::UpDown, "hourSpin", "", 182, 82, 10, 14, 0, Id::Hour},
    DialogTemplate::Control{Id::Minute, C::Edit, "minuteEdit", "", 188, 82, 22, 13, kEdit},
    DialogTemplate::Control{Id::MinuteSpin, C::UpDown, "minuteSpin", "", 206, 82, 10, 14, 0, Id::Minute},
    DialogTemplate::Control{Id::Calendar, C::MonthCalendar, "calendar", "", 17, 73, 94, 97, S::TabStop},
    DialogTemplate::Control{Id::EveryMonth, C::Label, "everyMonthLabel", "毎月", 19, 92, 18, 9, S::Group},
    DialogTemplate::Control{
        Id::DayOfMonth, C::Edit, "dayOfMonthEdit", "", 37, 90, 17, 12, kEdit | S::RightAlign},
    DialogTemplate::Control{
        Id::DayNote, C::Label, "dayNoteLabel", "日にメッセージを表示します。", 58, 92, 94, 11, S::Group},
    DialogTemplate::Control{Id::Sun, C::CheckBox, "sunCheck", "日", 60, 89, 22, 13, kWeekday},
    DialogTemplate::Control{Id::Thu, C::CheckBox, "thuCheck", "木", 84, 89, 22, 13, kWeekday},
    DialogTemplate::Control{Id::Mon, C::CheckBox, "monCheck", "月", 60, 105, 22, 13, kWeekday},
    DialogTemplate::Control{Id::Fri, C::CheckBox, "friCheck", "金", 84, 105, 22, 13, kWeekday},
    DialogTemplate::Control{Id::Tue, C::CheckBox, "tueCheck", "火", 60, 121, 22, 13, kWeekday},
    DialogTemplate::Control{Id::Sat, C::CheckBox, "satCheck", "土", 84, 121, 22, 13, kWeekday},
    DialogTemplate::Control{Id::Wed, C::CheckBox, "wedCheck", "水", 60, 137, 22, 13, kWeekday},
    DialogTemplate::Control{Id::ShortMonthNote, C::Label, "shortMonthNoteLabel",
        "設定日が存在しない月の場合(31日など)は前日側にシフトして、同時刻にメッセージを表示します", 44, 121,
        123, 24, S::Group},
    DialogTemplate::Control{Id::AfterAction, C::CheckBox, "afterActionCheck",
        "設定時刻にアプリケーションを起動していなくても、次に起動したときにメッセージを表示する。", 125, 149,
        112, 28, S::TabStop | S::MultiLine},
    DialogTemplate::Control{-1, C::GroupBox, "soundGroup", "音設定", 16, 180, 215, 47, 0},
    DialogTemplate::Control{
        Id::BeepRadio, C::RadioButton, "beepRadio", "BEEP音を鳴らす", 21, 194, 64, 8, S::Group},
    DialogTemplate::Control{
        Id::WavRadio, C::RadioButton, "wavRadio", "wavファイルを鳴らす", 88, 194, 76, 8, 0},
    DialogTemplate::Control{
        Id::NoSoundRadio, C::RadioButton, "noSoundRadio", "何も鳴らさない", 165, 194, 62, 8, 0},
    DialogTemplate::Control{-1, C::Label, "wavLabel", "wavファイル名", 22, 210, 45, 9, S::Group},
    DialogTemplate::Control{Id::WavPath, C::Edit, "wavPathEdit", "", 68, 208, 137, 12, kEdit | S::ReadOnly},
    DialogTemplate::Control{
        -1, C::Label, "messageLabel", "設定時刻に表示させるメッセージ：", 22, 233, 104, 9, S::Group},
    DialogTemplate::Control{Id::Message, C::Edit, "messageEdit", "", 32, 245, 179, 12, kEdit},
    DialogTemplate::Control{
        Id::SelectWav, C::PushButton, "selectWavButton", "選択", 209, 208, 16, 11, S::TabStop},
    DialogTemplate::Control{
        Id::Ok, C::PushButton, "okButton", "OK", 93, 267, 50, 14, S::TabStop | S::DefaultButton},
    DialogTemplate::Control{Id::Cancel, C::PushButton, "cancelButton", "ｷｬﾝｾﾙ", 144, 267, 50, 14, S::TabStop},
    DialogTemplate::Control{Id::Apply, C::PushButton, "applyButton", "適用", 195, 267, 50, 14, S::TabStop},
    DialogTemplate::Control{Id::Tabs, C::TabControl, "tabs", "", 2, 18, 243, 245, S::TabStop},
    DialogTemplate::Control{
        -1, C::Label, "summaryLabel", "現在、有効になっているスケジュールは", 3, 5, 124, 10, S::Group},
    DialogTemplate::Control{
        Id::Summary, C::Edit, "summaryEdit", "", 131, 5, 107, 12, S::ReadOnly | S::NoBorder},
};

constexpr DialogTemplate kTemplate{
    "スケジュール設定画面",
    "ＭＳ Ｐゴシック",
    9,
    249,
    285,
    kControls,
};

} // namespace

const DialogTemplate &scheduleDialogTemplate()
{
    return kTemplate;
}
