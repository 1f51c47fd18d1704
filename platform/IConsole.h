#pragma once

#include <atomic>
#include <cstdio>

// The console a command-line program runs in: its standard streams and its interrupts.
class IConsole
{
public:
    virtual ~IConsole() = default;
    // True when pStream writes to a terminal rather than a file or a pipe.
    virtual bool isTerminal(FILE *pStream) const = 0;
    // Keeps standard output for the data alone: returns a stream onto it and points the
    // process's standard output at the null device (at standard error with bVerbose), so
    // that what libraries print there cannot spoil the data. stdout when that fails.
    virtual FILE *reserveStandardOutput(bool bVerbose) = 0;
    // From now on an interrupt (Ctrl-C) or a request to terminate sets *pFlag instead of
    // ending the process. The flag must outlive the process's last interrupt.
    virtual void catchInterrupts(std::atomic_bool *pFlag) = 0;
};
