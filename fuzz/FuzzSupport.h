#pragma once

// What the fuzz targets share: a failed check, the folder their data files go into, the
// application of the targets that drive windows, and texts made from the fuzzer's bytes.

#include <fuzzer/FuzzedDataProvider.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace Fuzz {

using namespace Qt::StringLiterals;

// A check that fails stops the run with a crash, which libFuzzer keeps as an artifact.
inline void check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// A ProgramFolder (with its trailing separator) of its own for the whole run, in memory
// (/dev/shm) where the machine offers it: the data files are written for every input, and on a
// disk that costs more than the code under test. Made inside INGRESSARIO_FUZZ_FOLDER when that is
// set (fuzz/run.sh sets it and removes it at the end, even after a crash left a folder behind).
inline const QString& folder()
{
    static QTemporaryDir dir([] {
        if (qEnvironmentVariableIsSet("INGRESSARIO_FUZZ_FOLDER"))
            return qEnvironmentVariable("INGRESSARIO_FUZZ_FOLDER");
        return QDir(u"/dev/shm"_s).exists() ? u"/dev/shm"_s : QDir::tempPath();
    }() + u"/ingressario-fuzz-XXXXXX"_s);
    static const QString path = dir.path() + u'/';
    return path;
}

// Replaces a data file of the folder with `size` bytes.
inline void writeFile(const char* name, const void* data, size_t size)
{
    QFile f(folder() + QLatin1StringView(name));
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(f.write(static_cast<const char*>(data), qint64(size)) == qint64(size));
}

// The application of the targets that build windows: offscreen, made once, kept to the end.
inline void startApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "qt.qpa.*=false;qt.text.*=false");
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// A text of at most `maxLength` characters. Either from a small alphabet, where the cases and
// blanks of a few letters meet accented letters, the euro sign, a NUL and lone surrogates, so
// that texts often contain one another; or any UTF-16 code units.
inline QString text(FuzzedDataProvider& in, size_t maxLength)
{
    static constexpr char16_t Alphabet[] = {u'a', u'A', u'b', u'B',   u'z',   u'Z',   u' ',   u'\t',
                                            u'=', u'/', u'1', 0x00E0, 0x00C0, 0x20AC, 0x0000, 0xD800};
    const bool anyUnits = in.ConsumeBool();
    const size_t length = in.ConsumeIntegralInRange<size_t>(0, maxLength);
    QString out;
    for (size_t i = 0; i < length && in.remaining_bytes() > 0; ++i) {
        if (anyUnits)
            out.append(QChar(in.ConsumeIntegral<char16_t>()));
        else
            out.append(QChar(Alphabet[in.ConsumeIntegral<uint8_t>() % std::size(Alphabet)]));
    }
    return out;
}

// Only the ASCII letters change case: the rule of the lists, the search and the months.
inline QString asciiLower(QString s)
{
    for (QChar& c : s)
        if (c.unicode() >= 'A' && c.unicode() <= 'Z')
            c = QChar(c.unicode() + 32);
    return s;
}

} // namespace Fuzz
