#include "platform/ui/core/resources.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "platform/afx/numconv.h"

namespace
{

// Modules in the order they registered (not owned: each one leaves in its
// destructor).
std::vector<CResourceModule*>& Modules()
{
    static std::vector<CResourceModule*> modules;
    return modules;
}

} // namespace

AfxMenuEntry AfxMenuItem(UINT nID, LPCTSTR lpszText)
{
    AfxMenuEntry entry;
    entry.item.nResourceID = entry.item.nCurrentID = nID;
    entry.item.strText = lpszText;
    return entry;
}

AfxMenuEntry AfxMenuSeparator()
{
    AfxMenuEntry entry;
    entry.bSeparator = TRUE;
    return entry;
}

AfxMenuEntry AfxMenuPopup(LPCTSTR lpszText, AfxMenu entries)
{
    AfxMenuEntry entry = AfxMenuItem(0, lpszText);
    entry.popup = std::move(entries);
    return entry;
}

CResourceModule::CResourceModule(LPCTSTR lpszName, Kind kind,
                                 const std::function<void(CResourceModule&)>& fill)
    : m_strName(lpszName), m_kind(kind)
{
    if (fill)
        fill(*this);
    Modules().push_back(this);
}

CResourceModule::~CResourceModule()
{
    auto& modules = Modules();
    modules.erase(std::remove(modules.begin(), modules.end(), this), modules.end());
}

void CResourceModule::ThrowDuplicate(UINT nID) const
{
    throw std::logic_error(AfxFormat("resource module \"%s\" registers id %u twice as one kind",
                                     m_strName.GetString(), nID));
}

void CResourceModule::AddStrings(std::initializer_list<std::pair<UINT, LPCTSTR>> strings)
{
    for (const auto& [id, text] : strings)
        Add(id, CString(text));
}

std::vector<UINT> CResourceModule::Ids(std::type_index kind) const
{
    std::vector<UINT> ids;
    for (const auto& [key, value] : m_items)
        if (key.first == kind)
            ids.push_back(key.second);
    return ids;
}

const std::any* CResourceModule::FindAny(std::type_index kind, UINT nID) const
{
    auto it = m_items.find({kind, nID});
    return it == m_items.end() ? nullptr : &it->second;
}

std::vector<const CResourceModule*> AfxGetResourceChain()
{
    std::vector<const CResourceModule*> chain;
    for (CResourceModule::Kind kind : {CResourceModule::program, CResourceModule::library}) {
        const auto& modules = Modules();
        for (auto it = modules.rbegin(); it != modules.rend(); ++it)
            if ((*it)->GetKind() == kind)
                chain.push_back(*it);
    }
    return chain;
}

const std::any* AfxFindResourceAny(std::type_index kind, UINT nID)
{
    for (const CResourceModule* module : AfxGetResourceChain())
        if (const std::any* found = module->FindAny(kind, nID))
            return found;
    return nullptr;
}

const std::any* AfxFindResourceAny(std::type_index kind, UINT nID, LPCTSTR lpszModule)
{
    if (lpszModule)
        for (const CResourceModule* module : AfxGetResourceChain())
            if (module->GetName() == lpszModule)
                if (const std::any* found = module->FindAny(kind, nID))
                    return found;
    return AfxFindResourceAny(kind, nID);
}

BOOL AfxLoadString(UINT nID, CString& rString)
{
    const CString* found = AfxFindResource<CString>(nID);
    rString = found ? *found : CString();
    return found != nullptr;
}

BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString, TCHAR chSep)
{
    rString.Empty();
    if (!lpszFullString || iSubString < 0)
        return FALSE;
    const char* start = lpszFullString;
    for (int i = 0; i < iSubString; ++i) {
        start = std::strchr(start, chSep);
        if (!start)
            return FALSE;
        ++start;
    }
    const char* end = std::strchr(start, chSep);
    rString = end ? CString(start, static_cast<int>(end - start)) : CString(start);
    return TRUE;
}

BOOL AfxLoadCommandStrings(UINT nID, CString* pPrompt, CString* pTip)
{
    CString full;
    const BOOL found = AfxLoadString(nID, full);
    CString part;
    AfxExtractSubString(part, full, 0);
    if (pPrompt)
        *pPrompt = part;
    AfxExtractSubString(part, full, 1);
    if (pTip)
        *pTip = part;
    return found;
}
