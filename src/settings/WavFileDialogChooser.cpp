#include "WavFileDialogChooser.h"

#include <QDir>
#include <QFileDialog>

std::optional<QString> WavFileDialogChooser::chooseWavFile()
{
    QFileDialog dialog(nullptr, QStringLiteral("再生するファイルを選択して下さい。"));
    dialog.setObjectName(QStringLiteral("wavFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setNameFilter(QStringLiteral("ｳｪﾌﾞ(*.wav)"));
    dialog.setDefaultSuffix(QStringLiteral("wav"));
    dialog.selectFile(QStringLiteral("*.wav"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    // As the system writes paths (C:\\... on Windows).
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}
