#include "platform/ui/qt/qtframe.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMoveEvent>
#include <QOpenGLWidget>
#include <QResizeEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QTabBar>
#include <QTimer>

#include "platform/ui/core/frame.h"
#include "platform/ui/core/input.h"
#include "platform/ui/qt/qtbars.h"
#include "platform/ui/qt/qtbusy.h"
#include "platform/ui/qt/qtglhost.h"
#include "platform/ui/qt/qtpeers.h"
#include "platform/ui/qt/qtservices.h"
#include "platform/ui/qt/qttext.h"

namespace
{

// The client area of a child frame. Qt sizes it (the area shows its
// children maximised or tabbed); the frame's panes follow its size.
class ChildClientWidget : public QWidget
{
public:
    explicit ChildClientWidget(HWND hWnd) : m_hWnd(hWnd) {}

    // A child restored or cascaded takes two thirds of the area. Its panes
    // follow its size and ask for none, so without this it would shrink to
    // its title bar and show nothing of its view.
    QSize sizeHint() const override
    {
        const QWidget* sub = parentWidget();
        const QWidget* viewport = sub ? sub->parentWidget() : nullptr;
        const QSize room = viewport ? viewport->size() * 2 / 3 : QSize();
        return room.expandedTo(QSize(400, 300));
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QWidget::resizeEvent(event);
        CWndState* state = AfxGetWndState(m_hWnd);
        if (!state || state->bDestroying)
            return;
        const QSize size = event->size();
        if (state->rect.Width() == size.width() && state->rect.Height() == size.height())
            return;
        state->rect.right = state->rect.left + size.width();
        state->rect.bottom = state->rect.top + size.height();
        const HWND hWnd = m_hWnd;
        AfxQtEntry([hWnd] {
            const CWndState* frameState = AfxGetWndState(hWnd);
            if (auto* frame = frameState ? dynamic_cast<CFrameWnd*>(frameState->Target()) : nullptr)
                frame->RecalcLayout();
        });
    }

private:
    HWND m_hWnd;
};

class ChildFrameWidget : public QMdiSubWindow
{
public:
    explicit ChildFrameWidget(HWND hWnd) : m_hWnd(hWnd)
    {
        setWidget(new ChildClientWidget(hWnd));
        setAttribute(Qt::WA_DeleteOnClose, false);
    }
    HWND Handle() const { return m_hWnd; }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The child's OnClose decides; its window going deletes this widget.
        event->ignore();
        AfxQtPostUserClose(this, m_hWnd);
    }

private:
    HWND m_hWnd;
};

// A tab shows for each child frame once it has been shown: a frame being
// made (whose document may still be refused) has none.
void ShowTabs(const QMdiArea& area)
{
    auto* tabs = area.findChild<QTabBar*>();
    if (!tabs)
        return;
    const QList<QMdiSubWindow*> subs = area.subWindowList();
    for (int i = 0; i < subs.size() && i < tabs->count(); ++i)
        if (tabs->isTabVisible(i) == subs[i]->isHidden())
            tabs->setTabVisible(i, !subs[i]->isHidden());
}

