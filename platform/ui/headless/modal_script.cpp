#include "platform/ui/headless/modal_script.h"

#include "platform/afx/numconv.h"
#include "platform/ui/headless/scripted_services.h"

namespace afxui::headless
{

ModalScript::ModalScript()
    : m_pOldHook(AfxSetModalHook(this)), m_pOldService(AfxSetMessageService(this))
{
}

ModalScript::~ModalScript()
{
    Verify();
    AfxSetMessageService(m_pOldService);
    AfxSetModalHook(m_pOldHook);
}

ModalScript& ModalScript::Dialog(UINT nIDTemplate, DialogStep step)
{
    m_steps.push_back({Kind::dialog, nIDTemplate, nullptr, std::move(step), {}, {}, IDOK});
    return *this;
}

ModalScript& ModalScript::Dialog(const CRuntimeClass* pClass, DialogStep step)
{
    m_steps.push_back({Kind::dialog, 0, pClass, std::move(step), {}, {}, IDOK});
    return *this;
}

ModalScript& ModalScript::FileDialog(FileStep step)
{
    m_steps.push_back({Kind::file, 0, nullptr, {}, std::move(step), {}, IDOK});
    return *this;
}

ModalScript& ModalScript::MessageBox(std::string text, int answer)
{
    m_steps.push_back({Kind::box, 0, nullptr, {}, {}, std::move(text), answer});
    return *this;
}

std::string ModalScript::Describe(const Step& step) const
{
    switch (step.kind) {
    case Kind::dialog:
        return step.pClass ? std::string("dialog of class ") + step.pClass->m_lpszClassName
                           : AfxFormat("dialog %u", step.nIDTemplate);
    case Kind::file:
        return "file dialog";
    case Kind::box:
        return "message box \"" + step.text + "\"";
    }
    return {};
}

void ModalScript::Verify()
{
    if (m_steps.empty())
        return;
    std::string unused;
    for (const Step& step : m_steps)
        unused += (unused.empty() ? "" : ", ") + Describe(step);
    ReportFailure(
        AfxFormat("%zu modal step(s) were never used: %s", m_steps.size(), unused.c_str()));
    m_steps.clear();
}

bool ModalScript::Matches(const Step& step, CDialog& dialog) const
{
    if (step.kind != Kind::dialog)
        return false;
    if (step.pClass)
        return dialog.IsKindOf(step.pClass);
    return step.nIDTemplate != 0 && step.nIDTemplate == dialog.GetTemplateID();
}

bool ModalScript::RunModal(CDialog& dialog)
{
    if (auto* file = dynamic_cast<CFileDialog*>(&dialog)) {
        if (m_steps.empty() || m_steps.front().kind != Kind::file)
            return false; // the file-dialog service answers
        const FileStep step = std::move(m_steps.front().file);
        m_steps.pop_front();
        ++m_nTaken;
        file->SetResult(step(file->GetRequest()));
        return true;
    }
    if (dynamic_cast<CCommonDialog*>(&dialog))
        return false; // font and colour dialogs: their services answer

    if (m_steps.empty() || !Matches(m_steps.front(), dialog)) {
        CString caption;
        dialog.GetWindowText(caption);
        ReportFailure(AfxFormat(
            "unexpected modal dialog %u '%s'%s", dialog.GetTemplateID(), caption.GetString(),
            m_steps.empty() ? ""
                            : (" (the next step is a " + Describe(m_steps.front()) + ")").c_str()));
        dialog.EndDialog(IDCANCEL);
        return true;
    }
    const DialogStep step = std::move(m_steps.front().dialog);
    m_steps.pop_front();
    ++m_nTaken;
    DialogDriver driver(dialog);
    step(driver, dialog);
    if (!dialog.IsEnded()) {
        ReportFailure(AfxFormat("modal dialog %u was left open by its step; end it with "
                                "PressOK, PressCancel or EndDialog",
                                dialog.GetTemplateID()));
        dialog.EndDialog(IDCANCEL);
    }
    return true;
}

int ModalScript::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType)
{
    if (m_steps.empty() || m_steps.front().kind != Kind::box)
        return m_pOldService->MessageBox(lpszText, lpszCaption, nType);
    const Step step = std::move(m_steps.front());
    m_steps.pop_front();
    ++m_nTaken;
    if (step.text != (lpszText ? lpszText : ""))
        ReportFailure(AfxFormat("message box \"%s\" was shown where the script expects \"%s\"",
                                lpszText ? lpszText : "", step.text.c_str()));
    return step.answer;
}

} // namespace afxui::headless
