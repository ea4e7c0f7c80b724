#pragma once

// The texts the settings dialog shows in its message boxes (UTF-8).
namespace SettingsMessages {

inline constexpr char kNotAnInteger[] = "整数を入力してください。";
inline constexpr char kPastMoment[] = "スケジュールが過去の時刻にセットされました。\n設定は無効になります。";
inline constexpr char kNoMessage[] = "メッセージが入力されていないので、設定は無効になります。";
inline constexpr char kBadTime[] = "時刻が正しく入力されていないので、設定は無効になります。";
inline constexpr char kNoWeekday[] = "実行すべき曜日が入力されていないので、設定は無効になります。";
inline constexpr char kNoDay[] = "実行すべき日付が入力されていないので、設定は無効になります。";

} // namespace SettingsMessages
