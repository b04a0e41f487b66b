#pragma once

#include <QDateTime>
#include <QString>

#include <memory>

class QWidget;
class QPrinter;

// The few things the screens ask of the desktop. The program uses the Qt implementations
// (QtSeams.h); tests install scripted ones (tests/support/ScriptedSeams.h) that queue answers
// and record calls.

enum class NoticeKind
{
    Warning,
    Error,
    Information
};

class Messages
{
public:
    virtual ~Messages() = default;
    // OK only, no icon, empty title.
    virtual void plain(QWidget* parent, const QString& text) = 0;
    // OK and Cancel (both only close it), OK default, the kind's icon and standard title.
    virtual void notice(QWidget* parent, NoticeKind kind, const QString& text) = 0;
    // Yes and No, with `preselected` the button that Enter presses; true when the answer is Yes.
    // A question whose Yes cannot be taken back preselects No.
    enum class Preselected
    {
        Yes,
        No
    };
    virtual bool question(QWidget* parent, const QString& text, Preselected preselected) = 0;
    bool question(QWidget* parent, const QString& text) { return question(parent, text, Preselected::Yes); }
    // Yes, No and Cancel, Yes preselected; Escape or closing the box answers Cancel.
    enum class Answer
    {
        Yes,
        No,
        Cancel
    };
    virtual Answer questionWithCancel(QWidget* parent, const QString& text) = 0;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Hands one command (a quoted path, a quoted "mailto:" address or a web address) to the
    // desktop's open action; never waits and never reports.
    virtual void open(const QString& command) = 0;
};

class FileDialogs
{
public:
    virtual ~FileDialogs() = default;
    // The chosen file's full path, or an empty text when cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& filter) = 0;
};

class Printers
{
public:
    virtual ~Printers() = default;
    // Shows the print dialog for a document of `pageCount` pages; returns the configured
    // printer, or null when cancelled or when no printer is available (the Qt implementation
    // tells the operator so).
    virtual std::unique_ptr<QPrinter> choosePrinter(QWidget* parent, int pageCount) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};
