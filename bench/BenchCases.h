#pragma once

#include <QString>

#include <functional>
#include <vector>

// The screen-level actions measured by the benchmark: each builds what its window builds
// (filter, lines, sort, model filled) from the files of a folder, through the code the window runs.
struct BenchCase
{
    enum File
    {
        Cards,
        History,
        None
    } file;
    QString name;
    std::function<void(const QString& folder)> run;
    // Runs once before the timed runs (creates the window the case works in, fills what it needs).
    std::function<void(const QString& folder)> prepare = {};
};

std::vector<BenchCase> benchCases();

// Start-up and memory are measured in a child process of their own, started from this program.
namespace BenchChild {

// The argument that makes the program a child, and what the child then does.
inline constexpr char StartupFlag[] = "--startup";
inline constexpr char HistoryMemoryFlag[] = "--history-memory";
inline constexpr char ExportMemoryFlag[] = "--export-memory";

// Start-up as the program's main does it, up to the login window painted; prints the monotonic
// clock at that moment, in nanoseconds. Args: <folder>.
int startup(int argc, char* argv[]);
// The history view of one year shown over the history file; prints the rows, the resident memory
// before, the peak after and their difference, in kilobytes. Args: <folder> <start> <end>.
int historyMemory(int argc, char* argv[]);
// The export grid filled with every card; prints the rows, the resident memory before, the peak
// while filling and the resident memory after, in kilobytes. Args: <folder>.
int exportMemory(int argc, char* argv[]);

// Runs the start-up child once; milliseconds from the request to start it to its login window
// painted, or a negative number when it failed.
double startupMs(const QString& program, const QString& folder);

struct Memory
{
    qint64 rows = -1;
    qint64 beforeKb = 0, peakKb = 0, afterKb = 0;
};
Memory historyMemory(const QString& program, const QString& folder, const QString& start, const QString& end);
Memory exportMemory(const QString& program, const QString& folder);

} // namespace BenchChild
