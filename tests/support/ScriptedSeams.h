#pragma once

#include "shell/AppContext.h"
#include "shell/Seams.h"

#include <QDateTime>
#include <QList>
#include <QPrinter>
#include <QQueue>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

// Scripted seams for tests: answers are queued beforehand, every call is recorded.

struct MessageCall
{
    enum Kind
    {
        Plain,
        Warning,
        Error,
        Information,
        Question
    } kind;
    QString text;
    bool noPreselected = false; // a question with No as the button Enter presses
};

class ScriptedMessages : public Messages
{
public:
    QList<MessageCall> calls;
    QQueue<bool> answers;            // for questions; Yes when the queue is empty
    QQueue<Answer> choices;          // for questions with Cancel; No when the queue is empty
    std::function<void()> onMessage; // runs inside the message, e.g. to check the screen meanwhile

    void plain(QWidget*, const QString& text) override { record(MessageCall::Plain, text); }
    void notice(QWidget*, NoticeKind kind, const QString& text) override
    {
        record(kind == NoticeKind::Warning ? MessageCall::Warning
               : kind == NoticeKind::Error ? MessageCall::Error
                                           : MessageCall::Information,
               text);
    }
    using Messages::question;
    bool question(QWidget*, const QString& text, Preselected preselected) override
    {
        record(MessageCall::Question, text, preselected == Preselected::No);
        return answers.isEmpty() ? true : answers.dequeue();
    }
    Answer questionWithCancel(QWidget*, const QString& text) override
    {
        record(MessageCall::Question, text);
        return choices.isEmpty() ? Answer::No : choices.dequeue();
    }
    QStringList texts() const
    {
        QStringList out;
        for (const auto& c : calls)
            out << c.text;
        return out;
    }
    QString lastText() const { return calls.isEmpty() ? QString() : calls.last().text; }

private:
    void record(MessageCall::Kind kind, const QString& text, bool noPreselected = false)
    {
        calls.append({kind, text, noPreselected});
        if (onMessage)
            onMessage();
    }
};

class ScriptedShell : public Shell
{
public:
    QStringList commands;
    void open(const QString& command) override { commands << command; }
};

class ScriptedFileDialogs : public FileDialogs
{
public:
    QQueue<QString> answers; // empty text = cancelled
    QStringList titles, filters;
    QString openFile(QWidget*, const QString& title, const QString& filter) override
    {
        titles << title;
        filters << filter;
        return answers.isEmpty() ? QString() : answers.dequeue();
    }
};

// Prints to a PDF file, or returns nothing as a cancelled dialog or a missing printer would.
class ScriptedPrinters : public Printers
{
public:
    bool cancel = false;
    QString pdfPath; // where the next print goes
    QList<int> requestedPageCounts;
    std::unique_ptr<QPrinter> choosePrinter(QWidget*, int pageCount) override
    {
        requestedPageCounts << pageCount;
        if (cancel)
            return nullptr;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdfPath);
        printer->setPageSize(QPageSize(QPageSize::A4));
        return printer;
    }
};

class FixedClock : public Clock
{
public:
    QDateTime moment = QDateTime(QDate(2025, 3, 7), QTime(9, 5, 0));
    QDateTime now() const override { return moment; }
};

// A ProgramFolder in a fresh temporary folder with every seam scripted.
struct TestContext
{
    QTemporaryDir dir;
    ScriptedMessages messages;
    ScriptedShell shell;
    ScriptedFileDialogs fileDialogs;
    ScriptedPrinters printers;
    FixedClock clock;
    AppContext ctx;

    TestContext()
    {
        ctx.programFolder = dir.path() + u'/';
        ctx.messages = &messages;
        ctx.shell = &shell;
        ctx.fileDialogs = &fileDialogs;
        ctx.printers = &printers;
        ctx.clock = &clock;
        printers.pdfPath = dir.filePath(QStringLiteral("print.pdf"));
    }
};
