// CModelInfo: the receiver of the model-data hand-over of elements and
// meshes. Every operation does nothing here; the region model supplies the
// working receiver.
//
// It holds the information record the model's DM_GetInfo fills (20
// counters: 0 nodes, 1 elements, 2 connectivity length, 3 to 6 the sizes of
// the condition and load lists, 8 rotation-parameter records), the index of
// the condition in each node's chain that is read, and a flag word.
#pragma once

#include "geometry/bexlar.h"

class CLoad;

class CModelInfo : public CObject {
    DECLARE_DYNAMIC(CModelInfo)
public:
    static constexpr int kInfoSize = 20;

    CModelInfo();
    ~CModelInfo() override = default;

    virtual void RetrieveSectionData(CObject*) {}
    virtual void SetNodeRes(CSNode*) {}
    virtual void SetElemRes(CObject*) {}
    virtual void AddNodeBC(CSNode*) {}
    virtual void AddNodeLoad(CLoad*) {}
    virtual void RetrieveData(CObject*) {}

    CInfoContainer& GetInfo() { return m_Info; }
    int GetBCIndex() const { return m_iBCIndex; }
    void SetBCIndex(int index) { m_iBCIndex = index; }
    DWORD GetFlags() const { return m_uiFlags; }
    void SetFlags(DWORD flags) { m_uiFlags = flags; }

protected:
    CInfoContainer m_Info;
    int m_iBCIndex = 0;
    DWORD m_uiFlags = 1;
};
