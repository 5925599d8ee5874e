#include "platform/ui/qt/qtbars.h"

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDockWidget>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QPainter>
#include <QPixmap>
#include <QPointer>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QWidgetAction>

#include "platform/ui/core/bars.h"
#include "platform/ui/core/frame.h"
#include "platform/ui/core/input.h"
#include "platform/ui/core/resources.h"
#include "platform/ui/core/toolbarmgr.h"
#include "platform/ui/qt/qtbusy.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qttext.h"

namespace
{

constexpr const char* kLaidOut = "afxQtLaidOut";
constexpr int kIdleMilliseconds = 50;
constexpr int kLayoutVersion = 1;

// The layer's window of a handle, as a T, or null once it is gone.
template <class T>
T* LayerWindow(HWND hWnd)
{
    const CWndState* state = AfxGetWndState(hWnd);
    return state ? dynamic_cast<T*>(state->Target()) : nullptr;
}

// The frame a control bar belongs to.
CFrameWnd* FrameOf(HWND hBar)
{
    CWnd* bar = CWnd::FromHandle(hBar);
    return bar ? dynamic_cast<CFrameWnd*>(bar->GetParent()) : nullptr;
}

Qt::ToolBarArea ToolBarArea(UINT nDockBarID)
{
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_LEFT:
        return Qt::LeftToolBarArea;
    case AFX_IDW_DOCKBAR_RIGHT:
        return Qt::RightToolBarArea;
    case AFX_IDW_DOCKBAR_BOTTOM:
        return Qt::BottomToolBarArea;
    default:
        return Qt::TopToolBarArea;
    }
}

Qt::DockWidgetArea DockArea(UINT nDockBarID)
{
    switch (nDockBarID) {
    case AFX_IDW_DOCKBAR_TOP:
        return Qt::TopDockWidgetArea;
    case AFX_IDW_DOCKBAR_LEFT:
        return Qt::LeftDockWidgetArea;
    case AFX_IDW_DOCKBAR_RIGHT:
        return Qt::RightDockWidgetArea;
    default:
        return Qt::BottomDockWidgetArea;
    }
}

// The areas of a docking style (CBRS_ALIGN_*); none given allows all.
template <class Areas>
Areas AllowedAreas(DWORD dwDockStyle, Areas top, Areas left, Areas right, Areas bottom, Areas all)
{
    if ((dwDockStyle & CBRS_ALIGN_ANY) == 0)
        return all;
    Areas areas;
    if (dwDockStyle & CBRS_ALIGN_TOP)
        areas |= top;
    if (dwDockStyle & CBRS_ALIGN_LEFT)
        areas |= left;
    if (dwDockStyle & CBRS_ALIGN_RIGHT)
        areas |= right;
    if (dwDockStyle & CBRS_ALIGN_BOTTOM)
        areas |= bottom;
    return areas;
}

// The user hid or showed the bar (its close button, the bars' context menu,
// a restored layout): the layer's window follows.
void FollowUserVisibility(QWidget* pBar, HWND hWnd)
{
    const bool shown = !pBar->isHidden();
    AfxQtEntry([&] {
        CWnd* bar = CWnd::FromHandle(hWnd);
        if (bar && ((bar->GetStyle() & WS_VISIBLE) != 0) != shown)
            bar->ShowWindow(shown ? SW_SHOW : SW_HIDE);
    });
}

QIcon ButtonIcon(UINT nID, const QSize& size)
{
    // Drawn at the screen's pixel ratio, so SVG art stays sharp.
    return QIcon(AfxQtArtPixmap(nID, size, qApp ? qApp->devicePixelRatio() : 1.0));
}

// Return in a toolbar combo's line edit is the layer's Return there, and
// goes no further (the combo would hand it to the line edit once more).
class ReturnFilter : public QObject
{
public:
    ReturnFilter(HWND hCombo, QObject* pParent) : QObject(pParent), m_hCombo(hCombo) {}

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        AfxQtEntry([this] { AfxUserDialogKey(m_hCombo, VK_RETURN); });
        return true;
    }

private:
    HWND m_hCombo;
};

