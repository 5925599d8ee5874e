// Every field a user types into, in every dialog and page of the program's
// libraries, has a name to be told by: a number field that holds letters is
// refused with that name ("Please enter a number for Young's modulus.").
#include <functional>
#include <map>
#include <set>
#include <string>
#include <typeindex>

#include "tests/shell/shell_fixture.h"

namespace
{

using FieldNames = afxui::headless::HeadlessApp;

// Each registered dialog template made into a window: every visible edit
// that takes typing (not read-only, one line) gets a name from its label.
// Labels that their dialog fills when it opens (a unit system's axis letter,
// a caller's text) stand in with their control id.
TEST_F(FieldNames, EveryEditOfEveryDialogAndPageIsNamedByItsLabel)
{
    // Edits without a label: a text, never a number (no refusal of letters
    // to name), or named by their dialog's exchange (DDX_Number): the units'
    // digits and force, the matrix entries.
    const std::set<std::pair<std::string, UINT>> exempt = {
        {"pavesta", IDD_STRING},  {"brantel_shell", CPPSettings::IDD},
        {"pavesta", VokDlg3x3Matrix::IDD}};
    int edits = 0;
    std::map<std::string, std::string> unnamed;
    for (const CResourceModule* module : AfxGetResourceChain())
        for (UINT id : module->Ids(std::type_index(typeid(DialogTemplate)))) {
            const DialogTemplate* tmpl = module->Find<DialogTemplate>(id);
            ASSERT_NE(tmpl, nullptr);
            CWnd window;
            ASSERT_TRUE(AfxCreateFromTemplate(window, *tmpl, nullptr)) << id;
            for (CWndState* s : AfxGetChildStates(window.GetSafeHwnd()))
                if (s->kind == AfxWndKind::staticText && s->strText.IsEmpty())
                    s->strText = CString(("#" + std::to_string(s->nID)).c_str());
            for (CWndState* s : AfxGetChildStates(window.GetSafeHwnd())) {
                if (s->kind != AfxWndKind::edit || (s->dwStyle & (ES_READONLY | ES_MULTILINE)) ||
                    !(s->dwStyle & WS_VISIBLE))
                    continue;
                const std::string where = std::string(module->GetName()) + " " +
                                          std::to_string(id) + " \"" + tmpl->strCaption.GetString() +
                                          "\" edit " + std::to_string(s->nID);
                ++edits;
                const CString name = AfxFieldLabel(CWnd::FromHandle(s->hWnd));
                if (name.IsEmpty() && !exempt.count({module->GetName().GetString(), id}))
                    unnamed[where] = "";
                else
                    RecordProperty(where, name.GetString());
            }
            window.DestroyWindow();
        }
    EXPECT_GT(edits, 100);
    for (const auto& [where, none] : unnamed)
        ADD_FAILURE() << where << " has no label";
}

// Letters in a number field, as the user types them: the refusal names the
// field, whether by its label or by its exchange, whole numbers and reals.
TEST_F(FieldNames, LettersInANumberFieldAreRefusedWithTheFieldsName)
{
    struct Case {
        std::function<INT_PTR()> show;
        UINT nIDD;
        int nID;
        const char* message;
    };
    const Case cases[] = {
        {[] { return KorDlgCircle(0, nullptr).DoModal(); }, KorDlgCircle::IDD, 16230,
         "Please enter an integer for Enter number of line-segments on the boundary."},
        {[] { return VokDlg3x3Matrix(nullptr).DoModal(); }, VokDlg3x3Matrix::IDD, 16235,
         "Please enter a number for Matrix entry (2, 2)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        afxui::headless::ModalScript script;
        script.Dialog(c.nIDD, [&](afxui::headless::DialogDriver& d, CDialog& shown) {
            d.Type(c.nID, "abc");
            Boxes().Expect(c.message);
            d.PressOK();
            EXPECT_FALSE(shown.IsEnded());
            d.PressCancel();
        });
        EXPECT_EQ(c.show(), IDCANCEL);
    }
}

} // namespace
