// General pages that the program fills with its own data: a list of
// positive numbers in the caller's array (KorPPNumListEdit), identifiers
// typed by the user and handed with an object kind to the caller's
// function (KorPPSelectID), and a choice of two handed to the caller's
// function (KorPPTwoRad).
#pragma once

#include <utility>
#include <vector>

#include "matrix/zelkor.h"
#include "platform/ui/core/afxui.h"

class KorPPNumListEdit : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPNumListEdit)
public:
    enum { IDD = 27031 };
    enum : int { IDC_ITEMS = 50111 };

    // The list shows values[0 ... entries - 1] x factor; Apply writes at
    // most max lines / factor back and refuses fewer than min.
    KorPPNumListEdit(const char* title, double* values, int entries, int max, double factor,
                     int min);

    // The number of values in use (after Apply, the number written back).
    int GetEntries() const { return m_nEntries; }

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    KorPPNumListEdit() : KorPPNumListEdit(nullptr, nullptr, 0, 0, 1.0, 0) {}
    void DoDataExchange(CDataExchange* pDX) override;

    CListEditCtrl m_editor;
    double* m_pdValues; // the caller's (not owned)
    int m_nEntries;
    int m_nMax;
    double m_dFactor;
    int m_nMin;

private:
    CString m_strTitle; // the tab title m_psp points at
    // The lines written at initialisation with the values they show: a line
    // left as written gives its value back bit for bit, not through the
    // factor.
    std::vector<std::pair<CString, double>> m_shown;
};

class KorPPSelectID : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPSelectID)
public:
    enum { IDD = 27033 };
    typedef void (*SelectFunction)(CLongMatrix& ids, int kind);

    // An empty text hides its radio.
    KorPPSelectID(CString kind1, CString kind2, CString kind3);

    CString m_strKind1, m_strKind2, m_strKind3;
    CLongMatrix m_kindCodes; // row r, column 0: the kind passed for radio r
    CLongMatrix m_ids;       // read at Apply, one a row
    SelectFunction m_pfnSelect = nullptr;
    CString m_strIDs;
    int m_iKind = 0;

    BOOL OnInitDialog() override;
    // Reads the identifiers (truncated to integers) and calls the function.
    BOOL OnApply() override;

protected:
    KorPPSelectID() : KorPPSelectID("Nodes", "Edges", "Elements") {}
    void DoDataExchange(CDataExchange* pDX) override;
    void OnRadio();

    DECLARE_MESSAGE_MAP()
};

class KorPPTwoRad : public CPropertyPage
{
    DECLARE_DYNCREATE(KorPPTwoRad)
public:
    enum { IDD = 27032 };
    typedef void (*ApplyFunction)(int choice);

    KorPPTwoRad() : CPropertyPage(IDD) {}

    CString m_strRadio1, m_strRadio2, m_strGroup;
    ApplyFunction m_pfnApply = nullptr;
    CString m_strText;
    int m_iChoice = 0;

    BOOL OnInitDialog() override;
    BOOL OnApply() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnRadio();

    DECLARE_MESSAGE_MAP()
};
