#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include <chrono>
#include <memory>

// A local stream socket at a path, for one-line requests between copies of
// the program run by the same user. Each connection may send one line of at
// most kMaxRequest bytes: the line is handed on, the connection is closed. A
// peer that sends more without a line's end, or says nothing for five
// seconds, is cut off.
//
// It is a plain Unix-domain socket, so that the program does not load Qt
// Network and its libraries at every start. (Windows finds the running copy
// by a window property instead.)
class LocalRequestListener final : public QObject
{
    Q_OBJECT

public:
    static constexpr qint64 kMaxRequest = 64;

    explicit LocalRequestListener(QObject *parent = nullptr);
    ~LocalRequestListener() override;

    // Replaces whatever is at the path and listens there, reachable by this
    // user only. On failure errorString() says why.
    bool listen(const QString &path);
    void close();
    QString errorString() const { return m_error; }

    // Connects to the listener at the path, trying again until patience runs
    // out (a copy that has just taken the lock may not listen yet), sends the
    // line and waits for the listener to close the connection. Returns
    // whether the line was delivered.
    static bool send(const QString &path, const QByteArray &line, std::chrono::milliseconds patience);

signals:
    // A whole line, with its line feed, as a peer sent it.
    void lineReceived(const QByteArray &line);

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    QString m_error;
};
