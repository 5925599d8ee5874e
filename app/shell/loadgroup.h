// CPPLoadGrp: the page of the modelling view's "Insert loadgroup" sheet. It
// collects a parallelogram grid of n x m loaded points (Type 2 adds a
// staggered second grid), the total load shared by all points and the shape
// the view builds around them, and makes the loaded nodes (Generate).
//
// The page refuses values that make no grid: n or m below 1 (below 2 for
// Type 2, whose staggered grid is placed from the first two rows and
// columns), n or m above kMaxCount, a spacing that is not positive, and an
// angle whose cosine is below 1e-6 in size (the rows would not meet the y
// axis). The sheet stays open with a message naming the rule.
#pragma once

#include "platform/ui/core/afxui.h"

class CObjMat;

class CPPLoadGrp : public CPropertyPage
{
    DECLARE_DYNCREATE(CPPLoadGrp)
public:
    enum { IDD = 780 };
    enum : int {
        IDC_COLS = 16230,
        IDC_ROWS = 16231,
        IDC_ANGLE = 16232,
        IDC_LOAD1 = 16233,
        IDC_SPACING = 16235,
        IDC_X0 = 16236,
        IDC_Y0 = 16237,
        IDC_TYPE1 = 16144,
        IDC_TYPE2 = 16145,
        IDC_POINTS = 16153,
        IDC_CIRCLES = 16154,
        IDC_SQUARES = 446,
        IDC_RADIUS = 16238,
        IDC_LOAD2 = 16239,
        IDC_SECTIONS = 50085,
    };
    // Largest number of points per row and of rows.
    static constexpr int kMaxCount = 1000;
    // Smallest size of cos(angle) the page accepts.
    static constexpr double kMinCosine = 1e-6;

    CPPLoadGrp();

    int m_nCols = 0;         // n: points per grid row
    int m_nRows = 0;         // m: grid rows
    double m_dAngle = 0.0;   // direction of the rows from the x axis, radians
    double m_dLoad1 = 0.0;   // total first load component
    double m_dSpacing = 0.0; // between points of a row and (perpendicular) between rows
    double m_dX0 = 0.0, m_dY0 = 0.0;
    int m_iType = 1;  // 0 Type 1, 1 Type 2 (staggered second grid)
    int m_iShape = 1; // 0 points, 1 circles, 2 squares
    double m_dRadius = 0.0;
    double m_dLoad2 = 0.0; // total second load component
    int m_nSections = 0;

    // The rule the values break, or an empty text when they make a grid.
    CString CheckValues() const;

    // Fills out with m x k rows (k = 2 for Type 2) of n new CBoundNode
    // objects, each with a node load of (load1 / N, load2 / N), N the number
    // of entries. Row j x k holds grid row j; for Type 2 row 2j + 1 holds
    // the staggered points. The caller owns the matrix and its nodes. Values
    // the page would refuse leave out empty (no rows).
    virtual void Generate(CObjMat& out);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
