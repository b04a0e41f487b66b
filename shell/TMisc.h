#pragma once

#include <QString>

class Shell;
struct AppContext;

// The shell request: hands one command text to the desktop's open action. The command is a file
// or folder path in double quotes, "mailto:" and an address in double quotes, or a web address.
// It never waits for the program that opens it and never reports an outcome: a missing file or
// an address nothing can open passes silently.
class TMisc
{
public:
    static void Open(Shell* shell, const QString& command);
    static void Open(const AppContext& ctx, const QString& command);

    // The text enclosed in double quotes, so that a path with spaces reaches the desktop whole.
    static QString quoted(const QString& text);
};
