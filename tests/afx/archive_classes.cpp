#include "tests/afx/archive_classes.h"

IMPLEMENT_SERIAL(CTestNode, CObject, 1)
IMPLEMENT_SERIAL(CTestVersioned, CObject, VERSIONABLE_SCHEMA | 2)
IMPLEMENT_SERIAL_ABSTRACT(CTestShape, CObject, 1)
IMPLEMENT_SERIAL(CTestSquare, CTestShape, 1)
IMPLEMENT_DYNAMIC(CTestDynamic, CObject)
IMPLEMENT_SERIAL(CTestOwnerList, CObList, 1)

IMPLEMENT_SERIAL(CTestStrings, CStringArray, 1)

std::set<CObject*>& afxtest::liveObjects()
{
    static std::set<CObject*> objects;
    return objects;
}

void afxtest::deleteLiveObjects()
{
    while (!liveObjects().empty())
        delete *liveObjects().begin();
}

void CTestNode::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_value;
        ar << m_pNext;
    } else {
        ar >> m_value;
        ar >> m_pNext;
    }
}

void CTestVersioned::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_value;
    } else {
        m_loadedSchema = ar.GetObjectSchema();
        if (m_loadedSchema >= 2)
            ar >> m_value;
    }
}

void CTestSquare::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_side;
    else
        ar >> m_side;
}

void CTestOwnerList::Serialize(CArchive& ar)
{
    CObList::Serialize(ar);
    if (ar.IsStoring())
        ar << m_word;
    else
        ar >> m_word;
}
