#include "platform/ui/qt/qtbusy.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QShortcutEvent>
#include <QToolButton>
#include <QWidget>

#include "platform/afx/progress.h"
#include "platform/ui/core/services.h"
#include "platform/ui/qt/qtpeers.h"

namespace
{

void PumpEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool IsStopId(const QObject* pObject)
{
    if (!pObject)
        return false;
    bool ok = false;
    const unsigned id = pObject->property(AfxQtCommandProperty).toUInt(&ok);
    return ok && id == AFX_ID_BUSY_STOP;
}

bool IsInputEvent(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ShortcutOverride:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::TabletMove:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

// Input to a modal window opened during the run (a question the run asks)
// goes through: swallowing it would hang the run.
bool InModalWindow(const QWidget* pWidget)
{
    const QWidget* modal = QApplication::activeModalWidget();
    return modal && pWidget && (pWidget == modal || modal->isAncestorOf(pWidget));
}

// The action a mouse release or a key would trigger in a menu.
const QAction* MenuTarget(const QMenu* pMenu, const QEvent* pEvent)
{
    if (pEvent->type() == QEvent::MouseButtonRelease)
        return pMenu->actionAt(static_cast<const QMouseEvent*>(pEvent)->position().toPoint());
    return pMenu->activeAction();
}

bool IsActivationKey(const QEvent* pEvent)
{
    if (pEvent->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(pEvent)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
}

// Whether the input event goes through while busy.
bool PassesWhileBusy(QObject* pWatched, QEvent* pEvent)
{
    auto* widget = qobject_cast<QWidget*>(pWatched);
    if (InModalWindow(widget))
        return true;
    if (pEvent->type() == QEvent::Shortcut)
        return IsStopId(pWatched);
    // Stop's button (it or its default action carries the id).
    if (auto* button = qobject_cast<QAbstractButton*>(pWatched)) {
        if (IsStopId(button))
            return true;
        if (auto* tool = qobject_cast<QToolButton*>(button); tool && IsStopId(tool->defaultAction()))
            return true;
    }
    // Menus open and highlight; only Stop's item can be chosen.
    if (qobject_cast<QMenuBar*>(pWatched))
        return pEvent->type() != QEvent::KeyPress || !IsActivationKey(pEvent) ||
               IsStopId(static_cast<QMenuBar*>(pWatched)->activeAction());
    if (auto* menu = qobject_cast<QMenu*>(pWatched)) {
        if (pEvent->type() == QEvent::MouseButtonRelease || IsActivationKey(pEvent))
            return IsStopId(MenuTarget(menu, pEvent));
        return pEvent->type() != QEvent::Shortcut;
    }
    return false;
}

} // namespace

void AfxQtSetCommandId(QObject* pObject, unsigned nID)
{
    if (pObject)
        pObject->setProperty(AfxQtCommandProperty, nID);
}

CQtBusyFilter::CQtBusyFilter()
    : m_pPreviousBackend(AfxSetBusyBackend(this)),
      m_pPreviousPump(afx::SetProgressPump(&PumpEvents))
{
}

CQtBusyFilter::~CQtBusyFilter()
{
    if (m_bInstalled && qApp)
        qApp->removeEventFilter(this);
    AfxSetBusyBackend(m_pPreviousBackend);
    afx::SetProgressPump(m_pPreviousPump);
}

void CQtBusyFilter::EnterBusy()
{
    if (!m_bInstalled && qApp) {
        qApp->installEventFilter(this);
        m_bInstalled = true;
    }
}

void CQtBusyFilter::LeaveBusy()
{
    if (m_bInstalled && qApp)
        qApp->removeEventFilter(this);
    m_bInstalled = false;
}

bool CQtBusyFilter::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (!AfxIsBusy())
        return false;
    const QEvent::Type type = pEvent->type();
    if (type == QEvent::Close) {
        // Main windows and dialogs; popups and tool tips close as usual.
        auto* widget = qobject_cast<QWidget*>(pWatched);
        if (!widget || !widget->isWindow() || InModalWindow(widget) ||
            (widget->windowType() != Qt::Window && widget->windowType() != Qt::Dialog))
            return false;
        // A frame window asks whether to stop the run (AfxBusyCloseRequest).
        if (qobject_cast<QMainWindow*>(widget))
            return false;
        pEvent->ignore();
        AfxGetBeepService()->Beep(0, 0);
        return true;
    }
    if (!IsInputEvent(type))
        return false;
    // Esc means Stop (the key of a modal window opened during the run is
    // its own).
    if (type == QEvent::KeyPress && static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape &&
        !InModalWindow(qobject_cast<QWidget*>(pWatched))) {
        if (!static_cast<QKeyEvent*>(pEvent)->isAutoRepeat())
            AfxQtEntry([] { AfxBusyStop(); });
        return true;
    }
    return !PassesWhileBusy(pWatched, pEvent);
}
