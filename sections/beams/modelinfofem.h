// CModelInfoFEM: collects a discretised model into flat arrays for a solver
// that takes plain arrays (connectivity with element pointers, element
// kinds, node coordinates, rotation parameters, supported and prescribed
// DOFs, node loads with their load cases) and writes them to a text log.
//
// The caller fills the information record through the model's DM_GetInfo;
// the arrays are sized from it and grow when the model hands over more, so
// a record that undercounts never leads to writes beyond an array.
#pragma once

#include "femodel/modelinfo.h"
#include "matrix/zelkor.h"

class CModelInfoFEM : public CModelInfo
{
    DECLARE_SERIAL(CModelInfoFEM)
public:
    CModelInfoFEM();
    // Keeps the base's flags; sets bit 0x1 when generateKinds.
    CModelInfoFEM(int dimension, bool generateKinds, int defaultKind);
    ~CModelInfoFEM() override;

    // The information record, the condition index and the flag word, then
    // the fields in declaration order.
    void Serialize(CArchive& ar) override;

    void AddNodeBC(CSNode* node) override;
    void AddNodeLoad(CLoad* load) override;

    // --- operations, in this order
    virtual LONG* GetLCNum();
    virtual void DeallocBCData();
    virtual LONG* GetSUPBCNODE();
    virtual LONG* GetLoadDOF();
    virtual LONG* GetLoadNodeID();
    virtual void DeallocGeomData();
    // Kinds (flag 0x1), connectivity with 1-based pointers, coordinates and
    // rotation parameters of the model (a section composite); the
    // connectivity and coordinates also into the log when given.
    virtual void GenGeomData(CObList* model, CFile* log);
    // Supported DOFs, prescribed values and node loads through the model's
    // DM_InsertNodeBCs; counts in record entries 3 to 6; the log when given.
    virtual void GenBCData(CObList* model, CFile* log);

    LONG* GetMMNPC() { return m_MMNPC.GetVector(); }
    LONG* GetMPMNPC() { return m_MPMNPC.GetVector(); }
    LONG* GetMKIND() { return m_MKIND.GetVector(); }
    double* GetMXYZ() { return m_MXYZ.GetVector(); }
    double* GetLoadVAL() { return m_LoadVal.GetVector(); }

    // The lists themselves, for their sizes.
    const CLongVector& MMNPC() const { return m_MMNPC; }
    const CLongVector& MPMNPC() const { return m_MPMNPC; }
    const CLongVector& MKIND() const { return m_MKIND; }
    const CMatrix& MXYZ() const { return m_MXYZ; }
    const CVector& LoadValues() const { return m_LoadVal; }
    const CVector& PrescValues() const { return m_PrescVal; }
    const CLongVector& LoadNodes() const { return m_LoadNodes; }
    const CLongVector& LoadDOFs() const { return m_LoadDOF; }
    const CLongVector& SupBCNodes() const { return m_SupBC; }
    const CLongVector& RotParams() const { return m_RotParam; }
    const CLongVector& LoadCases() const { return m_LoadCases; }
    int GetDimension() const { return m_iDim; }
    int GetDefaultKind() const { return m_iDefKind; }

private:
    void WriteBCLog(CFile& log);

    CVector m_LoadVal;
    CVector m_PrescVal;
    int m_iDefKind = 0;
    int m_iDim = 3;
    CLongVector m_MMNPC;
    CLongVector m_MPMNPC;
    CLongVector m_MKIND;
    CLongVector m_LoadNodes;
    CLongVector m_LoadDOF;
    CLongVector m_SupBC;
    CLongVector m_RotParam;
    CLongVector m_LoadCases;
    CMatrix m_MXYZ;
};
