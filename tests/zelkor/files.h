#include "tests/support/temp_files.h" // kept for older includes
