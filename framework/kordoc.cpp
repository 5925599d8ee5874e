#include "framework/kordoc.h"

#include "framework/korapp.h"
#include "geometry/edge.h"
#include "geometry/graph.h"
#include "geometry/snode.h"
#include "sections/regions/sectcomp.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <system_error>
#include <utility>

IMPLEMENT_DYNAMIC(KorDoc, COGLPrintDoc)
IMPLEMENT_DYNAMIC(KorDocSectComp, KorDoc)

// ---- KorDoc ---------------------------------------------------------------------

BOOL KorDoc::OnNewDocument()
{
    return COGLPrintDoc::OnNewDocument() ? TRUE : FALSE;
}

bool KorDoc::GetMaxMinActVal(double& max, double& min)
{
    max = 0.0;
    min = 0.0;
    return false;
}

int KorDoc::EditNodes(CObList&)
{
    return 0;
}

void KorDoc::EditMaterial(int)
{
    GetMaterialList();
}

void KorDoc::UpdateStatics(bool restore)
{
    if (restore) {
        CGraph::lIDGraph = m_nGraphID;
        CEdge::lIDedge = m_nEdgeID;
        CSNode::lIDnode = m_nNodeID;
    } else {
        m_nGraphID = CGraph::lIDGraph;
        m_nEdgeID = CEdge::lIDedge;
        m_nNodeID = CSNode::lIDnode;
    }
}

void KorDoc::RemoveSelected(CObject* object, CView* except)
{
    for (POSITION pos = GetFirstViewPosition(); pos;) {
        CView* view = GetNextView(pos);
        if (view == except)
            continue;
        if (auto* selecting = dynamic_cast<KorSelectingView*>(view))
            selecting->RemoveSelected(object);
    }
}

CString KorDoc::ActivateLogDir(bool stay)
{
    char remembered[PATH_MAX] = "";
    const bool haveOld = getcwd(remembered, sizeof remembered) != nullptr;
    KorApp* app = dynamic_cast<KorApp*>(AfxGetApp());
    const CString folder = app ? app->GetSettingsFolder() : CString();
    const CString path = folder + "Ext/log";
    // The settings folder itself may not exist yet (a first start): the
    // whole chain is made, so that a run never writes its logs into the
    // folder the process happened to be started from.
    std::error_code ignored;
    std::filesystem::create_directories(static_cast<LPCTSTR>(path), ignored);
    (void)chdir(path);
    if (!stay && haveOld)
        (void)chdir(remembered);
    return path;
}

// ---- KorDocSectComp -------------------------------------------------------------

BEGIN_MESSAGE_MAP(KorDocSectComp, KorDoc)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
ON_COMMAND(ID_EDIT_REDO, OnEditRedo)
ON_UPDATE_COMMAND_UI(ID_EDIT_REDO, OnUpdateEditRedo)
END_MESSAGE_MAP()

KorDocSectComp::~KorDocSectComp()
{
    if (CGraph::m_pNodeList == m_pNodeList)
        CGraph::m_pNodeList = nullptr;
    ReleaseCopies();
    // The model is gone by now and with it the nodes of its graphs: only
    // the list itself is left to free.
    delete m_pNodeList;
    m_pNodeList = nullptr;
}

BOOL KorDocSectComp::OnNewDocument()
{
    return KorDoc::OnNewDocument() ? TRUE : FALSE;
}

void KorDocSectComp::DeleteNodeList(NODELIST*& list)
{
    if (!list)
        return;
    for (int i = 0; i < list->m_nCount; ++i)
        if (list->m_pNodes[i] && list->m_pNodes[i]->GetGraphCount() == 0)
            delete list->m_pNodes[i];
    delete list;
    list = nullptr;
}

void KorDocSectComp::ReleaseCopies()
{
    // The list first: its nodes that a copy's graph holds die with the copy.
    DeleteNodeList(m_pUndoNodeList);
    DeleteModel(m_pRedoComp);
    DeleteModel(m_pUndoComp);
}

void KorDocSectComp::DeleteModel(CSectComp*& model)
{
    delete model;
    model = nullptr;
}

double KorDocSectComp::GetValScale()
{
    return m_pSectComp ? m_pSectComp->GetFactor() : 0.0;
}

bool KorDocSectComp::IsEmpty()
{
    return !m_pSectComp || m_pSectComp->GetCount() == 0;
}

void KorDocSectComp::Rotate(double angle, double cx, double cy, unsigned mode, bool update)
{
    if (m_pSectComp)
        m_pSectComp->Rotate(angle, cx, cy, mode, update);
}

void KorDocSectComp::UpdateUndo(bool take)
{
    if (!m_pSectComp)
        return;
    ReleaseCopies();
    // An empty model is copied too: the first edit of a new model (a first
    // region drawn or imported) is undone back to the empty model.
    if (take) {
        // The nodes first, identifiers kept: the copied regions pick these
        // copies up through the nodes' copy links.
        if (m_pNodeList) {
            m_pUndoNodeList = new NODELIST;
            m_pUndoNodeList->Reserve(m_pNodeList->m_nCount);
            // Each copy is new: appended without the list's duplicate search.
            for (int i = 0; i < m_pNodeList->m_nCount; ++i)
                if (CSNode* node = m_pNodeList->m_pNodes[i])
                    m_pUndoNodeList->m_pNodes[m_pUndoNodeList->m_nCount++] = node->Copy(true);
        }
        CObject* made = m_pSectComp->GetRuntimeClass()->CreateObject();
        m_pUndoComp = dynamic_cast<CSectComp*>(made);
        if (!m_pUndoComp)
            delete made;
        else
            m_pSectComp->Copy(m_pUndoComp, true);
        // No node may keep a link into the copy: a node that no region
        // holds would otherwise point into a list the next snapshot deletes.
        if (m_pNodeList)
            for (int i = 0; i < m_pNodeList->m_nCount; ++i)
                if (CSNode* node = m_pNodeList->m_pNodes[i])
                    node->RemoveCopyNode(true);
    }
    m_nUndoGraphID = CGraph::lIDGraph;
}

CSectComp* KorDocSectComp::SwapModel(CSectComp*& other)
{
    if (CGraph::lIDGraph < m_nUndoGraphID)
        CGraph::lIDGraph = m_nUndoGraphID;
    RemoveSelected(nullptr, nullptr);
    std::swap(m_pNodeList, m_pUndoNodeList);
    CGraph::m_pNodeList = m_pNodeList;
    CSectComp* former = m_pSectComp;
    m_pSectComp = other;
    other = nullptr;
    return former;
}

bool KorDocSectComp::Undo()
{
    if (!m_pUndoComp)
        return false;
    CSectComp* former = SwapModel(m_pUndoComp);
    m_pRedoComp = former;
    ModelChanged(former);
    if (m_pRedoComp && m_pRedoComp->GetCount() == 0)
        DeleteModel(m_pRedoComp);
    SetModifiedFlag(TRUE);
    return true;
}

bool KorDocSectComp::Redo()
{
    if (!m_pRedoComp)
        return false;
    CSectComp* former = SwapModel(m_pRedoComp);
    m_pUndoComp = former;
    ModelChanged(former);
    SetModifiedFlag(TRUE);
    return true;
}

void KorDocSectComp::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pUndoComp != nullptr);
}

void KorDocSectComp::OnUpdateEditRedo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pRedoComp != nullptr);
}
