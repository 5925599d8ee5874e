#include "dialogs/numlistpages.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/pagehelpers.h"
#include "platform/afx/numconv.h"

IMPLEMENT_DYNCREATE(VokLGNumberList, CPropertyPage)
IMPLEMENT_DYNCREATE(VokPPNamedNumListsEdit, VokLGNumberList)
IMPLEMENT_DYNAMIC(VokDlgString, CDialog)

namespace
{

// Every number of every line, as texts, in reading order.
std::vector<std::string> NumberTokens(const CListEditCtrl& list)
{
    std::vector<std::string> tokens;
    for (int i = 0; i < list.GetItemCount(); ++i) {
        zelkor::LineNumbers line(list.GetItemText(i).GetString());
        std::string number;
        while (line.Next(number))
            tokens.push_back(number);
    }
    return tokens;
}

// The leading integer of a number text ("1.5" gives 1), kept within 32 bits.
LONG LeadingInteger(const std::string& token)
{
    const long long value = std::strtoll(token.c_str(), nullptr, 10);
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return static_cast<LONG>(value);
}

} // namespace

// ---- VokLGNumberList ----------------------------------------------------------------

VokLGNumberList::VokLGNumberList(LPCTSTR lpszCaption, UINT nIDTemplate) : CPropertyPage(nIDTemplate)
{
    pavesta::useTabTitle(*this, m_strCaption, lpszCaption);
}

BOOL VokLGNumberList::OnInitDialog()
{
    CPropertyPage::OnInitDialog();
    m_listEdit.SetWindowText("&Items:");
    if (m_pVector)
        Write(m_pVector);
    if (m_pLongVector)
        Write(m_pLongVector);
    return TRUE;
}

void VokLGNumberList::DoDataExchange(CDataExchange* pDX)
{
    CPropertyPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_NUMBER_ITEMS, m_listEdit);
}

BOOL VokLGNumberList::OnApply()
{
    ReadBackVectors();
    return CPropertyPage::OnApply();
}

void VokLGNumberList::ReadBackVectors()
{
    if (m_pVector)
        ReadBack(m_pVector);
    if (m_pLongVector)
        ReadBack(m_pLongVector);
}

void VokLGNumberList::Write(CVector* pVector)
{
    while (m_listEdit.GetItemCount() > 0)
        m_listEdit.RemoveItem(0);
    for (int i = 0; pVector && i < pVector->GetSize(); ++i)
        m_listEdit.InsertItem(-1, AfxFormatG((*pVector)[i]).c_str());
}

void VokLGNumberList::Write(CLongVector* pVector)
{
    while (m_listEdit.GetItemCount() > 0)
        m_listEdit.RemoveItem(0);
    for (int i = 0; pVector && i < pVector->GetSize(); ++i)
        m_listEdit.InsertItem(-1, AfxFormat("%d", static_cast<int>((*pVector)[i])).c_str());
}

void VokLGNumberList::ReadBack(CVector* pVector)
{
    const std::vector<std::string> tokens = NumberTokens(m_listEdit);
    const int count = static_cast<int>(tokens.size());
    pVector->Allocate(count, true, 0.0);
    for (int i = 0; i < count; ++i)
        (*pVector)[i] = AfxAtoF(tokens[static_cast<std::size_t>(i)].c_str());
}

void VokLGNumberList::ReadBack(CLongVector* pVector)
{
    const std::vector<std::string> tokens = NumberTokens(m_listEdit);
    const int count = static_cast<int>(tokens.size());
    pVector->Allocate(count, true, 0);
    for (int i = 0; i < count; ++i)
        (*pVector)[i] = LeadingInteger(tokens[static_cast<std::size_t>(i)]);
}

// ---- VokPPNamedNumListsEdit ---------------------------------------------------------

BEGIN_MESSAGE_MAP(VokPPNamedNumListsEdit, VokLGNumberList)
ON_CBN_SELCHANGE(IDC_LIST_VECTOR, OnSelectVector)
ON_BN_CLICKED(IDC_LIST_ADD, OnAdd)
ON_BN_CLICKED(IDC_LIST_DELETE, OnDelete)
ON_BN_CLICKED(IDC_LIST_RENAME, OnRename)
END_MESSAGE_MAP()

