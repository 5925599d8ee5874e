// Selection names for picking by object identity: OpenGL selection names
// are 32 bits wide and object addresses are not, so objects get names from
// a table and hits are mapped back through it.
#pragma once

#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/afx/object.h"
#include "platform/afx/types.h"

class CSelectionNames
{
public:
    // The name of pOb: the one it got before, or the next free one (names
    // start at 1; 0 is never given, it stays free for "no object").
    DWORD NameOf(const CObject* pOb);
    // The object that has this name, or null for a name never given.
    CObject* ObjectOf(DWORD nName) const;
    // Forgets pOb (an object about to be deleted); its name is not reused.
    void Forget(const CObject* pOb);
    // Forgets every object; names start again at 1.
    void RemoveAll();
    DWORD GetCount() const;

private:
    mutable std::mutex m_mutex;
    std::unordered_map<const CObject*, DWORD> m_names;
    std::vector<CObject*> m_objects{nullptr}; // index = name
};

// The table shared by every library of the process (drawing code gives the
// names, the views map hits back).
CSelectionNames& AfxGetSelectionNames();
