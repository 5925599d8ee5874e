// Runtime services used inside the library (not part of its interface):
// thin forwarders to the platform core.
#pragma once

namespace zelkor::detail {

// Processor time of the process, in seconds.
double ProcessSeconds();

// The next value, 0 to 32767, of the runtime's 15-bit random source. Never
// reseeds it.
int Rand15();

} // namespace zelkor::detail
