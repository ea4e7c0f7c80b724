#pragma once

#include <QDialog>

// "Tickwellのﾊﾞｰｼﾞｮﾝ情報": the icon, the version and one line about the
// program, built from template 100. OK, Enter and Esc close it.
class CAboutDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CAboutDlg)

public:
    // Without a parent the main frame becomes the owner (see ShowAboutBox).
    explicit CAboutDlg(QWidget *parent = nullptr);

    // Identifier of the OK button in the template.
    static constexpr int IDOK = 1;
};
