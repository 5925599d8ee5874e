// Compiles with the right handler; with BRANTEL_WRONG_HANDLER defined the
// map names a command handler that takes an argument, which must not compile.
#include "platform/ui/core/afxui.h"

class CSignatureCheck : public CCmdTarget
{
public:
    void OnViewLog() {}
    void OnViewLogWithId(UINT) {}
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSignatureCheck, CCmdTarget)
#ifdef BRANTEL_WRONG_HANDLER
ON_COMMAND(50001, OnViewLogWithId)
#else
ON_COMMAND(50001, OnViewLog)
ON_COMMAND_RANGE(50002, 50003, OnViewLogWithId)
#endif
END_MESSAGE_MAP()
