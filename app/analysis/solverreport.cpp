#include "app/analysis/solverreport.h"

bool IsSolverWarning(int code) { return code == 1 || code == 2; }

CString SolverWarningText(const int* status)
{
    CString s;
    if (status[0] == 1)
        s.Format("*** Warning: only %d of %d buckling modes passed the eigenvalue error test ***\r\n", status[1],
                 status[2]);
    else if (status[0] == 2)
        s.Format("*** Warning: %d buckling modes of %d unknowns need %d iteration vectors; a finer mesh is "
                 "advised ***\r\n",
                 status[1], status[3], status[2]);
    return s;
}

CString SolverErrorText(const int* status)
{
    const int c = status[0];
    const int d = status[1];
    const unsigned ud = static_cast<unsigned>(d);
    CString text;
    if (c == 0)
        return text;
    text = "Brantel returned an error while solving:\r\n";
    CString line;
    switch (c) {
    case 1: line.Format("\tIllegal symmetry-code: (%u)\r\n", ud); break;
    case 2: line = "\tFailed during determination of axial and bending stiffness\r\n"; break;
    case 3: line.Format("\tRenumeration-code (%u) returned with error\r\n", ud); break;
    case 4: line = "\tPreassembly failed\r\n"; break;
    case 5:
        if (d == 2)
            text += "\tAttempt to divide by zero\tError occured in subroutine  EMCR4 \r\n";
        line.Format("\tError while establishing system stiffness matrix Error-code: %u\r\n", ud);
        break;
    case 6: line.Format("\tError while establishing system load matrix Error-code: %u\r\n", ud); break;
    case 7:
        if (d != 0)
            line.Format("\tError in node: %u\r\n", ud);
        else
            line = " ";
        break;
    case 8: line = "\tError in calculation occurred while solving shear and torsion parameters\r\n"; break;
    default: line.Format("\tSolver status %d (detail %d), see the solver run log\r\n", c, d); break;
    }
    text += line;
    text += "If the problem perists, please contact your vendor.\r\n";
    return text;
}
