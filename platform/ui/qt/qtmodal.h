// Modal Qt dialogs of the services. A test installs a modal hook: the
// dialog is then shown (modal, without a nested event loop), the hook
// drives its real widgets and ends it (accept, reject, a click, a key), and
// the dialog's result is read as exec() would give it. Without a hook,
// exec() runs.
#pragma once

#include <functional>

#include <QDialog>

typedef std::function<void(QDialog&)> AfxQtModalHook;

// Installs a hook (empty: none) and returns the previous one.
AfxQtModalHook AfxQtSetModalHook(AfxQtModalHook hook);
// Runs the dialog modally; returns its result code. A hook that leaves the
// dialog open rejects it.
int AfxQtRunModal(QDialog& dialog);
