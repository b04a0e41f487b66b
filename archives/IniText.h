#pragma once

#include <QByteArray>
#include <QString>

// A small editor of settings-file text (sections in brackets, key=value lines) that changes
// only the line it must and keeps every other byte: comments, CRLF line ends, order.
namespace IniText {

// The value of `key` in `section` (both matched case-insensitively), untrimmed; isNull when absent.
QString value(const QByteArray& content, const QString& section, const QString& key);

// The content with that one value replaced, or the key (and section) added when missing.
QByteArray setValue(const QByteArray& content, const QString& section, const QString& key, const QString& value);

} // namespace IniText
