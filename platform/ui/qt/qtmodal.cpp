#include "platform/ui/qt/qtmodal.h"

#include <utility>

namespace
{
AfxQtModalHook& Hook()
{
    static AfxQtModalHook hook;
    return hook;
}
} // namespace

AfxQtModalHook AfxQtSetModalHook(AfxQtModalHook hook)
{
    return std::exchange(Hook(), std::move(hook));
}

int AfxQtRunModal(QDialog& dialog)
{
    if (!Hook())
        return dialog.exec();
    // The hook may install another one for nested dialogs; it runs on a copy.
    AfxQtModalHook hook = Hook();
    dialog.setModal(true);
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    hook(dialog);
    if (dialog.isVisible())
        dialog.reject();
    return dialog.result();
}