class ToolBarWidget : public QToolBar
{
public:
    ToolBarWidget(HWND hWnd, QWidget* pParent) : QToolBar(pParent), m_hWnd(hWnd)
    {
        setMovable(true);
        setFloatable(true);
        setIconSize(QSize(16, 15));
        QObject::connect(this, &QToolBar::visibilityChanged, this,
                         [this] { FollowUserVisibility(this, m_hWnd); });
        m_idle.setInterval(kIdleMilliseconds);
        QObject::connect(&m_idle, &QTimer::timeout, this, [this] {
            if (isVisible())
                UpdateButtons();
        });
        m_idle.start();
    }

    // Makes an action per button, and puts the combo in place of a combo
    // button once the manager made it.
    void ShowButtons()
    {
        const CToolBar* bar = LayerWindow<CToolBar>(m_hWnd);
        if (!bar)
            return;
        const std::vector<UINT>& buttons = bar->GetDefinition().buttons;
        if (m_actions.size() != buttons.size()) {
            for (QAction* action : m_actions)
                delete action;
            m_actions.clear();
            for (UINT nID : buttons)
                m_actions.push_back(nID == ID_SEPARATOR ? addSeparator() : NewButton(nID));
        }
        for (std::size_t i = 0; i < buttons.size(); ++i) {
            CComboBox* combo = bar->GetButtonCombo(buttons[i]);
            QWidget* widget = combo ? AfxQtWidgetOf(combo) : nullptr;
            auto* held = qobject_cast<QWidgetAction*>(m_actions[i]);
            if (!widget || (held && held->defaultWidget() == widget))
                continue;
            auto* action = new QWidgetAction(this);
            CRect rect;
            combo->GetWindowRect(rect);
            widget->setMinimumWidth(rect.Width());
            AfxQtSetLaidOut(widget);
            action->setDefaultWidget(widget);
            insertAction(m_actions[i], action);
            delete m_actions[i];
            m_actions[i] = action;
            // The keys reach the box or, through it, its edit field.
            if (auto* box = qobject_cast<QComboBox*>(widget); box && box->lineEdit()) {
                auto* filter = new ReturnFilter(combo->GetSafeHwnd(), box);
                box->installEventFilter(filter);
                box->lineEdit()->installEventFilter(filter);
            }
            widget->setVisible((combo->GetStyle() & WS_VISIBLE) != 0);
            // The combo's tip names what it sets.
            CString tip;
            if (AfxLoadCommandStrings(buttons[i], nullptr, &tip))
                widget->setToolTip(AfxToQString(tip));
        }
        if (QWidget* frame = parentWidget())
            QTimer::singleShot(0, frame, [frame] { AfxQtFitToolBars(frame); });
    }

    // Update UI over the plain buttons: enabled, and pressed when checked.
    void UpdateButtons()
    {
        AfxQtEntry([this] {
            CFrameWnd* frame = FrameOf(m_hWnd);
            if (!frame)
                return;
            for (QAction* action : m_actions) {
                if (action->isSeparator() || qobject_cast<QWidgetAction*>(action))
                    continue;
                const CCmdItemState item = frame->QueryCommandUI(action->data().toUInt());
                action->setEnabled(item.bEnabled);
                action->setCheckable(item.nCheck != 0);
                action->setChecked(item.nCheck != 0);
            }
        });
    }

    // The manager's button size (16 x 15 or 30 x 30) and tooltips switch.
    void ShowButtonStyle()
    {
        const CToolBar* bar = LayerWindow<CToolBar>(m_hWnd);
        if (!bar)
            return;
        m_bToolTips = bar->ToolTipsEnabled();
        const QSize size = bar->IsLargeButtons() ? QSize(30, 30) : QSize(16, 15);
        if (size == iconSize())
            return;
        setIconSize(size);
        for (QAction* action : m_actions)
            if (!action->isSeparator() && !qobject_cast<QWidgetAction*>(action))
                action->setIcon(ButtonIcon(action->data().toUInt(), size));
    }
    bool ToolTipsShown() const { return m_bToolTips; }

