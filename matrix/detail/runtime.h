// Runtime services used inside the library (not part of its interface):
// thin forwarders to the platform core.
#pragma once

namespace zelkor::detail {

// Processor time of the process, in seconds.
double ProcessSeconds();

// The next value, 0 to 32767, of the runtime's 15-bit random source. Never
// reseeds it.
int Rand15();

// Starts the timing of a substitution: *seconds (if given) is 1000.0 while
// it runs. Returns the start for StopTimer.
inline double StartTimer(double* seconds)
{
    if (seconds)
        *seconds = 1000.0;
    return ProcessSeconds();
}

// Ends the timing begun at start: *seconds (if given) is the time it took.
inline void StopTimer(double* seconds, double start)
{
    if (seconds)
        *seconds = ProcessSeconds() - start;
}

} // namespace zelkor::detail
