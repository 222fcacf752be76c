#pragma once

#include <string>
#include <vector>

// What a child process measured about one load: its resident memory in KiB (the high-water
// mark before the text went in, and at the end), and the load's real and CPU time.
struct LoadFigures
{
    long beforeKiB = 0;
    long peakKiB = 0;
    double seconds = 0;
    double cpuSeconds = 0;
};

// The high-water mark of this process's resident memory (VmHWM), in KiB.
long residentPeakKiB();

// Seconds of CPU this process has used.
double processCpuSeconds();

// Runs this program again with the arguments and reads the figures it prints on its standard
// output, in the order of LoadFigures. A process of its own gives every load the same start:
// in one long-lived process the heap left behind by the cases before moved a load's time by
// a quarter. Throws std::runtime_error when the child fails.
//
// Memory comes from the child itself, not from ru_maxrss of wait4(): Linux carries the
// forking process's high-water mark across fork and exec into the child, so every child
// would report at least what the benchmark process holds.
LoadFigures runLoadInChild(const std::vector<std::string> &arguments);
