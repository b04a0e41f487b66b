#include "bench/BenchCases.h"

#include "app/Startup.h"
#include "app/WindowSet.h"
#include "grids/StringGridModel.h"
#include "history/Riepilogo.h"
#include "lists/PassLineModel.h"
#include "lists/PassListWindow.h"
#include "lists/RiepChiaviRiconsegna.h"
#include "lists/RiepChiaviRitiro.h"
#include "lists/RiepDaRiconsegnare.h"
#include "lists/RiepSmarrite.h"
#include "registry/ExpChiavi.h"
#include "registry/TrovaSchedario_Chiavi.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QTextStream>
#include <QTranslator>

#include <chrono>
#include <cstdio>
#include <memory>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

[[noreturn]] void fail(const QString& what)
{
    QTextStream(stderr) << "benchmark failed: " << what << "\n";
    std::exit(1);
}

// The seams of the measured windows: the export is confirmed and its file not opened; any other
// message means the action failed, which ends the benchmark rather than timing a failure.
class BenchMessages : public Messages
{
public:
    void plain(QWidget*, const QString& text) override { fail(text); }
    void notice(QWidget*, NoticeKind, const QString& text) override { fail(text); }
    using Messages::question;
    bool question(QWidget*, const QString& text, Preselected) override { return !text.contains(u"aprire"_s); }
    Answer questionWithCancel(QWidget*, const QString& text) override { fail(text); }
};

class BenchShell : public Shell
{
public:
    void open(const QString& command) override { fail(u"asked to open "_s + command); }
};

// What the cases share: the context and the windows they work in, created before the timing.
struct Workplace
{
    BenchMessages messages;
    BenchShell shell;
    SystemClock clock;
    AppContext ctx;
    std::unique_ptr<TfrmTrovaSchedario_Chiavi> search;
    std::unique_ptr<TfrmExpChiavi> exportWindow;
    std::unique_ptr<TfrmRiepilogo> history;

    void setUp(const QString& folder)
    {
        if (ctx.programFolder == folder)
            return;
        ctx.programFolder = folder;
        ctx.messages = &messages;
        ctx.shell = &shell;
        ctx.clock = &clock;
    }
};

BenchCase listCase(const std::shared_ptr<Workplace>& place, const QString& name, const PassListVariant& variant)
{
    auto model = std::make_shared<PassLineModel>();
    return {BenchCase::Cards, name,
            [=, &variant](const QString& folder) {
                PassLists::build(folder, variant, *model);
                if (model->rowCount() == 0)
                    fail(name + u": no lines"_s);
            },
            [=](const QString& folder) { place->setUp(folder); }};
}

// The search as the button "Cerca" runs it, with these filter texts typed in.
BenchCase searchCase(const std::shared_ptr<Workplace>& place, const QString& name,
                     const QList<std::pair<QString, QString>>& typed)
{
    return {BenchCase::Cards, name,
            [=](const QString&) {
                place->search->btnCercaClick();
                if (place->search->model()->rowCount() == 0)
                    fail(name + u": no cards found"_s);
            },
            [=](const QString& folder) {
                place->setUp(folder);
                place->search = std::make_unique<TfrmTrovaSchedario_Chiavi>(place->ctx);
                for (const auto& [field, text] : typed)
                    place->search->findChild<QLineEdit*>(field)->setText(text);
            }};
}

} // namespace

std::vector<BenchCase> benchCases()
{
    auto place = std::make_shared<Workplace>();
    std::vector<BenchCase> cases;
    cases.push_back(listCase(place, u"list: available for withdrawal"_s, TfrmRiepChiaviRitiro::description()));
    cases.push_back(listCase(place, u"list: to be returned"_s, TfrmRiepChiaviRiconsegna::description()));
    cases.push_back(listCase(place, u"list: not yet returned"_s, TfrmRiepDaRiconsegnare::description()));
    cases.push_back(listCase(place, u"list: lost passes"_s, TfrmRiepSmarrite::description()));
    cases.push_back(searchCase(place, u"search: no filter (every card)"_s, {}));
    cases.push_back(searchCase(place, u"search: type \"badge\", place \"cass\""_s,
                               {{u"txtTipo"_s, u"badge"_s}, {u"txtLuogo"_s, u"cass"_s}}));

    cases.push_back({BenchCase::Cards, u"export grid (every card)"_s,
                     [=](const QString&) {
                         place->exportWindow->FormShow();
                         if (place->exportWindow->grid()->rowCount() < 10)
                             fail(u"export grid: not filled"_s);
                     },
                     [=](const QString& folder) {
                         place->setUp(folder);
                         place->exportWindow = std::make_unique<TfrmExpChiavi>(place->ctx);
                     }});
    cases.push_back({BenchCase::Cards, u"export: write Schedario_Pass.xls"_s,
                     [=](const QString&) { place->exportWindow->cmdEsportaClick(); },
                     [=](const QString& folder) {
                         place->setUp(folder);
                         place->exportWindow = std::make_unique<TfrmExpChiavi>(place->ctx);
                         place->exportWindow->FormShow();
                     }});

    cases.push_back({BenchCase::History, u"history: year 2020, sorted by type, grid"_s,
                     [=](const QString&) {
                         place->history->FormShow();
                         if (place->history->queryResult().matches == 0)
                             fail(u"history: no operation in 2020"_s);
                     },
                     [=](const QString& folder) {
                         place->setUp(folder);
                         place->history = std::make_unique<TfrmRiepilogo>(place->ctx);
                         place->history->setInterval(u"01/01/2020"_s, u"31/12/2020"_s);
                     }});
    return cases;
}

