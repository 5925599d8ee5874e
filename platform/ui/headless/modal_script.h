// ModalScript: answers modal dialogs in a test without any nested loop.
// While it lives it is the modal hook: DoModal of a dialog, a property sheet
// or a file dialog, and every message box, ask it first.
//
// Steps are taken in order. A dialog or sheet step names the template id or
// a runtime class (a dialog of that class or derived from it matches); its
// callback drives the dialog through a DialogDriver and ends it with
// PressOK, PressCancel or EndDialog. A modal opened inside a callback takes
// the next step. A dialog that does not match the next step fails the test
// with "unexpected modal dialog <id> '<caption>'" and is cancelled, and so
// does a callback that leaves its dialog open. A file dialog or message box
// takes the next step when it is one for it; otherwise it goes on to the
// installed service (the strict scripted ones in tests). Steps left unused
// fail the test in Verify, which the destructor runs.
#pragma once

#include <deque>
#include <functional>
#include <string>

#include "platform/afx/message.h"
#include "platform/ui/core/commdlg.h"
#include "platform/ui/headless/dialog_driver.h"

namespace afxui::headless
{

class ModalScript : public CModalHook, public CMessageService
{
public:
    typedef std::function<void(DialogDriver&, CDialog&)> DialogStep;
    typedef std::function<AfxFileDialogResult(const AfxFileDialogRequest&)> FileStep;

    ModalScript();
    ~ModalScript() override;
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Dialog(UINT nIDTemplate, DialogStep step);
    ModalScript& Dialog(const CRuntimeClass* pClass, DialogStep step);
    // The dialog as its own class (T must be the dialog's class or a base).
    template <class T>
    ModalScript& Dialog(UINT nIDTemplate, std::function<void(DialogDriver&, T&)> step)
    {
        return Dialog(nIDTemplate,
                      [step](DialogDriver& d, CDialog& dlg) { step(d, dynamic_cast<T&>(dlg)); });
    }
    ModalScript& FileDialog(FileStep step);
    // The next message box must show text (byte for byte) and gets answer.
    ModalScript& MessageBox(std::string text, int answer = IDOK);

    // Unused steps fail the test (once).
    void Verify();
    // How many steps have been taken.
    int Taken() const { return m_nTaken; }

    bool RunModal(CDialog& dialog) override;
    int MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) override;

private:
    enum class Kind { dialog, file, box };
    struct Step {
        Kind kind;
        UINT nIDTemplate = 0;
        const CRuntimeClass* pClass = nullptr;
        DialogStep dialog;
        FileStep file;
        std::string text;
        int answer = IDOK;
    };
    std::string Describe(const Step& step) const;
    bool Matches(const Step& step, CDialog& dialog) const;

    std::deque<Step> m_steps;
    int m_nTaken = 0;
    CModalHook* m_pOldHook;         // restored by the destructor
    CMessageService* m_pOldService; // boxes without a step go on to it (never null; not owned)
};

} // namespace afxui::headless
