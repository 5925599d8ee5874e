#include "app/shell/elemchoice.h"

namespace brantel
{

ElementIds MembraneElementIds(int element)
{
    if (element < cst || element > q9)
        return {16006, 16006};
    const UINT id = 16005 + static_cast<UINT>(element);
    return {id, id};
}

ElementIds PlateElementIds(int element)
{
    switch (element) {
    case dkt: return {16068, 16015};
    case t6: return {16067, 16067};
    case t15: case t18: case t21: {
        const UINT id = 16012 + static_cast<UINT>(element - t15);
        return {id, id};
    }
    default: return {16015, 16015};
    }
}

const MembranePoints* MembranePointsOf(int element)
{
    static const MembranePoints kRows[] = {
        {false, {"1x1", "2x2", "3x3"}, false, -1},       {false, {"1x1", "2x2", "3x3"}, false, -1},
        {false, {"1x1", "2x2", "3x3"}, false, -1},       {true, {"1x1", "2x2 (full)", "3x3"}, true, 1},
        {false, {"1x1", "2x2 (full)", "3x3"}, true, 1},  {true, {"1x1", "2x2", "3x3 (full)"}, true, 2},
        {true, {"1x1", "2x2", "3x3 (full)"}, true, 2},
    };
    return element >= cst && element <= q9 ? &kRows[element] : nullptr;
}

int ElementCode(int index, int group)
{
    if (group == 0) {
        static const int kPlate[] = {66, 65, 61, 75, 81, 85};
        return index >= 0 && index < 6 ? kPlate[index] : 81;
    }
    if (group == 1) {
        static const int kMembrane[] = {31, 32, 33, 41, 42, 44, 46};
        return index >= 0 && index < 7 ? kMembrane[index] : 32;
    }
    return 0;
}

void ShowControl(CWnd& page, int nID, bool show)
{
    page.GetDlgItem(nID)->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void EnableControl(CWnd& page, int nID, bool enable)
{
    page.GetDlgItem(nID)->EnableWindow(enable);
}

void ShowElementBitmap(CStatic& picture, std::unique_ptr<CBitmap>& holder, UINT nBitmap)
{
    auto bitmap = std::make_unique<CBitmap>();
    bitmap->LoadBitmap(nBitmap);
    picture.SetBitmap(bitmap.get());
    holder = std::move(bitmap); // the one shown before goes
}

void RelabelStressEvaluation(CWnd& page)
{
    page.GetDlgItem(16176)->SetWindowText("Evaluation points of stresses");
    page.GetDlgItem(442)->SetWindowText("at nodes");
    page.GetDlgItem(1063)->SetWindowText("at 2x2 integration points and extrapolated to corner nodes");
}

} // namespace brantel
