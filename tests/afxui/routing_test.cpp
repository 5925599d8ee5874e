// Command routing, update UI and re-targeted items.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/ui/core/afxui.h"

namespace
{

constexpr UINT ID_VIEW_LOG = 50001;

// A stand-in for one routing target (view, document, template, frames,
// application, dialog). It offers a command first to m_pFirst, then to its
// own map (when it handles the id), then to m_pNext: the shape the frames and
// documents give their OnCmdMsg.
class CStubTarget : public CCmdTarget
{
public:
    CStubTarget(std::string name, std::vector<std::string>& log)
        : m_name(std::move(name)), m_log(log)
    {
    }

    CCmdTarget* m_pFirst = nullptr; // not owned
    CCmdTarget* m_pNext = nullptr;  // not owned
    bool m_bHandles = true;

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        if (m_pFirst && m_pFirst->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        if (m_bHandles && CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
            return TRUE;
        return m_pNext && m_pNext->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
    }

protected:
    void OnViewLog() { m_log.push_back(m_name); }
    void OnUpdateViewLog(CCmdUI* pCmdUI)
    {
        pCmdUI->SetText(m_name.c_str());
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
    std::vector<std::string>& m_log;
};

BEGIN_MESSAGE_MAP(CStubTarget, CCmdTarget)
ON_COMMAND(ID_VIEW_LOG, OnViewLog)
ON_UPDATE_COMMAND_UI(ID_VIEW_LOG, OnUpdateViewLog)
END_MESSAGE_MAP()

struct Chain {
    std::vector<std::string> log;
    CStubTarget view{"view", log}, doc{"document", log}, templ{"template", log},
        child{"child frame", log}, main{"main frame", log}, app{"application", log},
        dialog{"dialog", log};

    Chain()
    {
        view.m_pNext = &doc;    // a view: itself, then its document
        doc.m_pNext = &templ;   // a document: itself, then its template
        child.m_pFirst = &view; // a child frame: its active view, then itself
        main.m_pFirst = &child; // the main frame: the active child, itself,
        main.m_pNext = &app;    // then the application
        dialog.m_pNext = &app;  // a dialog: itself, then the application
    }
};

TEST(RoutingTest, FirstHandlerInChainOrderWinsAndTheNextTakesOverWhenItIsRemoved)
{
    Chain chain;
    CStubTarget* order[] = {&chain.view,  &chain.doc,  &chain.templ,
                            &chain.child, &chain.main, &chain.app};
    const char* names[] = {"view",        "document",   "template",
                           "child frame", "main frame", "application"};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(names[k]);
        chain.log.clear();
        EXPECT_TRUE(chain.main.OnCmdMsg(ID_VIEW_LOG, CN_COMMAND, nullptr, nullptr));
        EXPECT_EQ(chain.log, std::vector<std::string>{names[k]});

        // The update pass walks the same chain.
        const CCmdItemState state = AfxQueryCommandUI(&chain.main, ID_VIEW_LOG);
        EXPECT_EQ(state.strText, names[k]);
        EXPECT_TRUE(state.bEnabled);
        EXPECT_EQ(state.nCheck, 1);
        order[k]->m_bHandles = false;
    }

    // Nobody handles it now: not routed, and the item comes back disabled.
    chain.log.clear();
    EXPECT_FALSE(chain.main.OnCmdMsg(ID_VIEW_LOG, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(chain.log.empty());
    const CCmdItemState state = AfxQueryCommandUI(&chain.main, ID_VIEW_LOG);
    EXPECT_FALSE(state.bEnabled);
    EXPECT_EQ(state.nCheck, 0);
    EXPECT_EQ(state.nCurrentID, ID_VIEW_LOG);
}

TEST(RoutingTest, DialogRoutesToItselfThenToTheApplication)
{
    Chain chain; // the frames handle the command too, but are not on a dialog's chain
    EXPECT_TRUE(chain.dialog.OnCmdMsg(ID_VIEW_LOG, CN_COMMAND, nullptr, nullptr));
    chain.dialog.m_bHandles = false;
    EXPECT_TRUE(chain.dialog.OnCmdMsg(ID_VIEW_LOG, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ(chain.log, (std::vector<std::string>{"dialog", "application"}));
    EXPECT_EQ(AfxQueryCommandUI(&chain.dialog, ID_VIEW_LOG).strText, "application");
}

// Update handlers of every kind, and targets that pass the update on.
class CUpdateTarget : public CCmdTarget
{
public:
    std::vector<std::pair<UINT, UINT>> m_asked; // (m_nID, m_nIndex) of range updates
    CCmdTarget* m_pNext = nullptr;              // not owned

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override
    {
        return CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo) ||
               (m_pNext && m_pNext->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo));
    }

protected:
    void OnCommand() {}
    void OnCommandRange(UINT) {}
    void OnUpdateDisable(CCmdUI* p) { p->Enable(FALSE); }
    void OnUpdateIndeterminate(CCmdUI* p) { p->SetCheck(2); }
    void OnUpdateRadio(CCmdUI* p) { p->SetRadio(); }
    void OnUpdateText(CCmdUI* p) { p->SetText("&Log Window"); }
    void OnUpdateEnableOnly(CCmdUI* p) { p->Enable(TRUE); }
    void OnUpdateCheckOnly(CCmdUI* p) { p->SetCheck(1); }
    void OnUpdateRange(CCmdUI* p) { m_asked.emplace_back(p->m_nID, p->m_nIndex); }
    void OnUpdatePassOn(CCmdUI* p)
    {
        p->SetCheck(1);
        p->ContinueRouting();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CUpdateTarget, CCmdTarget)
ON_COMMAND_RANGE(100, 103, OnCommandRange)
ON_UPDATE_COMMAND_UI(100, OnUpdateDisable)
ON_UPDATE_COMMAND_UI(101, OnUpdateIndeterminate)
ON_UPDATE_COMMAND_UI(102, OnUpdateRadio)
ON_UPDATE_COMMAND_UI(103, OnUpdateText)
ON_UPDATE_COMMAND_UI(110, OnUpdateEnableOnly) // no command handler for 110
ON_UPDATE_COMMAND_UI(111, OnUpdateCheckOnly)  // nor for 111
ON_UPDATE_COMMAND_UI_RANGE(120, 122, OnUpdateRange)
ON_COMMAND(130, OnCommand)
ON_UPDATE_COMMAND_UI(130, OnUpdatePassOn)
END_MESSAGE_MAP()

// Only an update handler for 130, as a second target.
class CTextTarget : public CCmdTarget
{
protected:
    void OnUpdate(CCmdUI* p) { p->SetText("second"); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTextTarget, CCmdTarget)
ON_UPDATE_COMMAND_UI(130, OnUpdate)
END_MESSAGE_MAP()

TEST(UpdateUiTest, HandlersSetTheItemStateAndHandlerlessItemsAreDisabled)
{
    CUpdateTarget target;
    CTextTarget second;
    target.m_pNext = &second;
    struct Case {
        UINT id;
        BOOL enabled;
        int check;
        BOOL radio;
        const char* text;
    };
    const Case cases[] =
        {
            {100, FALSE, 0, FALSE, ""},      {101, TRUE, 2, FALSE, ""},
            {102, TRUE, 1, TRUE, ""},        {103, TRUE, 0, FALSE, "&Log Window"},
            {110, TRUE, 0, FALSE, ""},       // the update handler decided
            {111, FALSE, 1, FALSE, ""},      // checked, but nothing would run it
            {112, FALSE, 0, FALSE, ""},      // no handler at all
            {130, TRUE, 1, FALSE, "second"}, // both targets updated it
        };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const CCmdItemState s = AfxQueryCommandUI(&target, c.id);
        EXPECT_EQ(s.bEnabled, c.enabled);
        EXPECT_EQ(s.nCheck, c.check);
        EXPECT_EQ(s.bRadio, c.radio);
        EXPECT_EQ(s.strText, c.text);
        EXPECT_EQ(s.nCurrentID, c.id);
    }

    // A range handler learns the id and the index of the item it updates.
    CCmdItemState items[3];
    for (UINT i = 0; i < 3; ++i) {
        items[i].nResourceID = 120 + i;
        AfxUpdateCmdItem(&target, items[i], i, 3);
    }
    EXPECT_EQ(target.m_asked, (std::vector<std::pair<UINT, UINT>>{{120, 0}, {121, 1}, {122, 2}}));
}

// The modelling view's "Repeat/Quit" item (resource id 34080): its update
// handler relabels it and re-targets it to the last tool's command.
class CModelViewStub : public CCmdTarget
{
public:
    int m_nLastTool = 0;
    bool m_bEditPending = false;
    int m_nRectangleUpdates = 0;
    std::vector<UINT> m_ran;

protected:
    void OnRepeatQuit() { m_ran.push_back(34080); }
    void OnUpdateRepeatQuit(CCmdUI* pCmdUI)
    {
        if (m_bEditPending) {
            pCmdUI->SetText("Break Edit");
        } else if (m_nLastTool == 20) {
            pCmdUI->SetText("Repeat Rectangle");
            pCmdUI->SetID(32773);
        } else if (m_nLastTool == 17) {
            pCmdUI->SetText("Repeat Quad");
            pCmdUI->SetID(32775);
        }
    }
    void OnTool(UINT nID) { m_ran.push_back(nID); }
    void OnUpdateRectangle(CCmdUI* pCmdUI)
    {
        ++m_nRectangleUpdates;
        pCmdUI->SetCheck(0);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModelViewStub, CCmdTarget)
ON_COMMAND(34080, OnRepeatQuit)
ON_UPDATE_COMMAND_UI(34080, OnUpdateRepeatQuit)
ON_COMMAND_RANGE(32772, 32777, OnTool)
ON_UPDATE_COMMAND_UI(32773, OnUpdateRectangle)
END_MESSAGE_MAP()

TEST(UpdateUiTest, RetargetedItemUpdatesByItsResourceIdAndDispatchesItsCurrentId)
{
    CModelViewStub view;
    CCmdItemState item = AfxMenuItem(34080, "Repeat/Quit").item;

    view.m_nLastTool = 20;
    AfxUpdateCmdItem(&view, item);
    EXPECT_EQ(item.strText, "Repeat Rectangle");
    EXPECT_EQ(item.nCurrentID, 32773u);
    EXPECT_TRUE(item.bEnabled);
    EXPECT_TRUE(AfxChooseCmdItem(&view, item));

    // The next pass asks 34080's handler again, which moves the item on.
    view.m_nLastTool = 17;
    AfxUpdateCmdItem(&view, item);
    EXPECT_EQ(item.strText, "Repeat Quad");
    EXPECT_EQ(item.nCurrentID, 32775u);
    EXPECT_TRUE(AfxChooseCmdItem(&view, item));

    // Without a re-target the item is 34080 again, not stuck on 32775.
    view.m_bEditPending = true;
    AfxUpdateCmdItem(&view, item);
    EXPECT_EQ(item.strText, "Break Edit");
    EXPECT_EQ(item.nCurrentID, 34080u);
    EXPECT_TRUE(AfxChooseCmdItem(&view, item));

    EXPECT_EQ(view.m_ran, (std::vector<UINT>{32773, 32775, 34080}));
    EXPECT_EQ(view.m_nRectangleUpdates, 0); // never asked about this item

    view.m_bEditPending = false;
    view.m_nLastTool = 20;
    const CCmdItemState probe = AfxQueryCommandUI(&view, 34080);
    EXPECT_EQ(probe.strText, "Repeat Rectangle");
    EXPECT_EQ(probe.nCurrentID, 32773u);

    // A disabled item is not chosen.
    item.bEnabled = FALSE;
    EXPECT_FALSE(AfxChooseCmdItem(&view, item));
    EXPECT_EQ(view.m_ran.size(), 3u);
}

} // namespace
