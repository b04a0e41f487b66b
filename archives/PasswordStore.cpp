#include "archives/PasswordStore.h"

#include "archives/IniText.h"
#include "archives/WholeFileWriter.h"
#include "archives/Win1252.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {
const QString Section = u"Accesso"_s;
const QString Key = u"Valore"_s;
constexpr qsizetype MaxValue = 2047;
} // namespace

PasswordStore::PasswordStore(const QString& programFolder) : m_path(programFolder + QLatin1StringView(FileName)) {}

namespace {

// The content of the password file when it is what it must be, a plain file of a few lines: a
// folder, a device or a pipe put in its place, or a file beyond MaxFileSize, is not read at all.
std::optional<QByteArray> readSmallFile(const QString& path)
{
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > PasswordStore::MaxFileSize)
        return std::nullopt;
    // Read no further than the limit, should the file have grown since its size was taken.
    QByteArray content = file.read(PasswordStore::MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || content.size() > PasswordStore::MaxFileSize)
        return std::nullopt;
    return content;
}

} // namespace

std::optional<QString> PasswordStore::readStoredText() const
{
    if (!QFileInfo::exists(m_path))
        return QString();
    const std::optional<QByteArray> content = readSmallFile(m_path);
    if (!content)
        return std::nullopt;
    return Win1252::trimmed(IniText::value(*content, Section, Key).left(MaxValue)).toString();
}

bool PasswordStore::writeStoredText(const QString& text) const
{
    QByteArray content;
    if (QFileInfo::exists(m_path)) {
        // Writing after a failed read would drop the rest of the file.
        const std::optional<QByteArray> existing = readSmallFile(m_path);
        if (!existing)
            return false;
        content = *existing;
    }
    // The new file replaces the old one only once it is wholly written and on disk.
    return writeWholeFile(m_path, IniText::setValue(content, Section, Key, text));
}
