#include "CNoticeDlg.h"

#include "DialogUnits.h"
#include "NoticeTextBox.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimerEvent>

namespace {

// The window's template, in dialog units of its font.
constexpr QSize kClientSize(214, 74);
constexpr QRect kOkRect(71, 54, 71, 14);
constexpr QRect kCancelRect(162, 54, 50, 14);
constexpr QRect kTextRect(5, 6, 204, 42);
constexpr int kFontPointSize = 8;
constexpr int kEnableDelayMs = 500;
// Longer than the moment between the release and the press of one X
// auto-repeat, shorter than a person lets go of a key and presses it again.
constexpr quint64 kRepeatGapMs = 60;

} // namespace

CNoticeDlg::CNoticeDlg(QWidget *parent)
    : QDialog(parent,
        Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
            | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("CNoticeDlg"));
}

bool CNoticeDlg::Create()
{
    Build();
    return OnInitDialog();
}

void CNoticeDlg::Build()
{
    if (m_built)
        return;
    m_built = true;
    setWindowTitle(QStringLiteral("Tickwell"));
    setFont(DialogUnits::templateFont(QStringLiteral("MS Shell Dlg"), kFontPointSize));
    createControls();
    showMessage();
    // Created disabled: no input until the timer has run once.
    setEnabled(false);
}

void CNoticeDlg::showMessage()
{
    // Reports separate their lines with CR LF; the text area wants plain
    // line feeds.
    QString shown = strMessage;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A window got ready ahead already holds its text, laid out: setting
    // it again would lay it out anew while the notice is due.
    if (shown == m_shownText)
        return;
    m_shownText = shown;
    m_text->showText(shown);
}

void CNoticeDlg::createControls()
{
    const DialogUnits units(font());
    setFixedSize(units.toPixels(kClientSize));

    // Template order is tab order: OK, the hidden cancel button, the text.
    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("noticeOk"));
    m_ok->setGeometry(units.toPixels(kOkRect));
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &CNoticeDlg::OnClickedOk);

    m_cancel = new QPushButton(QStringLiteral("キャンセル"), this);
    m_cancel->setObjectName(QStringLiteral("noticeCancel"));
    m_cancel->setGeometry(units.toPixels(kCancelRect));
    m_cancel->setAutoDefault(false);
    m_cancel->hide();
    connect(m_cancel, &QPushButton::clicked, this, &CNoticeDlg::OnClickedCancel);

    // The box's frame is where the template puts it; inside it the text
    // shows in whole lines (NoticeTextBox).
    m_text = new NoticeTextBox(this);
    m_text->setObjectName(QStringLiteral("noticeText"));
    m_text->setGeometry(units.toPixels(kTextRect));
    m_text->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_text->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_text->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_text->setLineWrapMode(QTextEdit::WidgetWidth);
    m_text->fitLines();

    setTabOrder(m_ok, m_cancel);
    setTabOrder(m_cancel, m_text);

    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

bool CNoticeDlg::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    if (key->isAutoRepeat())
        return true;
    if (type == QEvent::KeyRelease) {
        m_releasedAt.insert(key->key(), key->timestamp());
        if (!m_freshKeys.remove(key->key()))
            return true; // let go of a key pressed before
        return QDialog::eventFilter(watched, event);
    }
    // A press from the window system hard on a release of the same key, or
    // at the very moment the window began to take input (its release went
    // to the disabled window), is a key held down repeating, not a press of
    // its own. Events made up by the program itself carry no time.
    if (key->timestamp() != 0) {
        const auto released = m_releasedAt.constFind(key->key());
        if (released != m_releasedAt.constEnd() && key->timestamp() - *released <= kRepeatGapMs)
            return true;
        if (!m_enabledSince.isValid() || m_enabledSince.elapsed() <= static_cast<qint64>(kRepeatGapMs))
            return true;
    }
    m_freshKeys.insert(key->key());
    return QDialog::eventFilter(watched, event);
}

bool CNoticeDlg::OnInitDialog()
{
    showMessage();
    m_enableTimer = startTimer(kEnableDelayMs, Qt::PreciseTimer);
    return true;
}

void CNoticeDlg::timerEvent(QTimerEvent *event)
{
    if (event->timerId() == m_enableTimer) {
        OnTimer(event->timerId());
        return;
    }
    QDialog::timerEvent(event);
}

void CNoticeDlg::OnTimer(int timerId)
{
    killTimer(timerId);
    m_enableTimer = 0;
    setEnabled(true);
    m_enabledSince.start();
    // Nothing could take the focus while the window was disabled.
    if (!focusWidget())
        m_ok->setFocus();
}

void CNoticeDlg::OnClickedOk()
{
    if (!isEnabled())
        return;
    setResult(QDialog::Accepted);
    DestroyWindow();
}

void CNoticeDlg::OnClickedCancel()
{
    if (!isEnabled())
        return;
    setResult(QDialog::Rejected);
    DestroyWindow();
}

// Esc arrives here.
void CNoticeDlg::reject()
{
    OnClickedCancel();
}

// The close box behaves like Esc, and like it does nothing while disabled.
void CNoticeDlg::closeEvent(QCloseEvent *event)
{
    event->ignore();
    OnClickedCancel();
}

void CNoticeDlg::DestroyWindow()
{
    if (m_destroying)
        return;
    m_destroying = true;
    hide();
    deleteLater();
}