VokPPNamedNumListsEdit::VokPPNamedNumListsEdit(LPCTSTR lpszCaption)
    : VokLGNumberList(lpszCaption, IDD_NAMED_NUMBER_LISTS)
{
}

BOOL VokPPNamedNumListsEdit::OnInitDialog()
{
    VokLGNumberList::OnInitDialog();
    UpdateComboBox(0);
    OnSelectVector();
    GetDlgItem(IDC_LIST_ADD)->EnableWindow(m_pVectClass != nullptr);
    return TRUE;
}

void VokPPNamedNumListsEdit::DoDataExchange(CDataExchange* pDX)
{
    VokLGNumberList::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST_VECTOR, m_cbVectors);
}

void VokPPNamedNumListsEdit::UpdateComboBox(int nSelection)
{
    m_cbVectors.ResetContent();
    const int nVectors = m_pVectors ? m_pVectors->GetCount() : 0;
    // With names, an entry needs both a name and a vector: names beyond
    // the vectors are left out.
    const int nEntries = m_pNames ? std::min(m_pNames->GetSize(), nVectors) : nVectors;
    POSITION pos = m_pVectors ? m_pVectors->GetHeadPosition() : nullptr;
    for (int i = 0; i < nEntries; ++i) {
        CObject* pVector = m_pVectors->GetNext(pos);
        const CString name = m_pNames ? m_pNames->GetAt(i)
                                      : CString(AfxFormat("Vector %u", unsigned(i + 1)).c_str());
        const int index = m_cbVectors.AddString(name);
        m_cbVectors.SetItemData(index, reinterpret_cast<DWORD_PTR>(pVector));
    }
    m_cbVectors.SetCurSel(std::min(nSelection, nEntries - 1));
}

void VokPPNamedNumListsEdit::OnSelectVector()
{
    ReadBackVectors();
    m_pVector = nullptr;
    m_pLongVector = nullptr;
    const int sel = m_cbVectors.GetCurSel();
    CObject* pObject = sel < 0 ? nullptr : reinterpret_cast<CObject*>(m_cbVectors.GetItemData(sel));
    if (pObject && pObject->IsKindOf(RUNTIME_CLASS(CVector)))
        m_pVector = static_cast<CVector*>(pObject);
    else if (pObject && pObject->IsKindOf(RUNTIME_CLASS(CLongVector)))
        m_pLongVector = static_cast<CLongVector*>(pObject);
    if (m_pVector)
        Write(m_pVector);
    else if (m_pLongVector)
        Write(m_pLongVector);
    else
        Write(static_cast<CVector*>(nullptr));
}

void VokPPNamedNumListsEdit::OnAdd()
{
    if (!NewVect())
        return;
    UpdateComboBox(m_pVectors->GetCount());
    OnSelectVector();
    SetModified(TRUE);
}

CObject* VokPPNamedNumListsEdit::NewVect()
{
    if (!m_pVectClass || !m_pVectors)
        return nullptr;
    if (m_pNames) {
        const CString base = m_strBaseName.IsEmpty() ? CString("Vector") : m_strBaseName;
        CString proposal;
        for (unsigned n = 1;; ++n) {
            proposal = AfxFormat("%s %u", base.GetString(), n).c_str();
            if (m_cbVectors.FindStringExact(-1, proposal) < 0)
                break;
        }
        VokDlgString dlg(this);
        dlg.m_strText = proposal;
        if (dlg.DoModal() != IDOK)
            return nullptr;
        CObject* pVector = m_pVectClass->CreateObject();
        if (!pVector)
            return nullptr;
        m_pNames->Add(dlg.m_strText);
        m_pVectors->AddTail(pVector);
        return pVector;
    }
    CObject* pVector = m_pVectClass->CreateObject();
    if (pVector)
        m_pVectors->AddTail(pVector);
    return pVector;
}

void VokPPNamedNumListsEdit::OnRename()
{
    const int sel = m_cbVectors.GetCurSel();
    if (sel < 0 || !m_pNames || sel >= m_pNames->GetSize())
        return;
    VokDlgString dlg(this);
    dlg.m_strText = m_pNames->GetAt(sel);
    if (dlg.DoModal() != IDOK)
        return;
    m_pNames->SetAt(sel, dlg.m_strText);
    UpdateComboBox(sel);
}

// ---- VokDlgString -------------------------------------------------------------------

void VokDlgString::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_STRING_EDIT, m_strText);
}
