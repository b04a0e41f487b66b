// Another workstation in the middle of a write: holds the write lock of a data file.
//
//     hold_lock <file> [<milliseconds>]
//
// Prints "locked" once it holds the lock, then keeps it until its input ends, or for the given
// time. The lock belongs to this process, as another workstation's would: a lock taken inside the
// test's own process would not stand in its way.

#include "archives/FileLock.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    QFile file(QString::fromLocal8Bit(argv[1]));
    if (!file.open(QIODevice::ReadWrite))
        return 3;
    FileLock lock(file);
    if (!lock.isLocked())
        return 4;
    std::fputs("locked\n", stdout);
    std::fflush(stdout);
    if (argc > 2) {
        QThread::msleep(std::strtoul(argv[2], nullptr, 10));
    } else {
        char line[16];
        while (std::fgets(line, sizeof line, stdin)) {
        }
    }
    return 0;
}
