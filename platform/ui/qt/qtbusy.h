// The Qt side of busy mode: an application-wide event filter that swallows
// input while a BusyScope lives, and the pump that progress points call.
// Buttons and menu actions carry their command id in the dynamic property
// AfxQtCommandProperty so that the filter knows Stop's.
#pragma once

#include <QObject>

#include "platform/ui/core/busy.h"

class QAction;
class QEvent;

// The dynamic property that holds a button's or action's command id.
inline constexpr const char* AfxQtCommandProperty = "afxCommandId";

// Marks a button or action with its command id.
void AfxQtSetCommandId(QObject* pObject, unsigned nID);

class CQtBusyFilter : public QObject, public CBusyBackend
{
public:
    // Installs itself as the busy backend and the progress pump.
    CQtBusyFilter();
    ~CQtBusyFilter() override;
    CQtBusyFilter(const CQtBusyFilter&) = delete;
    CQtBusyFilter& operator=(const CQtBusyFilter&) = delete;

    void EnterBusy() override;
    void LeaveBusy() override;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    CBusyBackend* m_pPreviousBackend = nullptr;
    void (*m_pPreviousPump)() = nullptr;
    bool m_bInstalled = false;
};
