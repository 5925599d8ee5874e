// Every command the program handles can be reached by a person: each
// command id of the message maps of the program's command targets (their
// framework and window-layer bases included) stands in a menu of some
// document type, a toolbar, a context menu or the accelerator table, or on
// the short list of ids that only the program itself sends.
#include <map>
#include <set>
#include <string>
#include <typeindex>
#include <cctype>
#include <utility>
#include <vector>

#include "tests/shell/shell_fixture.h"

namespace
{

// The message map of T, which T declares protected.
template <class T> struct MapOf : T {
    static const AFX_MSGMAP* Get() { return T::GetThisMessageMap(); }
};

// Command ids (with the class that handles them) of the map chain of T.
template <class T> void CollectCommands(const char* name, std::map<UINT, std::string>& ids)
{
    for (const AFX_MSGMAP* map = MapOf<T>::Get(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage != WM_COMMAND || e->nCode == CN_UPDATE_COMMAND_UI)
                continue;
            for (UINT id = e->nID; id <= e->nLastID; ++id)
                ids.emplace(id, name);
        }
    }
}

void CollectMenu(const AfxMenu& menu, std::set<UINT>& ids)
{
    for (const AfxMenuEntry& e : menu) {
        if (e.item.nResourceID)
            ids.insert(e.item.nResourceID);
        CollectMenu(e.popup, ids);
    }
}

// Every command id a menu, toolbar or key of any module sends.
std::set<UINT> ReachableIds()
{
    std::set<UINT> ids;
    for (const CResourceModule* module : AfxGetResourceChain()) {
        for (UINT id : module->Ids(std::type_index(typeid(AfxMenu))))
            CollectMenu(*module->Find<AfxMenu>(id), ids);
        for (UINT id : module->Ids(std::type_index(typeid(AfxToolBar))))
            for (UINT button : module->Find<AfxToolBar>(id)->buttons)
                ids.insert(button);
        for (UINT id : module->Ids(std::type_index(typeid(AfxAccelTable))))
            for (const ACCEL& a : *module->Find<AfxAccelTable>(id))
                ids.insert(a.cmd);
    }
    return ids;
}

// Ids that no menu, button or key names, each with its reason.
struct Internal {
    UINT first;
    UINT last;
    const char* reason;
};
const Internal kInternal[] = {
    {ID_FILE_MRU_FILE1 + 1, ID_FILE_MRU_LAST,
     "recent files 2-16: the File menu's recent-file entry grows into the list"},
    {AFX_IDM_FIRST_MDICHILD, AFX_IDM_FIRST_MDICHILD + AFX_MAX_MDI_WINDOWS - 1,
     "the Window menu lists the open documents under these ids"},
    {ID_DEFAULT_HELP, ID_DEFAULT_HELP, "the help the framework asks for when nothing else gives one"},
    {ID_KOR_SET_LIMITS, ID_KOR_SET_LIMITS, "Set Limits does nothing: no entry offers it"},
};

bool IsInternal(UINT id)
{
    for (const Internal& i : kInternal)
        if (id >= i.first && id <= i.last)
            return true;
    return false;
}

TEST(CommandReach, EveryHandledCommandIsInAMenuAToolbarOrAKey)
{
    std::map<UINT, std::string> handled;
    CollectCommands<CBrantelApp>("CBrantelApp", handled);
    CollectCommands<CMainFrame>("CMainFrame", handled);
    CollectCommands<CChildFrame>("CChildFrame", handled);
    CollectCommands<CConstrChFrm>("CConstrChFrm", handled);
    CollectCommands<CBrantelDoc>("CBrantelDoc", handled);
    CollectCommands<CDocShell>("CDocShell", handled);
    CollectCommands<CDocRestr>("CDocRestr", handled);
    CollectCommands<CBrantelModView>("CBrantelModView", handled);
    CollectCommands<CElemModView>("CElemModView", handled);
    CollectCommands<CViewRestr>("CViewRestr", handled);
    CollectCommands<CBrantelResView>("CBrantelResView", handled);
    CollectCommands<KorLogWnd>("KorLogWnd", handled);
    ASSERT_GT(handled.size(), 150u); // the maps were walked up to the window layer
    const std::set<UINT> reachable = ReachableIds();
    std::string missing;
    for (const auto& [id, owner] : handled)
        if (!reachable.count(id) && !IsInternal(id))
            missing += std::to_string(id) + " (" + owner + ") ";
    EXPECT_EQ(missing, "");
}

