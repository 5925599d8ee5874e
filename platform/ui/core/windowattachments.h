// One object attached to each window by a backend for a while (a window's
// OpenGL surface, the context of the paint it is running), found by the
// window's handle. Windows live in the user-interface thread only.
#pragma once

#include <map>

#include "platform/ui/core/uitypes.h"

template <class T> class CWindowAttachments
{
public:
    // Attaches p to the window; null detaches.
    void Attach(HWND hWnd, T* p)
    {
        if (p != nullptr)
            m_map[hWnd] = p;
        else
            m_map.erase(hWnd);
    }
    // The object attached to the window, or null.
    T* Get(HWND hWnd) const
    {
        const auto it = m_map.find(hWnd);
        return it != m_map.end() ? it->second : nullptr;
    }

private:
    std::map<HWND, T*> m_map; // not owned
};
