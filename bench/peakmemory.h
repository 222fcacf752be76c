#pragma once

#include <string>
#include <vector>

// Resident memory of a child process, in KiB: its high-water mark before the text went in,
// and at the end.
struct PeakMemory
{
    long beforeKiB = 0;
    long peakKiB = 0;
};

// The high-water mark of this process's resident memory (VmHWM), in KiB.
long residentPeakKiB();

// Runs this program again with the arguments, in a process of its own so that no case
// inherits another's memory, and reads the two figures it prints on its standard output.
// Throws std::runtime_error when the child fails.
//
// Not ru_maxrss from wait4(): Linux carries the forking process's high-water mark across
// fork and exec into it, so every child would report at least what the benchmark process
// itself holds.
PeakMemory measureInChild(const std::vector<std::string> &arguments);
