#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>

class NoticeTextBox;
class QCloseEvent;
class QPushButton;
class QTimerEvent;

// The small always-on-top window that shows a message. It takes no input for
// its first half second, so a keystroke meant for another window cannot
// dismiss it unread, and it deletes itself once dismissed.
class CNoticeDlg final : public QDialog
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CNoticeDlg)

public:
    // An owner (the main frame) keeps the window off the taskbar and takes it
    // along when it goes.
    explicit CNoticeDlg(QWidget *parent = nullptr);

    // Builds the window with strMessage in its text area and starts the
    // half-second timer; the window stays hidden and disabled.
    bool Create();

    // Builds the hidden, disabled window with strMessage in its text area,
    // without starting the timer: a notice got ready ahead of its minute.
    // Create() later only puts the text in afresh and starts the timer.
    void Build();

    QString strMessage; // the text shown

    void reject() override;

protected:
    bool OnInitDialog();
    void OnTimer(int timerId);
    void OnClickedOk();
    void OnClickedCancel();

    void timerEvent(QTimerEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createControls();
    void showMessage();
    void DestroyWindow();

    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    NoticeTextBox *m_text = nullptr;
    QString m_shownText; // what m_text holds, line feeds made plain
    // Keys pressed since the window took input: only their presses and
    // releases count, so a key held down from before (typing into another
    // window, or a key repeating on the box that came first) cannot dismiss
    // the message unread.
    QSet<int> m_freshKeys;
    // When each key was last let go (the event's time), and since when the
    // window takes input: X's auto-repeat comes as a release and a press at
    // the same moment, which Qt does not always flag as a repeat.
    QHash<int, quint64> m_releasedAt;
    QElapsedTimer m_enabledSince;
    int m_enableTimer = 0;
    bool m_built = false;
    bool m_destroying = false;
};
