#include "CAboutDlg.h"

#include "AppIcon.h"
#include "DialogTemplateBuilder.h"
#include "DialogUnits.h"

#include <QLabel>
#include <QPushButton>

#include <array>

namespace {

using C = DialogTemplate::ControlClass;
using S = DialogTemplate::Style;

constexpr int kIconId = 2;

// Template 100, in dialog units. The icon is placed by hand: the template
// builder knows no icon controls.
constexpr DialogTemplate::Control kIcon{kIconId, C::Label, "aboutIcon", "", 11, 17, 20, 20, 0};
constexpr std::array kControls{
    DialogTemplate::Control{-1, C::Label, "versionLabel", "Tickwell Version 1.03", 40, 10, 119, 8, 0},
    DialogTemplate::Control{
        -1, C::Label, "noticeLabel", "決めた時刻にメッセージでお知らせします。", 51, 27, 153, 8, 0},
    DialogTemplate::Control{
        CAboutDlg::IDOK, C::PushButton, "okButton", "OK", 193, 7, 50, 14, S::TabStop | S::DefaultButton},
};

constexpr DialogTemplate kTemplate{
    "Tickwellのﾊﾞｰｼﾞｮﾝ情報",
    "ＭＳ Ｐゴシック",
    9,
    250,
    55,
    kControls,
};

} // namespace

CAboutDlg::CAboutDlg(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("CAboutDlg"));
    // Modal to the main frame only: notices and the tray keep taking input.
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    setWindowIcon(appIcon());
    const TemplateControls controls = buildFromTemplate(*this, kTemplate);

    // A static icon takes the size of its image, as on Windows.
    auto *icon = new QLabel(this);
    icon->setObjectName(QString::fromUtf8(kIcon.name));
    const DialogUnits &units = controls.units();
    icon->setPixmap(appIcon().pixmap(QSize(32, 32)));
    icon->setGeometry(
        QRect(units.toPixels(QRect(kIcon.x, kIcon.y, kIcon.width, kIcon.height)).topLeft(), QSize(32, 32)));

    for (QLabel *label : findChildren<QLabel *>()) {
        // Texts as they are: no '&' shortcuts, no rich text.
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(false);
    }
    connect(controls.get<QPushButton>(IDOK), &QPushButton::clicked, this, &QDialog::accept);
}