class FrameWidget : public QMainWindow
{
public:
    FrameWidget(HWND hWnd, bool bMDI, QWidget* pParent) : QMainWindow(pParent), m_hWnd(hWnd)
    {
        if (bMDI) {
            auto* area = new QMdiArea(this);
            // Every child is shown maximised by the layer and stays so. Left
            // to itself the area would restore the child it deactivates (to
            // its smallest size: a child frame has no normal geometry) and
            // stop painting until the next child's activation completes,
            // which the layer's own activation never brings about: the
            // area, its tabs and every view in it froze, and a view shrunk to
            // nothing came back black.
            area->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
            // The user's choice of a child is the layer's activation. The
            // area also activates children of its own accord: when the
            // window comes back after a dialog or message box, when a child
            // goes, when its tab bar moves on. Its choice then is not the
            // layer's, whose active child stays in front.
            QObject::connect(area, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* sub) {
                if (UserChoosing())
                    ActivateChild(sub);
                else
                    QTimer::singleShot(0, this, [this] { ShowActiveChild(); });
            });
            setCentralWidget(area);
        } else
            setCentralWidget(new QWidget(this));
        setAcceptDrops(true);
        // The OpenGL views the frame will hold draw through the window's
        // OpenGL surface. A window that gets its first OpenGL child after it
        // was shown is created again, which flickers and loses the maximised
        // state; a hidden one from the start gives the window that surface
        // at once.
        if (!pParent && AfxQtCanHostOpenGL()) {
            auto* surface = new QOpenGLWidget(this);
            surface->setFixedSize(0, 0);
            surface->hide();
        }
    }

    ~FrameWidget() override
    {
        // The area may report a last activation while this widget is half gone.
        if (auto* area = qobject_cast<QMdiArea*>(centralWidget()))
            area->disconnect(this);
    }

    // Window shortcuts for the frame's accelerator table.
    void AddAccelerators(UINT nIDResource)
    {
        const AfxAccelTable* table = AfxFindResource<AfxAccelTable>(nIDResource);
        if (!table)
            return;
        for (const ACCEL& accel : *table) {
            const QKeySequence keys = AfxQtAccelKeys(accel);
            if (keys.isEmpty())
                continue;
            auto* shortcut = new QShortcut(keys, this);
            shortcut->setContext(Qt::WindowShortcut);
            const UINT nID = accel.cmd;
            AfxQtSetCommandId(shortcut, nID);
            QObject::connect(shortcut, &QShortcut::activated, this, [this, nID] {
                AfxQtEntry([&] {
                    CFrameWnd* frame = Frame();
                    if (frame && frame->QueryCommandUI(nID).bEnabled)
                        frame->SendCommand(nID);
                });
            });
        }
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
            QObject::connect(menu, &QMenu::aboutToHide, menu, [this] { ShowPrompt(0); });
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

    // Workbook mode: the children as tabs along the bottom edge (closed by
    // their frames only); else sub-windows, each maximised.
    void ShowViewMode()
    {
        auto* area = qobject_cast<QMdiArea*>(centralWidget());
        auto* frame = dynamic_cast<CMDIFrameWnd*>(Frame());
        if (!area || !frame)
            return;
        const QMdiArea::ViewMode mode =
            frame->IsWorkbookMode() ? QMdiArea::TabbedView : QMdiArea::SubWindowView;
        if (area->viewMode() == mode)
            return;
        // A window maximised in the window mode keeps its buttons in the
        // menu bar and its title in the frame's ("Brantel - plate.plb -
        // [plate.plb]"); as tabs it has neither, so it is restored first.
        if (mode == QMdiArea::TabbedView)
            for (QMdiSubWindow* sub : area->subWindowList())
                if (sub->isMaximized())
                    sub->showNormal();
        area->setViewMode(mode);
        // Either way every child shows maximised: cascaded or tiled ones
        // would show as small windows over one another on the tabs, and a
        // child the area had left in its normal size would show a strip of
        // its view beside the one in front.
        for (QMdiSubWindow* sub : area->subWindowList())
            if (!sub->isHidden())
                sub->showMaximized();
        if (mode == QMdiArea::TabbedView) {
            area->setTabPosition(QTabWidget::South);
            area->setTabsClosable(false);
            // A tab the user picks is that document's child frame, also
            // while another application has the focus (the area then keeps
            // no active sub-window of its own). The tabs follow the
            // sub-windows' creation order.
            if (auto* tabs = area->findChild<QTabBar*>())
                QObject::connect(tabs, &QTabBar::tabBarClicked, this, [this, area](int index) {
                    ActivateChild(area->subWindowList().value(index));
                });
        }
    }

    // The layer's active child is the area's current sub-window, its tab
    // and the sub-window on top, which shows its view and takes the mouse.
    // The area may count a child as current that another one covers (one
    // shown while the window was inactive, or raised by the area itself):
    // the layer's child is raised whenever it is not the top one.
    void ShowActiveChild()
    {
        auto* area = qobject_cast<QMdiArea*>(centralWidget());
        auto* frame = dynamic_cast<CMDIFrameWnd*>(Frame());
        if (!area || !frame)
            return;
        ShowTabs(*area);
        auto* sub = qobject_cast<QMdiSubWindow*>(AfxQtWidgetOf(frame->MDIGetActive()));
        const int index = area->subWindowList().indexOf(sub);
        if (index < 0)
            return;
        if (area->currentSubWindow() != sub)
            area->setActiveSubWindow(sub);
        if (TopChild(*area) != sub)
            sub->raise();
        if (auto* tabs = area->findChild<QTabBar*>(); tabs && tabs->currentIndex() != index)
            tabs->setCurrentIndex(index);
    }

    // The user chose a sub-window (its tab, a click, the keyboard): the
    // layer activates its child frame, whose menu then shows.
    void ActivateChild(QMdiSubWindow* sub)
    {
        if (auto* child = dynamic_cast<ChildFrameWidget*>(sub))
            AfxQtEntry([child] {
                const CWndState* state = AfxGetWndState(child->Handle());
                if (auto* frame = state ? dynamic_cast<CMDIChildWnd*>(state->Target()) : nullptr)
                    frame->MDIActivate();
            });
        ShowMenu(); // the active child's menu, or the frame's own
    }

    // A child's choice that comes from the user: a click on its tab or its
    // window, or the area's own Ctrl+Tab, while no dialog or menu is up.
    bool UserChoosing() const
    {
        return !QApplication::activeModalWidget() && !QApplication::activePopupWidget() &&
               (QGuiApplication::mouseButtons() != Qt::NoButton ||
                QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier));
    }

    // The visible sub-window on top of the others, or null.
    static QMdiSubWindow* TopChild(const QMdiArea& area)
    {
        const QList<QMdiSubWindow*> stack = area.subWindowList(QMdiArea::StackingOrder);
        for (auto it = stack.rbegin(); it != stack.rend(); ++it)
            if (!(*it)->isHidden())
                return *it;
        return nullptr;
    }

    // Cascade, Tile or Arrange of the sub-windows.
    void ArrangeChildren(UINT nCommand)
    {
        auto* area = qobject_cast<QMdiArea*>(centralWidget());
        if (!area || area->viewMode() != QMdiArea::SubWindowView)
            return;
        if (nCommand == ID_WINDOW_TILE_HORZ)
            area->tileSubWindows();
        else
            area->cascadeSubWindows();
    }