    HWND Handle() const { return m_hWnd; }
    DWORD m_dwAppliedDockStyle = ~DWORD(0);
    UINT m_nAppliedDockBar = ~0u;

protected:
    void leaveEvent(QEvent* event) override
    {
        ShowPrompt(0);
        QToolBar::leaveEvent(event);
    }

    // A button's tooltip shows only while tooltips are on.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        return event->type() == QEvent::ToolTip ? !m_bToolTips
                                                 : QToolBar::eventFilter(watched, event);
    }

private:
    QAction* NewButton(UINT nID)
    {
        CString tip;
        AfxLoadCommandStrings(nID, nullptr, &tip);
        QAction* action = addAction(ButtonIcon(nID, iconSize()), AfxToQString(tip));
        action->setData(nID);
        AfxQtSetCommandId(action, nID); // Stop's button stays usable while busy
        action->setToolTip(AfxToQString(tip));
        QObject::connect(action, &QAction::hovered, this, [this, nID] { ShowPrompt(nID); });
        if (QWidget* button = widgetForAction(action))
            button->installEventFilter(this);
        QObject::connect(action, &QAction::triggered, this, [this, nID] {
            AfxQtEntry([this, nID] {
                if (CFrameWnd* frame = FrameOf(m_hWnd)) {
                    const CCmdItemState item = frame->QueryCommandUI(nID);
                    if (item.bEnabled)
                        AfxChooseCmdItem(frame, item);
                }
            });
            UpdateButtons(); // a toggled button shows the layer's check again
        });
        return action;
    }

    void ShowPrompt(UINT nID)
    {
        AfxQtEntry([this, nID] {
            if (CFrameWnd* frame = FrameOf(m_hWnd))
                frame->ShowCommandPrompt(nID);
        });
    }

    HWND m_hWnd;
    std::vector<QAction*> m_actions; // one per button (owned by the toolbar)
    QTimer m_idle;
    bool m_bToolTips = true;
};

class DockBarWidget : public QDockWidget
{
public:
    DockBarWidget(HWND hWnd, QWidget* pParent) : QDockWidget(pParent), m_hWnd(hWnd)
    {
        setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable |
                    QDockWidget::DockWidgetClosable);
        QObject::connect(this, &QDockWidget::visibilityChanged, this,
                         [this] { FollowUserVisibility(this, m_hWnd); });
    }
    HWND Handle() const { return m_hWnd; }
    DWORD m_dwAppliedDockStyle = ~DWORD(0);
    UINT m_nAppliedDockBar = ~0u;
    CSize m_appliedSize;

private:
    HWND m_hWnd;
};

class TabWindowWidget : public QTabWidget
{
public:
    TabWindowWidget(HWND hWnd, QWidget* pParent) : QTabWidget(pParent)
    {
        setTabPosition(QTabWidget::South);
        // A tab the user picks is the layer's active tab.
        QObject::connect(this, &QTabWidget::currentChanged, this, [hWnd](int nTab) {
            AfxQtEntry([hWnd, nTab] {
                if (CTabWnd* tabs = LayerWindow<CTabWnd>(hWnd))
                    tabs->ActivateTab(nTab);
            });
        });
    }
};

// Puts a toolbar or dock into its frame's area when the layer's dock bar or
// docking style changed since the last time.
void ShowPlace(ToolBarWidget& bar, QMainWindow* frame, const CControlBar& layer)
{
    if (bar.m_dwAppliedDockStyle != layer.m_dwDockStyle) {
        bar.m_dwAppliedDockStyle = layer.m_dwDockStyle;
        bar.setAllowedAreas(AllowedAreas<Qt::ToolBarAreas>(
            layer.m_dwDockStyle, Qt::TopToolBarArea, Qt::LeftToolBarArea, Qt::RightToolBarArea,
            Qt::BottomToolBarArea, Qt::AllToolBarAreas));
    }
    if (frame && bar.m_nAppliedDockBar != layer.m_nDockBarID) {
        bar.m_nAppliedDockBar = layer.m_nDockBarID;
        frame->addToolBar(ToolBarArea(layer.m_nDockBarID), &bar);
    }
}

