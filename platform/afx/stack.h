// Deep recursion on a large stack. Archives of object graphs recurse once
// per object reference (a chain of n objects nests n Serialize calls);
// CArchive moves such recursion onto fresh large stacks by itself when the
// current one runs low, using these helpers.
#pragma once

#include <cstddef>
#include <functional>

// Runs fn on a new thread with a stack of nStackBytes and waits for it; an
// exception thrown by fn is rethrown in the caller. The stack is reserved,
// not committed: only the pages fn touches use memory.
void AfxRunWithLargeStack(const std::function<void()>& fn, std::size_t nStackBytes = 256u << 20);

// True when less than nMarginBytes of the calling thread's stack remain.
bool AfxStackIsLow(std::size_t nMarginBytes = 1u << 20);
