#include "shell/QtSeams.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

// The toolkit's standard caption of each kind, in Italian.
QString captionOf(QMessageBox::Icon icon)
{
    switch (icon) {
    case QMessageBox::Warning:
        return u"Attenzione"_s;
    case QMessageBox::Critical:
        return u"Errore"_s;
    case QMessageBox::Information:
        return u"Informazione"_s;
    case QMessageBox::Question:
        return u"Conferma"_s;
    default:
        return QString();
    }
}

QWidget* parentOrActive(QWidget* parent)
{
    return parent ? parent : QApplication::activeWindow();
}

} // namespace

void QtMessages::plain(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QString(), text, QMessageBox::Ok, parentOrActive(parent));
    box.exec();
}

void QtMessages::notice(QWidget* parent, NoticeKind kind, const QString& text)
{
    const QMessageBox::Icon icon = kind == NoticeKind::Warning ? QMessageBox::Warning
                                   : kind == NoticeKind::Error ? QMessageBox::Critical
                                                               : QMessageBox::Information;
    QMessageBox box(icon, captionOf(icon), text, QMessageBox::Ok | QMessageBox::Cancel, parentOrActive(parent));
    box.setDefaultButton(QMessageBox::Ok);
    box.exec();
}

bool QtMessages::question(QWidget* parent, const QString& text, Preselected preselected)
{
    QMessageBox box(QMessageBox::Question, captionOf(QMessageBox::Question), text, QMessageBox::Yes | QMessageBox::No,
                    parentOrActive(parent));
    box.setDefaultButton(preselected == Preselected::No ? QMessageBox::No : QMessageBox::Yes);
    // With Yes preselected, only an explicit No declines; with No preselected, only an explicit Yes
    // accepts.
    const int answer = box.exec();
    return preselected == Preselected::No ? answer == QMessageBox::Yes : answer != QMessageBox::No;
}

Messages::Answer QtMessages::questionWithCancel(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Question, captionOf(QMessageBox::Question), text,
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parentOrActive(parent));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void QtShell::open(const QString& command)
{
    // The command is a quoted path, a quoted "mailto:" address or a web address.
    QString target = command;
    if (target.size() >= 2 && target.startsWith(u'"') && target.endsWith(u'"'))
        target = target.mid(1, target.size() - 2);
    const QUrl url = target.contains(u"://"_s) || target.startsWith(u"mailto:"_s, Qt::CaseInsensitive)
                         ? QUrl(target)
                         : QUrl::fromLocalFile(target);
    QDesktopServices::openUrl(url); // outcome deliberately not examined
}

QString QtFileDialogs::openFile(QWidget* parent, const QString& title, const QString& filter)
{
    // "*.*" is every file on Windows; elsewhere the dialog would take it literally and hide the
    // files without an extension.
    QString patterns = filter;
#ifndef Q_OS_WIN
    patterns.replace(u"(*.*)"_s, u"(*)"_s);
#endif
    return QFileDialog::getOpenFileName(parent, title, QString(), patterns);
}

std::unique_ptr<QPrinter> QtPrinters::choosePrinter(QWidget* parent, int pageCount)
{
    const QList<QPrinterInfo> installed = QPrinterInfo::availablePrinters();
    if (installed.isEmpty()) {
        m_messages.notice(parent, NoticeKind::Warning,
                          u"Attenzione: nessuna stampante installata. Installare una stampante e riprovare."_s);
        return nullptr;
    }
    // The system's default printer comes preselected (the first one when none is the default).
    QPrinterInfo preselected = QPrinterInfo::defaultPrinter();
    if (preselected.isNull())
        preselected = installed.first();
    auto printer = std::make_unique<QPrinter>(preselected, QPrinter::HighResolution);
    printer->setPageSize(QPageSize(QPageSize::A4));
    const int lastPage = qMax(1, pageCount);
    printer->setFromTo(1, lastPage);

    // Every document is designed on A4, so the dialog offers no paper size of its own; printer
    // properties, duplex and page order come with the platform's dialog.
    QPrintDialog dialog(printer.get(), parent);
    dialog.setMinMax(1, lastPage);
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange |
                      QAbstractPrintDialog::PrintCurrentPage | QAbstractPrintDialog::PrintCollateCopies);
    if (dialog.exec() != QDialog::Accepted)
        return nullptr;
    return printer;
}
