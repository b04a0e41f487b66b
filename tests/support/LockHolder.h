#pragma once

// Another workstation holding the write lock of a data file, as a separate process (hold_lock):
// record locks belong to a process, so the test's own process could not stand in its way.

#include <QProcess>
#include <QString>

class LockHolder
{
public:
    // Takes the lock of `path` (the file is created when missing) and keeps it until release(),
    // or for `milliseconds` when given.
    explicit LockHolder(const QString& path, int milliseconds = 0)
    {
        QStringList arguments{path};
        if (milliseconds > 0)
            arguments << QString::number(milliseconds);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(INGRESSARIO_BUILD_DIR "/tests/hold_lock"), arguments);
    }
    ~LockHolder() { release(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Waits until the lock is held; false when the helper could not take it.
    bool holds()
    {
        if (!m_process.waitForStarted(10000))
            return false;
        while (!m_process.canReadLine())
            if (!m_process.waitForReadyRead(10000))
                return false;
        return m_process.readLine().trimmed() == "locked";
    }

    void release()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.closeWriteChannel();
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
};