// The key a menu text names after its tab ("Ctrl+Alt+DOWN", "Alt+Up", "R"),
// as an accelerator entry; fVirt 0 when the text names none or one this
// test does not know.
ACCEL KeyOfMenuText(const CString& text)
{
    ACCEL key{0, 0, 0};
    const int tab = text.Find('\t');
    if (tab < 0)
        return key;
    std::string rest = text.Mid(tab + 1).GetString();
    BYTE mods = FVIRTKEY;
    for (std::size_t plus; (plus = rest.find('+')) != std::string::npos; rest = rest.substr(plus + 1)) {
        const std::string mod = rest.substr(0, plus);
        mods |= mod == "Ctrl" ? FCONTROL : mod == "Alt" ? FALT : mod == "Shift" ? FSHIFT : 0;
    }
    std::string upper;
    for (char c : rest)
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    WORD vk = 0;
    if (upper.size() == 1)
        vk = static_cast<WORD>(upper[0]);
    else if (upper == "UP")
        vk = VK_UP;
    else if (upper == "DOWN")
        vk = VK_DOWN;
    else if (upper == "DEL")
        vk = VK_DELETE;
    if (vk)
        key = ACCEL{mods, vk, 0};
    return key;
}

void CollectKeyedItems(const AfxMenu& menu, std::vector<std::pair<UINT, ACCEL>>& items)
{
    for (const AfxMenuEntry& e : menu) {
        if (!e.bSeparator && e.item.nResourceID)
            if (const ACCEL key = KeyOfMenuText(e.item.strText); key.fVirt)
                items.push_back({e.item.nResourceID, key});
        CollectKeyedItems(e.popup, items);
    }
}

TEST(CommandReach, TheKeysReachTheirCommandsAndTheMenusShowThem)
{
    const AfxAccelTable* keys = AfxFindResource<AfxAccelTable>(IDR_MAINFRAME);
    ASSERT_NE(keys, nullptr);
    // No key is given twice.
    for (std::size_t i = 0; i < keys->size(); ++i)
        for (std::size_t j = i + 1; j < keys->size(); ++j)
            EXPECT_FALSE((*keys)[i].fVirt == (*keys)[j].fVirt && (*keys)[i].key == (*keys)[j].key)
                << "key " << (*keys)[i].key << " for " << (*keys)[i].cmd << " and " << (*keys)[j].cmd;
    const auto command = [keys](BYTE mods, WORD key) -> UINT {
        for (const ACCEL& a : *keys)
            if (a.fVirt == (FVIRTKEY | mods) && a.key == key)
                return a.cmd;
        return 0;
    };
    struct Case {
        BYTE mods;
        WORD key;
        UINT id;
    };
    const Case cases[] = {
        {FALT, VK_UP, ID_RES_SCALE_UP},
        {FALT, VK_DOWN, ID_RES_SCALE_DOWN},
        {0, 'R', ID_MODE_RESULTS},
        {0, 'M', ID_MODE_MODELLING},
        {FCONTROL | FALT, VK_UP, ID_FINER},
        {FCONTROL | FALT, VK_DOWN, ID_COARSER},
        {FCONTROL, 'N', ID_FILE_NEW},
        {FCONTROL, 'O', ID_FILE_OPEN},
        {FCONTROL, 'S', ID_FILE_SAVE},
        {FCONTROL, 'P', ID_FILE_PRINT},
        {FCONTROL, VK_TAB, ID_WINDOW_NEXT},
        {FCONTROL, VK_F6, ID_WINDOW_NEXT},
        {0, VK_F1, ID_HELP},
    };
    for (const Case& c : cases)
        EXPECT_EQ(command(c.mods, c.key), c.id) << "key " << c.key << " mods " << int(c.mods);
    // Every key a menu item shows after its tab sends that item's command.
    for (UINT menuId : {IDR_MAINFRAME, IDR_PLATE, IDR_CONSTR_PLATE, IDR_MEMBRANE, IDR_CONSTR_MEMBRANE,
                        IDR_SHELL, IDR_CONSTR_SHELL}) {
        const AfxMenu* menu = AfxFindResource<AfxMenu>(menuId);
        ASSERT_NE(menu, nullptr) << menuId;
        std::vector<std::pair<UINT, ACCEL>> items;
        CollectKeyedItems(*menu, items);
        for (const auto& [id, key] : items)
            EXPECT_EQ(command(key.fVirt & ~FVIRTKEY, key.key), id) << "menu " << menuId << " item " << id;
    }
}

// Every button of the program's toolbars names itself: a status prompt and
// a tooltip.
TEST(CommandReach, EveryToolbarButtonHasAPromptAndATooltip)
{
    for (UINT bar : {27002u, 600u, 609u, 611u, 613u, 620u, 27016u, 27018u}) {
        const AfxToolBar* toolbar = AfxFindResource<AfxToolBar>(bar);
        ASSERT_NE(toolbar, nullptr) << bar;
        for (UINT id : toolbar->buttons) {
            if (id == ID_SEPARATOR)
                continue;
            CString prompt, tip;
            EXPECT_TRUE(AfxLoadCommandStrings(id, &prompt, &tip)) << bar << ": " << id;
            EXPECT_FALSE(prompt.IsEmpty()) << bar << ": " << id;
            EXPECT_FALSE(tip.IsEmpty()) << bar << ": " << id;
        }
    }
}

} // namespace
