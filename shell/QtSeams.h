#pragma once

#include "shell/Seams.h"

// The seams as the program uses them, over Qt's message boxes, desktop services, file dialog,
// print dialog and the local clock.

class QtMessages : public Messages
{
public:
    void plain(QWidget* parent, const QString& text) override;
    void notice(QWidget* parent, NoticeKind kind, const QString& text) override;
    using Messages::question;
    bool question(QWidget* parent, const QString& text, Preselected preselected) override;
    Answer questionWithCancel(QWidget* parent, const QString& text) override;
};

class QtShell : public Shell
{
public:
    void open(const QString& command) override;
};

class QtFileDialogs : public FileDialogs
{
public:
    QString openFile(QWidget* parent, const QString& title, const QString& filter) override;
};

class QtPrinters : public Printers
{
public:
    explicit QtPrinters(Messages& messages) : m_messages(messages) {}
    std::unique_ptr<QPrinter> choosePrinter(QWidget* parent, int pageCount) override;

private:
    Messages& m_messages;
};

class SystemClock : public Clock
{
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};
