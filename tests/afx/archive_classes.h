// Archivable classes used by the archive tests.
#pragma once

#include <set>

#include "platform/afx/afx.h"

namespace afxtest
{
// Objects of the test classes below are tracked while they live, so tests
// can delete what a failed load left behind.
std::set<CObject*>& liveObjects();
void deleteLiveObjects();
} // namespace afxtest

// A node that refers to another node.
class CTestNode : public CObject
{
    DECLARE_SERIAL(CTestNode)
public:
    CTestNode() { afxtest::liveObjects().insert(this); }
    explicit CTestNode(LONG value) : m_value(value) { afxtest::liveObjects().insert(this); }
    ~CTestNode() override { afxtest::liveObjects().erase(this); }
    void Serialize(CArchive& ar) override;

    LONG m_value = 0;
    CTestNode* m_pNext = nullptr;
};

// Versionable: schema 2 added the value; schema 1 had none.
class CTestVersioned : public CObject
{
    DECLARE_SERIAL(CTestVersioned)
public:
    void Serialize(CArchive& ar) override;
    LONG m_value = -1;
    UINT m_loadedSchema = 0;
};

// Abstract with a class record (schema 1) and a concrete subclass.
class CTestShape : public CObject
{
    DECLARE_SERIAL_ABSTRACT(CTestShape)
public:
    virtual double Area() const = 0;
};

class CTestSquare : public CTestShape
{
    DECLARE_SERIAL(CTestSquare)
public:
    double Area() const override { return m_side * m_side; }
    void Serialize(CArchive& ar) override;
    double m_side = 0;
};

// Knows its class but has no archive form.
class CTestDynamic : public CObject
{
    DECLARE_DYNAMIC(CTestDynamic)
};

// A list that derives from CObList and adds a word, as model classes do.
class CTestOwnerList : public CObList
{
    DECLARE_SERIAL(CTestOwnerList)
public:
    CTestOwnerList() { afxtest::liveObjects().insert(this); }
    ~CTestOwnerList() override { afxtest::liveObjects().erase(this); }
    void Serialize(CArchive& ar) override;
    DWORD m_word = 0;
};

// A string array with no fields of its own.
class CTestStrings : public CStringArray
{
    DECLARE_SERIAL(CTestStrings)
public:
    CTestStrings() { afxtest::liveObjects().insert(this); }
    ~CTestStrings() override { afxtest::liveObjects().erase(this); }
};
