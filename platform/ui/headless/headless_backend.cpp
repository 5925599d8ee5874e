#include "platform/ui/headless/headless_backend.h"

#include "platform/afx/numconv.h"
#include "platform/ui/core/dialog.h"
#include "platform/ui/headless/scripted_services.h"

namespace afxui::headless
{

void HeadlessBackend::RunModalLoop(CWnd& dialog, UINT nIDTemplate, const CString& strCaption)
{
    ReportFailure(
        AfxFormat("unexpected modal dialog %u '%s'", nIDTemplate, strCaption.GetString()));
    if (auto* dlg = dynamic_cast<CDialog*>(&dialog))
        dlg->EndDialog(IDCANCEL);
}

} // namespace afxui::headless
