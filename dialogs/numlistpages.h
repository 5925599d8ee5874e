// Number-list pages: a vector of numbers edited as lines of text, and a set
// of such vectors chosen by name; VokDlgString asks for one line of text.
#pragma once

#include "matrix/zelkor.h"
#include "platform/ui/core/afxui.h"

// Templates and controls of the number-list pages.
constexpr UINT IDD_NUMBER_LIST = 16162;
constexpr UINT IDD_NAMED_NUMBER_LISTS = 16027;
constexpr UINT IDD_STRING = 16236;
constexpr int IDC_NUMBER_ITEMS = 16113;
constexpr int IDC_STRING_EDIT = 16231;
constexpr int IDC_LIST_VECTOR = 16277;
constexpr int IDC_LIST_ADD = 16278;
constexpr int IDC_LIST_DELETE = 16279;
constexpr int IDC_LIST_RENAME = 16282;

// A page over a caller's real or integer vector (neither owned): the list
// editor shows one element a line, and Apply reads the lines back.
class VokLGNumberList : public CPropertyPage
{
    DECLARE_DYNCREATE(VokLGNumberList)
public:
    VokLGNumberList() : VokLGNumberList(nullptr, IDD_NUMBER_LIST) {}
    // A caption (not null) becomes the tab title.
    VokLGNumberList(LPCTSTR lpszCaption, UINT nIDTemplate);

    CVector* m_pVector = nullptr;         // edited when set (not owned)
    CLongVector* m_pLongVector = nullptr; // edited when set (not owned)

    // Fills the list, one element a line ("%g" or "%d").
    void Write(CVector* pVector);
    void Write(CLongVector* pVector);
    // Reads every number of every line, in order, into the vector; a line
    // may hold several numbers (the shared text-number reader: "," is a
    // decimal point, "pi" stands for its value). No lines: an empty vector.
    void ReadBack(CVector* pVector);
    void ReadBack(CLongVector* pVector);

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    // Reads the list back into each vector that is set.
    void ReadBackVectors();

    CListEditCtrl m_listEdit;

private:
    CString m_strCaption; // the tab title m_psp points at
};

// A number-list page over several vectors, chosen in a combo box; "&Add"
// makes a new vector of the given class, "&Rename" renames one.
class VokPPNamedNumListsEdit : public VokLGNumberList
{
    DECLARE_DYNCREATE(VokPPNamedNumListsEdit)
public:
    VokPPNamedNumListsEdit() : VokPPNamedNumListsEdit(nullptr) {}
    explicit VokPPNamedNumListsEdit(LPCTSTR lpszCaption);

    CString m_strBaseName;                       // of proposed names ("Vector" when empty)
    const CRuntimeClass* m_pVectClass = nullptr; // of new vectors; none disables "&Add"
    CObList* m_pVectors = nullptr;    // CVector or CLongVector objects (not owned; the caller
                                      // also owns those "&Add" appends)
    CStringArray* m_pNames = nullptr; // the vectors' names, optional (not owned)

    // Refills the combo and selects entry nSelection (the last one when it
    // lies beyond).
    virtual void UpdateComboBox(int nSelection);
    // Appends a new vector (and with names, the name the user enters) and
    // returns it; null when the user cancels or no vector can be made.
    virtual CObject* NewVect();

    BOOL OnInitDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnSelectVector();
    void OnAdd();
    void OnRename();
    void OnDelete() {}

    CComboBox m_cbVectors;

    DECLARE_MESSAGE_MAP()
};

// A one-line text dialog.
class VokDlgString : public CDialog
{
    DECLARE_DYNAMIC(VokDlgString)
public:
    explicit VokDlgString(CWnd* pParent = nullptr) : CDialog(IDD_STRING, pParent) {}

    CString m_strText;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
