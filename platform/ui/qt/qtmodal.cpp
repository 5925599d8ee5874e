#include "platform/ui/qt/qtmodal.h"

#include <utility>

#include <QTimer>

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
    // Once its loop runs, the dialog is raised over its owner and takes the
    // focus: a window manager that held it back as a window stealing the
    // focus (or no window manager at all) would leave it under the main
    // window, which no longer takes input.
    QTimer::singleShot(0, &dialog, [&dialog] {
        if (dialog.isVisible()) {
            dialog.raise();
            dialog.activateWindow();
        }
    });
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
