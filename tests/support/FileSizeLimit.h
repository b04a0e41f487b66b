#pragma once

// A full disk, as the test's own process sees it: while a FileSizeLimit lives, no file of the
// process can grow beyond `bytes` (RLIMIT_FSIZE), and a write past it fails with EFBIG instead of
// ending the process (SIGXFSZ ignored). Reading is untouched. Permission bits do not stop root,
// who runs the tests in CI; this limit does.

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>

class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        m_ok = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        m_previous = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limited = m_saved;
        limited.rlim_cur = rlim_t(bytes);
        m_ok = m_ok && setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_previous);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // Whether the limit is in force.
    bool isActive() const { return m_ok; }

private:
    struct rlimit m_saved
    {
    };
    void (*m_previous)(int) = nullptr;
    bool m_ok = false;
};
#else
// Elsewhere there is no such limit: never in force.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64) {}
    bool isActive() const { return false; }
};
#endif
