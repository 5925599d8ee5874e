// Texts of the analysis run: the solver's status block turned into the
// error text and the warning lines that the log and error windows show.
#pragma once

#include "platform/afx/afx.h"

// Status codes 1 and 2 are warnings: the results are valid.
bool IsSolverWarning(int code);

// The warning line of status code 1 or 2 (empty for other codes).
CString SolverWarningText(const int* status);

// The error text of a failed run: header, the line(s) of the code, closing
// line. Empty when the code is 0.
CString SolverErrorText(const int* status);
