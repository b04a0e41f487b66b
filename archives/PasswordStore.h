#pragma once

#include <QString>

#include <optional>

// The scrambled password in unins000.dll, section "Accesso", key "Valore".
class PasswordStore
{
public:
    static constexpr auto FileName = "unins000.dll";
    // The largest password file read: a small settings file, never a file put there by mistake.
    static constexpr qint64 MaxFileSize = qint64(4) << 20;

    explicit PasswordStore(const QString& programFolder);

    // The stored text, trimmed, at most 2047 characters; empty when the file, section or key
    // is absent; nullopt when an existing file cannot be read, is no plain file or is larger than
    // MaxFileSize.
    std::optional<QString> readStoredText() const;
    // Sets the value, keeping every other byte of the file, and replaces the file only once the new
    // one is whole (WholeFileWriter); false when it cannot be read or written, or is a link.
    bool writeStoredText(const QString& text) const;

private:
    QString m_path;
};
