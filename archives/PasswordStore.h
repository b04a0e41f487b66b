#pragma once

#include <QString>

#include <optional>

// The scrambled password in unins000.dll, section "Accesso", key "Valore".
class PasswordStore
{
public:
    static constexpr auto FileName = "unins000.dll";

    explicit PasswordStore(const QString& programFolder);

    // The stored text, trimmed, at most 2047 characters; empty when the file, section or key
    // is absent; nullopt only when an existing file cannot be read.
    std::optional<QString> readStoredText() const;
    // Sets the value, keeping every other byte of the file; false when it cannot be written.
    bool writeStoredText(const QString& text) const;

private:
    QString m_path;
};
