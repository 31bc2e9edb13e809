#pragma once

#include <functional>
#include <string>

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