protected:
    void closeEvent(QCloseEvent* event) override
    {
        // The frame's OnClose decides; its window going deletes this widget.
        event->ignore();
        AfxQtPostUserClose(this, m_hWnd);
    }

    // Moves, resizes and maximise/restore by the user or the window manager
    // go back to the layer, which saves them as the window's placement.
    void moveEvent(QMoveEvent* event) override
    {
        QMainWindow::moveEvent(event);
        ReportPlacement();
    }
    void resizeEvent(QResizeEvent* event) override
    {
        QMainWindow::resizeEvent(event);
        ReportPlacement();
        // Once this resize is laid out, the toolbars wrap to the new width.
        QTimer::singleShot(0, this, [this] { AfxQtFitToolBars(this); });
    }
    void changeEvent(QEvent* event) override
    {
        QMainWindow::changeEvent(event);
        if (event->type() == QEvent::WindowStateChange)
            ReportPlacement();
    }

    void dragEnterEvent(QDragEnterEvent* event) override
    {
        if (!DroppedFiles(event->mimeData()).empty())
            event->acceptProposedAction();
    }

    void dropEvent(QDropEvent* event) override
    {
        const std::vector<CString> paths = DroppedFiles(event->mimeData());
        if (paths.empty())
            return;
        event->acceptProposedAction();
        AfxQtEntry([&] {
            if (CFrameWnd* frame = Frame())
                frame->DropFiles(paths);
        });
    }

private:
    // The layer's rectangle is the restored (normal) one while the frame is
    // maximised; WS_MAXIMIZE tells which it shows. Its corner is the frame's
    // (as move() takes it) in both states: the normal geometry is the client
    // area's, so it goes back by the frame's margin, or a window closed
    // maximised would creep by its title bar at every start.
    void ReportPlacement()
    {
        CWndState* state = AfxGetWndState(m_hWnd);
        if (!state || state->bDestroying)
            return;
        const bool zoomed = isMaximized();
        const QRect normal = zoomed ? normalGeometry().translated(pos() - geometry().topLeft())
                                    : QRect(pos(), size());
        if (normal.isValid())
            state->rect = CRect(normal.left(), normal.top(), normal.left() + normal.width(),
                                normal.top() + normal.height());
        state->dwStyle = zoomed ? (state->dwStyle | WS_MAXIMIZE) : (state->dwStyle & ~WS_MAXIMIZE);
    }

    // The local files among dropped data, as file-system bytes.
    static std::vector<CString> DroppedFiles(const QMimeData* data)
    {
        std::vector<CString> paths;
        if (data && data->hasUrls())
            for (const QUrl& url : data->urls())
                if (url.isLocalFile())
                    paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
        return paths;
    }

    void ShowPrompt(UINT nID)
    {
        AfxQtEntry([&] {
            if (CFrameWnd* frame = Frame())
                frame->ShowCommandPrompt(nID);
        });
    }

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
                AfxQtSetCommandId(action, entry.item.nCurrentID);
                action->setChecked(entry.item.nCheck != 0);
                const CCmdItemState item = entry.item;
                QObject::connect(action, &QAction::hovered, action,
                                 [this, item] { ShowPrompt(item.nCurrentID); });
                // The command runs once the menu has finished with the
                // action: it may close the window that holds the menu
                // (File > Exit), which deletes the menu.
                const HWND hWnd = m_hWnd;
                QObject::connect(action, &QAction::triggered, action, [hWnd, item] {
                    QMetaObject::invokeMethod(
                        qApp,
                        [hWnd, item] {
                            AfxQtEntry([&] {
                                if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(hWnd)))
                                    AfxChooseCmdItem(frame, item);
                            });
                        },
                        Qt::QueuedConnection);
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
    widget->AddAccelerators(frame.GetResourceID());
    return widget;
}

