// CModelInfo: the receiver of the model-data hand-over of elements and
// meshes. Every operation does nothing here; the region model supplies the
// working receiver.
#pragma once

#include "geometry/bexlar.h"

class CLoad;

class CModelInfo : public CObject {
    DECLARE_DYNAMIC(CModelInfo)
public:
    CModelInfo() = default;
    ~CModelInfo() override = default;

    virtual void RetrieveSectionData(CObject*) {}
    virtual void SetNodeRes(CSNode*) {}
    virtual void SetElemRes(CObject*) {}
    virtual void AddNodeBC(CSNode*) {}
    virtual void AddNodeLoad(CLoad*) {}
    virtual void RetrieveData(CObject*) {}
};
