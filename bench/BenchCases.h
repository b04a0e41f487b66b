#pragma once

#include <QString>

#include <functional>
#include <vector>

// The screen-level actions measured by the benchmark: each builds what its window builds
// (filter, lines, sort, model filled) from the files of a folder.
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
};

std::vector<BenchCase> benchCases();
