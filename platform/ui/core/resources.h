// The resource registry. Each library (and the program) registers its
// resources at static initialisation under its module name: strings, menus,
// accelerators, toolbars, dialog templates, bitmaps and cursors, each kind a
// C++ type. One id may exist in several modules and in several kinds.
//
// Lookup runs through the program's modules first, then through the
// libraries in link order. A shared library's static objects are built
// after those of the libraries it links, and a program links a library
// before the libraries that one needs, so link order is the reverse of the
// order in which library modules register.
//
//     static const CResourceModule s_resources("framira", CResourceModule::library,
//         [](CResourceModule& m) {
//             m.AddStrings({{50008, "Active filter for selection\nSelect-filter"}});
//             m.Add(128, AfxMenu{...});
//         });
#pragma once

#include <any>
#include <functional>
#include <initializer_list>
#include <map>
#include <typeindex>
#include <utility>
#include <vector>

#include "platform/afx/cstring.h"
#include "platform/ui/core/cmdui.h"

// ---- Resource kinds -----------------------------------------------------------

// One entry of a menu: a command item, a separator or a popup with entries.
struct AfxMenuEntry {
    CCmdItemState item; // text and ids; a popup has id 0
    BOOL bSeparator = FALSE;
    std::vector<AfxMenuEntry> popup; // the entries of a popup
};
typedef std::vector<AfxMenuEntry> AfxMenu;

// Builders for menu tables.
AfxMenuEntry AfxMenuItem(UINT nID, LPCTSTR lpszText);
AfxMenuEntry AfxMenuSeparator();
AfxMenuEntry AfxMenuPopup(LPCTSTR lpszText, AfxMenu entries);

// Accelerator flags and one entry.
constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;
struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
typedef std::vector<ACCEL> AfxAccelTable;

// A toolbar: button size and the command ids in order (ID_SEPARATOR for a gap).
struct AfxToolBar {
    int cx = 16;
    int cy = 15;
    std::vector<UINT> buttons;
};

// An image (PNG or SVG bytes, compiled in) and a cursor image with its hot spot.
struct AfxBitmapResource {
    std::vector<unsigned char> data;
    CString strFormat; // "png" or "svg"
};
struct AfxCursorResource {
    AfxBitmapResource image;
    int xHotSpot = 0;
    int yHotSpot = 0;
};

// ---- Modules ------------------------------------------------------------------

class CResourceModule
{
public:
    enum Kind { library, program };

    // Joins the lookup chain; fill (if given) adds the module's resources.
    CResourceModule(LPCTSTR lpszName, Kind kind = library,
                    const std::function<void(CResourceModule&)>& fill = {});
    // Leaves the chain (a shared library that unloads takes its resources).
    ~CResourceModule();
    CResourceModule(const CResourceModule&) = delete;
    CResourceModule& operator=(const CResourceModule&) = delete;

    const CString& GetName() const { return m_strName; }
    Kind GetKind() const { return m_kind; }

    // Adds the resource of kind T with this id. A module holds one of each
    // kind and id: a second one throws std::logic_error (at static
    // initialisation that stops the program at start-up).
    template <class T> void Add(UINT nID, T value)
    {
        if (!m_items.emplace(std::make_pair(std::type_index(typeid(T)), nID), std::move(value))
                 .second)
            ThrowDuplicate(nID);
    }
    void AddStrings(std::initializer_list<std::pair<UINT, LPCTSTR>> strings);

    // The module's own resource of kind T, or null.
    template <class T> const T* Find(UINT nID) const
    {
        return std::any_cast<T>(FindAny(std::type_index(typeid(T)), nID));
    }
    const std::any* FindAny(std::type_index kind, UINT nID) const;
    // The ids of the module's resources of one kind, in ascending order.
    std::vector<UINT> Ids(std::type_index kind) const;

private:
    [[noreturn]] void ThrowDuplicate(UINT nID) const;
    CString m_strName;
    Kind m_kind;
    std::map<std::pair<std::type_index, UINT>, std::any> m_items;
};

// The modules in lookup order: programs, then libraries in link order.
std::vector<const CResourceModule*> AfxGetResourceChain();

// The first resource of kind T with this id along the chain, or null.
const std::any* AfxFindResourceAny(std::type_index kind, UINT nID);
template <class T> const T* AfxFindResource(UINT nID)
{
    return std::any_cast<T>(AfxFindResourceAny(std::type_index(typeid(T)), nID));
}
// The same, looked up first in the module named lpszModule (null: only the
// chain). Two libraries may use one id for different resources, as each
// library's resources once were its own; its windows then name their module.
const std::any* AfxFindResourceAny(std::type_index kind, UINT nID, LPCTSTR lpszModule);
template <class T> const T* AfxFindResource(UINT nID, LPCTSTR lpszModule)
{
    return std::any_cast<T>(AfxFindResourceAny(std::type_index(typeid(T)), nID, lpszModule));
}

// Strings.
BOOL AfxLoadString(UINT nID, CString& rString);
// Part iSubString of a text divided by chSep ("a\nb\nc"); FALSE (and an empty
// part) when there are fewer parts.
BOOL AfxExtractSubString(CString& rString, LPCTSTR lpszFullString, int iSubString,
                         TCHAR chSep = '\n');
// A command's string "prompt\ntip": the status-bar prompt and the tooltip
// (empty without "\n"). FALSE when the id has no string.
BOOL AfxLoadCommandStrings(UINT nID, CString* pPrompt, CString* pTip);