// ---- Child processes ----------------------------------------------------------------------------

namespace {

qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// One field of /proc/self/status, in kilobytes.
qint64 statusKb(const char* field)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Notes the first paint of a widget.
class PaintWatch : public QObject
{
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void waitForPaint(QWidget* w)
{
    PaintWatch watch;
    w->installEventFilter(&watch);
    w->show();
    while (!watch.painted)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    w->removeEventFilter(&watch);
}

// The offscreen platform says at every window shown that it cannot pass size hints on: the only
// message dropped, so that the children's other messages stand out.
QtMessageHandler defaultHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(u"propagateSizeHints"_s))
        defaultHandler(type, context, message);
}

// The child's answer: one line on standard output, then leave without tearing the windows down.
[[noreturn]] void answer(const QByteArray& line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    _exit(0);
}

QByteArray runChild(const QString& program, const QStringList& args)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(program, args);
    if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return QByteArray();
    return child.readAllStandardOutput().trimmed();
}

} // namespace

namespace BenchChild {

int startup(int argc, char* argv[])
{
    defaultHandler = qInstallMessageHandler(quietHandler);
    // What main does, with the benchmark's folder as the ProgramFolder.
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    QTranslator qtTranslator;
    prepareApplication(qtTranslator);
    DesktopSeams seams;
    AppContext ctx;
    seams.install(ctx, app.arguments().value(2));

    WindowSet windows(ctx);
    waitForPaint(windows.mainWindow());
    answer(QByteArray::number(monotonicNs()));
}

int historyMemory(int argc, char* argv[])
{
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    AppContext ctx;
    ctx.programFolder = args.value(2);
    TfrmRiepilogo view(ctx);
    view.setInterval(args.value(3), args.value(4));
    QCoreApplication::processEvents();

    const qint64 before = statusKb("VmRSS");
    // From here the peak counts from the present size (Linux: 5 resets the peak).
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return 1;
    clear.close();
    waitForPaint(&view); // the view reads, sorts and fills the grid when it is first shown
    const qint64 peak = statusKb("VmHWM");
    answer(QByteArray::number(view.queryResult().matches) + ' ' + QByteArray::number(before) + ' ' +
           QByteArray::number(peak));
}

int exportMemory(int argc, char* argv[])
{
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    AppContext ctx;
    ctx.programFolder = app.arguments().value(2);
    TfrmExpChiavi view(ctx);
    QCoreApplication::processEvents();

    const qint64 before = statusKb("VmRSS");
    QFile clear(u"/proc/self/clear_refs"_s);
    if (!clear.open(QIODevice::WriteOnly) || clear.write("5") != 1)
        return 1;
    clear.close();
    view.FormShow();
    const qint64 peak = statusKb("VmHWM");
    const qint64 after = statusKb("VmRSS");
    answer(QByteArray::number(view.grid()->rowCount()) + ' ' + QByteArray::number(before) + ' ' +
           QByteArray::number(peak) + ' ' + QByteArray::number(after));
}

double startupMs(const QString& program, const QString& folder)
{
    const qint64 start = monotonicNs();
    const QByteArray shown = runChild(program, {QString::fromLatin1(StartupFlag), folder});
    bool ok = false;
    const qint64 at = shown.toLongLong(&ok);
    return ok ? double(at - start) / 1e6 : -1;
}

Memory historyMemory(const QString& program, const QString& folder, const QString& start, const QString& end)
{
    const QList<QByteArray> parts =
        runChild(program, {QString::fromLatin1(HistoryMemoryFlag), folder, start, end}).split(' ');
    Memory m;
    if (parts.size() == 3) {
        m.rows = parts[0].toLongLong();
        m.beforeKb = parts[1].toLongLong();
        m.peakKb = parts[2].toLongLong();
    }
    return m;
}

Memory exportMemory(const QString& program, const QString& folder)
{
    const QList<QByteArray> parts = runChild(program, {QString::fromLatin1(ExportMemoryFlag), folder}).split(' ');
    Memory m;
    if (parts.size() == 4) {
        m.rows = parts[0].toLongLong();
        m.beforeKb = parts[1].toLongLong();
        m.peakKb = parts[2].toLongLong();
        m.afterKb = parts[3].toLongLong();
    }
    return m;
}

} // namespace BenchChild
