#pragma once

#include <QString>
#include <QStringList>

#include <benchmark/benchmark.h>

// What the picture benchmarks share: the 12-megapixel photo, and the programs that are their floor.
namespace zw {

// A photo-like JPEG of 4000 x 3000 pixels, made once per run.
const QString& benchPhotoPath();

bool runProgram(const QString& program, const QStringList& arguments);
// CPU seconds that finished child processes used so far.
double childCpuSeconds();
// The programs' CPU time since before, per iteration, as the counter "programs_cpu_ms".
void reportChildCpu(benchmark::State& state, double before);
// Skips the benchmark, naming the Debian package, when a program is missing.
bool havePrograms(benchmark::State& state, const QStringList& programs, const char* package);

}  // namespace zw
