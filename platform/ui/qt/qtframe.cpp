#include "platform/ui/qt/qtframe.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStatusBar>

#include "platform/ui/core/frame.h"
#include "platform/ui/core/input.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qttext.h"

namespace
{

class FrameWidget : public QMainWindow
{
public:
    FrameWidget(HWND hWnd, bool bMDI, QWidget* pParent) : QMainWindow(pParent), m_hWnd(hWnd)
    {
        if (bMDI)
            setCentralWidget(new QMdiArea(this));
        else
            setCentralWidget(new QWidget(this));
    }

    // The frame, while its window lives.
    CFrameWnd* Frame() const
    {
        const CWndState* state = AfxGetWndState(m_hWnd);
        return state ? dynamic_cast<CFrameWnd*>(state->Target()) : nullptr;
    }

    // Rebuilds the menu bar's titles when the frame shows another menu; each
    // menu's items are made when it opens, after update UI.
    void ShowMenu()
    {
        CFrameWnd* frame = Frame();
        if (!frame)
            return;
        const UINT nIDMenu = frame->GetMenuID();
        if (nIDMenu == m_nIDMenu)
            return;
        m_nIDMenu = nIDMenu;
        menuBar()->clear();
        if (!AfxFindResource<AfxMenu>(nIDMenu))
            return;
        const AfxMenu& table = *AfxFindResource<AfxMenu>(nIDMenu);
        for (std::size_t i = 0; i < table.size(); ++i) {
            if (table[i].popup.empty())
                continue;
            QMenu* menu = menuBar()->addMenu(AfxToQString(table[i].item.strText));
            QObject::connect(menu, &QMenu::aboutToShow, menu, [this, menu, i] {
                AfxQtEntry([&] {
                    CFrameWnd* frame = Frame();
                    if (!frame)
                        return;
                    const AfxMenu snapshot = frame->MenuSnapshot(m_nIDMenu);
                    menu->clear();
                    if (i < snapshot.size())
                        Fill(*menu, snapshot[i].popup);
                });
            });
        }
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The frame's OnClose decides; its window going deletes this widget.
        event->ignore();
        AfxQtPostUserClose(this, m_hWnd);
    }

private:
    void Fill(QMenu& menu, const AfxMenu& entries)
    {
        for (const AfxMenuEntry& entry : entries) {
            if (entry.bSeparator) {
                menu.addSeparator();
            } else if (!entry.popup.empty()) {
                Fill(*menu.addMenu(AfxToQString(entry.item.strText)), entry.popup);
            } else {
                // "\t" separates the text from the shortcut column.
                QAction* action = menu.addAction(AfxToQString(entry.item.strText));
                action->setEnabled(entry.item.bEnabled);
                action->setCheckable(entry.item.nCheck != 0);
                action->setChecked(entry.item.nCheck != 0);
                const CCmdItemState item = entry.item;
                QObject::connect(action, &QAction::triggered, action, [this, item] {
                    AfxQtEntry([&] {
                        if (CFrameWnd* frame = Frame())
                            AfxChooseCmdItem(frame, item);
                    });
                });
            }
        }
    }

    HWND m_hWnd;
    UINT m_nIDMenu = 0;
};

class StatusBarWidget : public QStatusBar
{
public:
    using QStatusBar::QStatusBar;
    std::vector<QLabel*> panes;
};

} // namespace

QWidget* AfxQtNewFrameWidget(HWND hWnd, CFrameWnd& frame, QWidget* pParent)
{
    auto* widget = new FrameWidget(hWnd, dynamic_cast<CMDIFrameWnd*>(&frame) != nullptr, pParent);
    return widget;
}

QWidget* AfxQtNewStatusBar(QWidget* pParent)
{
    auto* frame = dynamic_cast<FrameWidget*>(pParent);
    auto* bar = new StatusBarWidget(frame ? nullptr : pParent);
    bar->setSizeGripEnabled(false);
    if (frame)
        frame->setStatusBar(bar);
    return bar;
}

bool AfxQtIsFrameWidget(const QWidget* pWidget)
{
    return dynamic_cast<const FrameWidget*>(pWidget) != nullptr;
}

bool AfxQtIsStatusBar(const QWidget* pWidget)
{
    return dynamic_cast<const StatusBarWidget*>(pWidget) != nullptr;
}

QWidget* AfxQtClientArea(QWidget* pWidget)
{
    auto* frame = dynamic_cast<FrameWidget*>(pWidget);
    return frame ? frame->centralWidget() : pWidget;
}

void AfxQtShowFrameMenu(QWidget* pFrameWidget)
{
    if (auto* frame = dynamic_cast<FrameWidget*>(pFrameWidget))
        frame->ShowMenu();
}

void AfxQtShowStatusPanes(QWidget* pBar, const std::vector<AfxListItem>& panes)
{
    auto* bar = dynamic_cast<StatusBarWidget*>(pBar);
    if (!bar)
        return;
    while (bar->panes.size() > panes.size()) {
        delete bar->panes.back();
        bar->panes.pop_back();
    }
    while (bar->panes.size() < panes.size()) {
        auto* label = new QLabel(bar);
        label->setTextFormat(Qt::PlainText);
        // Pane 0 takes the free width; the indicators keep to their text.
        if (bar->panes.empty())
            bar->addWidget(label, 1);
        else
            bar->addPermanentWidget(label);
        bar->panes.push_back(label);
    }
    for (std::size_t i = 0; i < panes.size(); ++i)
        bar->panes[i]->setText(AfxToQString(panes[i].strText));
}
