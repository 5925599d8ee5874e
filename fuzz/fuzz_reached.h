// A coverage-free marker that a fuzz target reached its reader: with the
// environment variable BRANTEL_FUZZ_REACHED naming a file, the first call of
// the process appends "reached" to it. scripts/fuzz.sh runs every target
// once on a seed with it set and fails a target that returns before its
// reader, which would otherwise report nothing found.
#pragma once

#include <cstdio>
#include <cstdlib>

inline void FuzzReached()
{
    static bool s_done = false;
    if (s_done)
        return;
    s_done = true;
    if (const char* path = std::getenv("BRANTEL_FUZZ_REACHED"))
        if (std::FILE* file = std::fopen(path, "a")) {
            std::fputs("reached\n", file);
            std::fclose(file);
        }
}
