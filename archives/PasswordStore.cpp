#include "archives/PasswordStore.h"

#include "archives/IniText.h"
#include "archives/Win1252.h"

#include <QFile>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace {
const QString Section = u"Accesso"_s;
const QString Key = u"Valore"_s;
constexpr qsizetype MaxValue = 2047;
} // namespace

PasswordStore::PasswordStore(const QString& programFolder) : m_path(programFolder + QLatin1StringView(FileName)) {}

std::optional<QString> PasswordStore::readStoredText() const
{
    QFile file(m_path);
    if (!file.exists())
        return QString();
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return Win1252::trimmed(IniText::value(content, Section, Key).left(MaxValue)).toString();
}

bool PasswordStore::writeStoredText(const QString& text) const
{
    QByteArray content;
    QFile existing(m_path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly))
            return false;
        content = existing.readAll();
        // Writing after a failed read would drop the rest of the file.
        if (existing.error() != QFileDevice::NoError)
            return false;
        existing.close();
    }
    // The new file replaces the old one only once it is wholly written.
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray updated = IniText::setValue(content, Section, Key, text);
    // QSaveFile::commit() still renames after a failed flush of its buffer (a full disk, a size
    // limit), which would put an empty or cut file in place of the password: check the flush first.
    if (file.write(updated) != updated.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