QKeySequence AfxQtAccelKeys(const ACCEL& accel)
{
    int key = 0;
    const UINT vk = accel.key;
    if (!(accel.fVirt & FVIRTKEY)) {
        key = vk; // a character
    } else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
        key = static_cast<int>(vk);
    } else if (vk >= VK_F1 && vk <= VK_F12) {
        key = Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    } else {
        struct Named {
            UINT vk;
            Qt::Key key;
        };
        static const Named named[] = {
            {VK_BACK, Qt::Key_Backspace}, {VK_TAB, Qt::Key_Tab},       {VK_RETURN, Qt::Key_Return},
            {VK_ESCAPE, Qt::Key_Escape},  {VK_SPACE, Qt::Key_Space},   {VK_PRIOR, Qt::Key_PageUp},
            {VK_NEXT, Qt::Key_PageDown},  {VK_END, Qt::Key_End},       {VK_HOME, Qt::Key_Home},
            {VK_LEFT, Qt::Key_Left},      {VK_UP, Qt::Key_Up},         {VK_RIGHT, Qt::Key_Right},
            {VK_DOWN, Qt::Key_Down},      {VK_INSERT, Qt::Key_Insert}, {VK_DELETE, Qt::Key_Delete},
            {VK_ADD, Qt::Key_Plus},       {VK_SUBTRACT, Qt::Key_Minus}, {VK_MULTIPLY, Qt::Key_Asterisk},
            {VK_DIVIDE, Qt::Key_Slash},
        };
        for (const Named& n : named)
            if (n.vk == vk)
                key = n.key;
    }
    if (key == 0)
        return QKeySequence();
    if (accel.fVirt & FCONTROL)
        key |= Qt::CTRL;
    if (accel.fVirt & FSHIFT)
        key |= Qt::SHIFT;
    if (accel.fVirt & FALT)
        key |= Qt::ALT;
    return QKeySequence(key);
}

QWidget* AfxQtNewChildFrame(HWND hWnd, QWidget* pParent)
{
    auto* child = new ChildFrameWidget(hWnd);
    if (auto* area = qobject_cast<QMdiArea*>(pParent)) {
        area->addSubWindow(child);
        ShowTabs(*area);
        // Shown maximised; restored (its restore button) it comes back to
        // this size.
        child->resize(child->sizeHint());
    } else
        child->setParent(pParent);
    return child;
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

bool AfxQtIsChildFrame(const QWidget* pWidget)
{
    return dynamic_cast<const ChildFrameWidget*>(pWidget) != nullptr;
}

void AfxQtShowChildFrame(QWidget* pWidget)
{
    // As windows, a child shows as the one in front does: maximised over
    // maximised ones, in its own size among cascaded or tiled ones (one
    // maximised there would lie over the others while the window list
    // brings a smaller one on top of it). As tabs every child is maximised.
    auto* sub = qobject_cast<QMdiSubWindow*>(pWidget);
    QMdiArea* area = sub ? sub->mdiArea() : nullptr;
    if (area && area->viewMode() == QMdiArea::SubWindowView) {
        QMdiSubWindow* front = area->currentSubWindow();
        if (front && front != sub && !front->isHidden() && !front->isMaximized()) {
            pWidget->show();
            return;
        }
    }
    pWidget->showMaximized();
}

QWidget* AfxQtClientArea(QWidget* pWidget)
{
    if (auto* frame = dynamic_cast<FrameWidget*>(pWidget))
        return frame->centralWidget();
    if (auto* child = dynamic_cast<ChildFrameWidget*>(pWidget))
        return child->widget();
    return pWidget;
}

void AfxQtShowFrameMenu(QWidget* pFrameWidget)
{
    if (auto* frame = dynamic_cast<FrameWidget*>(pFrameWidget))
        frame->ShowMenu();
}

void AfxQtShowFrameState(QWidget* pFrameWidget)
{
    if (auto* frame = dynamic_cast<FrameWidget*>(pFrameWidget)) {
        frame->ShowMenu();
        frame->ShowViewMode();
        frame->ShowActiveChild();
    }
}

void AfxQtArrangeChildFrames(QWidget* pFrameWidget, UINT nCommand)
{
    if (auto* frame = dynamic_cast<FrameWidget*>(pFrameWidget))
        frame->ArrangeChildren(nCommand);
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