void ShowPlace(DockBarWidget& dock, QMainWindow* frame, const CControlBar& layer)
{
    if (dock.m_dwAppliedDockStyle != layer.m_dwDockStyle) {
        dock.m_dwAppliedDockStyle = layer.m_dwDockStyle;
        dock.setAllowedAreas(AllowedAreas<Qt::DockWidgetAreas>(
            layer.m_dwDockStyle, Qt::TopDockWidgetArea, Qt::LeftDockWidgetArea,
            Qt::RightDockWidgetArea, Qt::BottomDockWidgetArea, Qt::AllDockWidgetAreas));
    }
    if (!frame)
        return;
    const Qt::DockWidgetArea area = DockArea(layer.m_nDockBarID);
    if (dock.m_nAppliedDockBar != layer.m_nDockBarID) {
        dock.m_nAppliedDockBar = layer.m_nDockBarID;
        frame->addDockWidget(area, &dock);
    }
    if (dock.m_appliedSize != layer.m_size) {
        dock.m_appliedSize = layer.m_size;
        const bool across = area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
        const int extent = across ? layer.m_size.cy : layer.m_size.cx;
        if (extent > 0)
            frame->resizeDocks({&dock}, {extent}, across ? Qt::Vertical : Qt::Horizontal);
    }
}

} // namespace

QWidget* AfxQtNewControlBar(HWND hWnd, CControlBar& bar, QWidget* pFrame)
{
    auto* frame = qobject_cast<QMainWindow*>(pFrame);
    QWidget* widget = nullptr;
    if (dynamic_cast<CToolBar*>(&bar)) {
        auto* toolbar = new ToolBarWidget(hWnd, pFrame);
        ShowPlace(*toolbar, frame, bar);
        widget = toolbar;
    } else {
        auto* dock = new DockBarWidget(hWnd, pFrame);
        ShowPlace(*dock, frame, bar);
        widget = dock;
    }
    // Named by the bar id: the saved layout finds its bars by name.
    widget->setObjectName(QStringLiteral("bar%1").arg(bar.GetDlgCtrlID()));
    AfxQtSetLaidOut(widget);
    return widget;
}

QWidget* AfxQtNewTabWindow(HWND hWnd, QWidget* pParent)
{
    return new TabWindowWidget(hWnd, pParent);
}

bool AfxQtIsControlBar(const QWidget* pWidget)
{
    return dynamic_cast<const ToolBarWidget*>(pWidget) ||
           dynamic_cast<const DockBarWidget*>(pWidget);
}

bool AfxQtIsTabWindow(const QWidget* pWidget)
{
    return dynamic_cast<const TabWindowWidget*>(pWidget) != nullptr;
}

void AfxQtShowControlBar(QWidget* pBar, const CWndState& state, UINT nChanges)
{
    const auto* layer = dynamic_cast<const CControlBar*>(state.Target());
    if (!layer)
        return;
    auto* frame = qobject_cast<QMainWindow*>(pBar->parentWidget());
    if (nChanges & PEER_TEXT)
        pBar->setWindowTitle(AfxToQString(state.strText));
    if (auto* toolbar = dynamic_cast<ToolBarWidget*>(pBar)) {
        if (nChanges & PEER_STYLE) {
            ShowPlace(*toolbar, frame, *layer);
            toolbar->ShowButtonStyle();
        }
        if (nChanges & PEER_ITEMS)
            toolbar->ShowButtons();
    } else if (auto* dock = dynamic_cast<DockBarWidget*>(pBar)) {
        if (nChanges & PEER_STYLE)
            ShowPlace(*dock, frame, *layer);
    }
}

