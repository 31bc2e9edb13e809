#pragma once

#include <functional>
#include <string>

#include <QString>
#include <QStringList>

// Prints one figure as "BENCH <name> <value> <unit>".
void BenchReport(const std::string& strName, double dValue, const std::string& strUnit);

// Registers a benchmark that the bench program runs in registration order.
struct BenchRegistrar {
    BenchRegistrar(const char* pszName, std::function<void()> fn);
};

// Registers a helper that the bench program runs instead of the benchmarks when started as
// "velomira_bench --child NAME"; its result is the process's exit code. Lets a benchmark time a
// whole process from its start.
struct BenchChild {
    BenchChild(const char* pszName, std::function<int()> fn);
};

// Seconds taken by the fastest of nRuns calls of fn.
double BestOf(int nRuns, const std::function<void()>& fn);

// A program run to its end: its exit status, wall time and the peak resident memory of that process
// alone.
struct ChildRun {
    int nExit = -1;
    double dSeconds = 0;
    double dPeakMb = 0;
};
// Runs the program with the arguments and waits for it; with bQuiet its standard error goes nowhere.
ChildRun RunToEnd(const QString& strProgram, const QStringList& args, bool bQuiet = false);
