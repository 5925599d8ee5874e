// Materials layer: the isotropic material CMaterial and the orthotropic
// COrthoMat. Values are held in N and mm; density in kg/mm^3, so that
// density x 9.81 is the body force in N/mm^3.
#pragma once

#include "platform/afx/archive.h"
#include "platform/afx/cstring.h"
#include "platform/afx/file.h"
#include "platform/afx/object.h"

class CMatrix;

class CMaterial : public CObject {
    DECLARE_SERIAL(CMaterial)
public:
    // Flag bit of the one base material.
    static constexpr unsigned kBaseMaterialBit = 0x80000000u;
    // Flag bit set by orthotropic materials.
    static constexpr unsigned kOrthotropicBit = 2u;

    CMaterial();
    CMaterial(CString name, double density, double modulus, double shear, double poisson,
              double expansion);
    ~CMaterial() override;

    // Archive (schema 1): name, density, modulus, shear modulus, Poisson's
    // ratio, expansion, red, green, blue, opacity, flag word, identifier.
    // The use count is not archived: the users add themselves after loading.
    void Serialize(CArchive& ar) override;

    // --- virtual operations, in this order
    // 1 modulus, 2 second modulus, 11 expansion, 12 second expansion; 0.0
    // for any other index.
    virtual double dGetParam(unsigned index);
    // One text line: prefix, the name, then density, modulus, shear
    // modulus, Poisson's ratio and expansion, each after the separator;
    // with a unit text, that follows the values; ends with "\r\n" when
    // newLine.
    virtual void ASCIIExport(CFile& file, CString prefix, CString separator, CString* unitText,
                             bool newLine);
    virtual void AddFlagBit(unsigned bits);
    // Writes the solver's row of 7 at row and advances row: E1, E2, nu, G,
    // density, expansion, 0.0. An isotropic material's G is E / (2 (1 + nu))
    // whatever shear modulus it stores, so that an edited modulus or
    // Poisson's ratio changes the plate and membrane stiffness as a whole;
    // the stored value (kept in files, read by the beam sections) is not
    // used here.
    virtual void InsertProp(CMatrix& m, int& row, int mode);
    // A new material of the same class with every value; use count 0.
    virtual CMaterial* Copy();

    CString GetName() const { return m_sName; }
    void SetName(const CString& name) { m_sName = name; }
    double GetRho() const { return m_dRho; }
    void SetRho(double v) { m_dRho = v; }
    double GetModOfElast() const { return m_dModOfElast; }
    void SetModOfElast(double v) { m_dModOfElast = v; }
    double GetModOfShear() const { return m_dModOfShear; }
    void SetModOfShear(double v) { m_dModOfShear = v; }
    double GetNu() const { return m_dNu; }
    void SetNu(double v) { m_dNu = v; }
    double GetLambda() const { return m_dLambda; }
    void SetLambda(double v) { m_dLambda = v; }
    // Opacity, 0 to 1.
    double GetSat() const { return m_dSat; }
    void SetSat(double v) { m_dSat = v; }
    void SetColor(double red, double green, double blue);
    double GetRed() const { return m_dRed; }
    double GetGreen() const { return m_dGreen; }
    double GetBlue() const { return m_dBlue; }
    DWORD GetFlag() const { return m_dwFlag; }
    void SetFlag(DWORD flag) { m_dwFlag = flag; }
    bool IsFlagBit(unsigned bits) const { return (m_dwFlag & bits) != 0; }
    // The solver material number.
    short GetID() const { return m_nID; }
    void SetID(short id) { m_nID = id; }

    // Use count: how many regions or elements use the material.
    void AddElem() { ++m_nElemCount; }
    void RemoveElem()
    {
        if (m_nElemCount > 0)
            --m_nElemCount;
    }
    int GetElemCount() const { return m_nElemCount; }

    // The current OpenGL colour becomes the material's colour, or its inverse.
    void GLColor() const;
    void GLInvertColor() const;

protected:
    // Copies every value but the use count.
    void CopyValuesFrom(const CMaterial& other);
    // The shear modulus written for the solver: the isotropic value.
    double SolverShearModulus() const;
    void WriteProp(CMatrix& m, int row, double e1, double e2, double shear) const;

    CString m_sName;
    double m_dRho = 0.0;
    double m_dModOfElast = 0.0;
    double m_dModOfShear = 0.0;
    double m_dNu = 0.0;
    double m_dLambda = 0.0;
    double m_dRed = 0.5;
    double m_dGreen = 0.5;
    double m_dBlue = 0.5;
    double m_dSat = 1.0;
    DWORD m_dwFlag = 0;
    short m_nID = 0;
    int m_nElemCount = 0;
};

class COrthoMat : public CMaterial {
    DECLARE_SERIAL(COrthoMat)
public:
    COrthoMat();
    COrthoMat(CString name, double density, double modulusX, double modulusY, double shear,
              double poisson, double poisson90, double expansion);
    ~COrthoMat() override;

    // The material's archive, then the second modulus, the second Poisson's
    // ratio and the second expansion.
    void Serialize(CArchive& ar) override;
    double dGetParam(unsigned index) override;
    // E1 = modulus X, E2 = modulus Y, the stored shear modulus.
    void InsertProp(CMatrix& m, int& row, int mode) override;
    CMaterial* Copy() override;

    double GetModOfElast90() const { return m_dModOfElast90; }
    void SetModOfElast90(double v) { m_dModOfElast90 = v; }
    double GetNu90() const { return m_dNu90; }
    void SetNu90(double v) { m_dNu90 = v; }
    double GetLambda90() const { return m_dLambda90; }
    void SetLambda90(double v) { m_dLambda90 = v; }

private:
    double m_dModOfElast90 = 0.0;
    double m_dNu90 = 0.0;
    double m_dLambda90 = 0.0;
};