void AfxQtShowTabs(QWidget* pTabs, const CWndState& state)
{
    auto* tabs = qobject_cast<QTabWidget*>(pTabs);
    const auto* layer = dynamic_cast<const CTabWnd*>(state.Target());
    if (!tabs || !layer)
        return;
    const QSignalBlocker block(tabs);
    for (int i = 0; i < layer->GetTabCount(); ++i) {
        QWidget* page = AfxQtWidgetOf(layer->GetTabWnd(i));
        if (!page)
            continue;
        const QString label = AfxToQString(layer->GetTabLabel(i));
        const int at = tabs->indexOf(page);
        if (at < 0) {
            AfxQtSetLaidOut(page);
            tabs->insertTab(i, page, label);
        } else {
            tabs->setTabText(at, label);
        }
    }
    CWnd* active = nullptr;
    layer->GetActiveTab(&active);
    if (QWidget* page = AfxQtWidgetOf(active); page && tabs->indexOf(page) >= 0) {
        tabs->setCurrentWidget(page);
        // The page takes the tabs' room at once, not at the next layout
        // pass: a page never shown before still had its first size, and
        // text written into it now (a failed run's reason) scrolled out of
        // sight when the page grew.
        if (QWidget* stack = page->parentWidget(); stack && page->geometry() != stack->contentsRect())
            page->setGeometry(stack->contentsRect());
    }
}

void AfxQtUpdateToolBars(QWidget* pFrame)
{
    if (!pFrame)
        return;
    for (ToolBarWidget* bar : pFrame->findChildren<ToolBarWidget*>())
        bar->UpdateButtons();
}

void AfxQtFitToolBars(QWidget* pFrame)
{
    auto* frame = qobject_cast<QMainWindow*>(pFrame);
    if (!frame)
        return;
    const QList<QToolBar*> all = frame->findChildren<QToolBar*>(Qt::FindDirectChildrenOnly);
    const int room = frame->width() - 4;
    for (const Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::BottomToolBarArea}) {
        // The area's bars in their order: row by row, left to right (the
        // order they were added in while none is placed yet).
        QList<QToolBar*> bars;
        for (QToolBar* bar : all)
            if (!bar->isHidden() && !bar->isFloating() && frame->toolBarArea(bar) == area)
                bars.push_back(bar);
        if (bars.isEmpty())
            continue;
        if (frame->isVisible())
            std::stable_sort(bars.begin(), bars.end(), [](const QToolBar* a, const QToolBar* b) {
                return a->y() != b->y() ? a->y() < b->y() : a->x() < b->x();
            });
        // Each row takes bars while their full widths fit, on every resize:
        // a wider window takes the bars of a wrapped row back.
        int used = 0;
        for (int i = 0; i < bars.size(); ++i) {
            const int width = bars[i]->sizeHint().width();
            const bool wrap = i > 0 && used + width > room;
            used = wrap ? width : used + width;
            if (wrap != frame->toolBarBreak(bars[i])) {
                if (wrap)
                    frame->insertToolBarBreak(bars[i]);
                else
                    frame->removeToolBarBreak(bars[i]);
            }
        }
    }
    // The view keeps at least half of the client area: as much as the bars,
    // docks and status bar around it take.
    QWidget* central = frame->centralWidget();
    if (central && frame->isVisible()) {
        const int menu = frame->menuWidget() ? frame->menuWidget()->height() : 0;
        const int others = frame->height() - menu - central->height();
        if (others > 0 && central->minimumHeight() != others)
            central->setMinimumHeight(others);
    }
}

void AfxQtSetLaidOut(QWidget* pWidget)
{
    pWidget->setProperty(kLaidOut, true);
}

bool AfxQtIsLaidOut(const QWidget* pWidget)
{
    return pWidget->property(kLaidOut).toBool();
}

std::vector<BYTE> AfxQtSaveBarLayout(QWidget* pFrame)
{
    auto* frame = qobject_cast<QMainWindow*>(pFrame);
    if (!frame)
        return {};
    const QByteArray bytes = frame->saveState(kLayoutVersion);
    return std::vector<BYTE>(bytes.begin(), bytes.end());
}

void AfxQtRestoreBarLayout(QWidget* pFrame, const std::vector<BYTE>& layout)
{
    if (auto* frame = qobject_cast<QMainWindow*>(pFrame))
        frame->restoreState(QByteArray(reinterpret_cast<const char*>(layout.data()),
                                       static_cast<qsizetype>(layout.size())),
                            kLayoutVersion);
}
