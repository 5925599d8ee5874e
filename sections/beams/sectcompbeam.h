// CSectCompBeam: the model component of a beam frame, a section composite
// whose sections are beam sections. It reads members, supported DOFs and
// prescribed DOFs from the text blocks the beam sections write, discretises
// all members and ties them at joints. It has no mesh generation and no
// analysis of its own.
#pragma once

#include "sections/beams/sectbeam.h"
#include "sections/regions/sectcomp.h"

class CSectCompBeam : public CSectComp
{
    DECLARE_SERIAL(CSectCompBeam)
public:
    CSectCompBeam();
    ~CSectCompBeam() override;

    // The sections (CObList::Serialize), then the 2 x 1 integer matrix.
    void Serialize(CArchive& ar) override;

    void RemoveNode(CSNode* node) override;
    void RefineUniform(int n, unsigned elementClass);
    void DM_SetNodeValues(CMatrix& values, int& row);
    void Copy(CSectComp*& target, bool withName) override;
    void PickDrawResGL(int flags, bool flag) override;
    bool PreCalc(CStringArray* log, CStringArray* errors, int mode) override;
    bool Calculate(CStringArray* log, CStringArray* errors) override;
    void ResetParam() override;
    // Cleans the sections' hand-over data and discretises; the offending
    // object of the discretisation, else (after every section has tied its
    // joints) null.
    CObject* Discretize() override;
    // Fills only the connectivity table.
    void GenGeomData(CLongMatrix& connectivity, CMatrix& coordinates);

    // Text blocks. keys: start keyword, end keyword, comment marker (the
    // last two optional). The file is searched from its current position
    // and left just after the block. Returns the number of members made.
    // An element count whose magnitude exceeds CBeamSeg::kMaxElemCount is
    // refused, and so is one that would take the sum of the counts the
    // block sets above the same bound: the member keeps its default count
    // and m_strReadWarning says how many counts were refused and why (empty
    // when none was). A block of more than kMaxFileMembers members makes
    // none: it returns 0 and m_strReadWarning says why. Reading takes time
    // in proportion to the text, also when many members share a node.
    int ASCIIReadBeams(CFile& file, CStringArray& keys, CObList* sections,
                       const CBeamClassList* classes);
    CString m_strReadWarning;
    // The most members one beam text may hold, the bound of the elements of
    // one file (CBeamSeg::kMaxElemCount): each member is at least one
    // element.
    static constexpr int kMaxFileMembers = CBeamSeg::kMaxElemCount;
    void ASCIIReadSupDOFs(CFile& file, CStringArray& keys);
    void ASCIIReadPrescDOFs(CFile& file, CStringArray& keys);

    CLongMatrix& GetSettings() { return m_Settings; }

private:
    // Runs line(numbers) for every data line of the block; false when the
    // start keyword is not found.
    bool ReadBlock(CFile& file, CStringArray& keys,
                   const std::function<void(const std::vector<double>&)>& line);

    CLongMatrix m_Settings;
};
