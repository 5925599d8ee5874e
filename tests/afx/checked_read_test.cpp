// The checked reads of CArchive: the expected class in, a typed pointer
// out; owning slots take only new objects read there; back-references to
// objects deleted meanwhile are refused; DeleteCreatedObjects frees what a
// load made, each object once, shared objects last.
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"
#include "tests/support/temp_files.h"

using afxtest::Bytes;
using afxtest::loadBytes;
using afxtest::storeBytes;

namespace
{

// Destructions of the classes below, in order, by name.
std::vector<std::string>& Destroyed()
{
    static std::vector<std::string> names;
    return names;
}

} // namespace

// A leaf with a name.
class CCheckLeaf : public CObject
{
    DECLARE_SERIAL(CCheckLeaf)
public:
    CCheckLeaf() = default;
    explicit CCheckLeaf(std::string name) : m_name(std::move(name)) {}
    ~CCheckLeaf() override { Destroyed().push_back(m_name); }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << CString(m_name.c_str());
        } else {
            CString s;
            ar >> s;
            m_name = s.GetString();
        }
    }
    std::string m_name;
};
IMPLEMENT_SERIAL(CCheckLeaf, CObject, 1)

// Shared by its users, which count themselves (as regions do a material).
class CCheckShared : public CCheckLeaf
{
    DECLARE_SERIAL(CCheckShared)
public:
    using CCheckLeaf::CCheckLeaf;
    int m_users = 0;
};
IMPLEMENT_SERIAL(CCheckShared, CCheckLeaf, 1)
static const AFX_SHAREDCLASS check_shared(RUNTIME_CLASS(CCheckShared));

// Owns a leaf, points at another, uses a shared one, and names one read
// before; owns a list of leaves.
class CCheckOwner : public CObject
{
    DECLARE_SERIAL(CCheckOwner)
public:
    CCheckOwner() = default;
    explicit CCheckOwner(std::string name) : m_name(std::move(name)) {}
    ~CCheckOwner() override
    {
        Destroyed().push_back(m_name);
        delete m_pOwned;
        if (m_pShared)
            --m_pShared->m_users; // must still be alive
        if (m_pList) {
            while (!m_pList->IsEmpty())
                delete m_pList->RemoveHead();
            delete m_pList;
        }
    }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << CString(m_name.c_str()) << m_pOwned << m_pRef << m_pShared << m_pEarlier
               << m_pList;
            return;
        }
        CString s;
        ar >> s;
        m_name = s.GetString();
        m_pOwned = ar.ReadObjectAs<CCheckLeaf>(RUNTIME_CLASS(CCheckLeaf), CArchive::useOwned);
        m_pRef = ar.ReadObjectAs<CCheckLeaf>(RUNTIME_CLASS(CCheckLeaf));
        m_pShared = ar.ReadObjectAs<CCheckShared>(RUNTIME_CLASS(CCheckShared));
        if (m_pShared)
            ++m_pShared->m_users;
        m_pEarlier = ar.ReadObjectAs<CObject>(nullptr, CArchive::useExisting);
        m_pList = ar.ReadListObject([](CArchive& a) -> CObject* {
            return a.ReadObjectAs<CCheckLeaf>(RUNTIME_CLASS(CCheckLeaf), CArchive::useOwned);
        });
    }
    std::string m_name;
    CCheckLeaf* m_pOwned = nullptr;
    CCheckLeaf* m_pRef = nullptr;
    CCheckShared* m_pShared = nullptr;
    CObject* m_pEarlier = nullptr;
    CObList* m_pList = nullptr;
};
IMPLEMENT_SERIAL(CCheckOwner, CObject, 1)

// Reads an object and deletes it at once (what loaders must not do while
// the archive can still hand the object out).
class CCheckEater : public CObject
{
    DECLARE_SERIAL(CCheckEater)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_pFood;
        else
            delete ar.ReadObject(nullptr);
    }
    CObject* m_pFood = nullptr;
};
IMPLEMENT_SERIAL(CCheckEater, CObject, 1)

namespace
{

// Loads the objects the body reads; the cause of the failure (none when it
// loads). The load is always discarded through DeleteCreatedObjects.
int LoadAndDiscard(const Bytes& bytes, const std::function<void(CArchive&)>& body)
{
    int cause = CArchiveException::none;
    loadBytes(bytes, [&](CArchive& ar) {
        try {
            body(ar);
        } catch (const CArchiveException& e) {
            cause = e.m_cause;
        }
        ar.DeleteCreatedObjects();
    });
    return cause;
}

class CheckedReadTest : public ::testing::Test
{
protected:
    void SetUp() override { Destroyed().clear(); }
};

} // namespace

TEST_F(CheckedReadTest, AValidGraphLoadsAndIsDiscardedOnce)
{
    CCheckShared shared("shared");
    CCheckLeaf ref("ref");
    CCheckOwner a("a"), b("b");
    a.m_pOwned = new CCheckLeaf("a.owned");
    a.m_pRef = &ref;
    a.m_pShared = &shared;
    a.m_pList = new CObList;
    a.m_pList->AddTail(new CCheckLeaf("a.list"));
    b.m_pOwned = new CCheckLeaf("b.owned");
    b.m_pRef = &ref;
    b.m_pShared = &shared;
    b.m_pEarlier = &a;
    shared.m_users = 2;
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a << &b; });
    a.m_pShared = b.m_pShared = nullptr;
    Destroyed().clear();

    loadBytes(bytes, [&](CArchive& ar) {
        CObject* first = ar.ReadObject(nullptr);
        CObject* second = ar.ReadObject(nullptr);
        auto* la = dynamic_cast<CCheckOwner*>(first);
        auto* lb = dynamic_cast<CCheckOwner*>(second);
        ASSERT_NE(la, nullptr);
        ASSERT_NE(lb, nullptr);
        EXPECT_EQ(lb->m_pEarlier, la);
        EXPECT_EQ(la->m_pRef, lb->m_pRef);
        ASSERT_NE(la->m_pShared, nullptr);
        EXPECT_EQ(la->m_pShared->m_users, 2);
        ASSERT_NE(la->m_pList, nullptr);
        EXPECT_EQ(la->m_pList->GetCount(), 1);
        EXPECT_EQ(ar.GetCreatedObjects().size(), 8u);
        // The owner deletes one of its own; the archive frees the rest: the
        // objects nobody owns in the order they were made (a frees what it
        // owns), then the shared one.
        Destroyed().clear();
        delete lb;
        EXPECT_EQ(ar.GetCreatedObjects().size(), 6u);
        ar.DeleteCreatedObjects();
        EXPECT_TRUE(ar.GetCreatedObjects().empty());
    });
    EXPECT_EQ(Destroyed(), (std::vector<std::string>{"b", "b.owned", "a", "a.owned", "a.list", "ref",
                                                     "shared"}));
}

TEST_F(CheckedReadTest, AnObjectOfAnotherClassIsBadClass)
{
    // A shared leaf where a plain leaf is owned is fine (derived); a plain
    // leaf where a shared one is expected is not, new or read before.
    CCheckOwner a("a");
    CCheckLeaf leaf("leaf");
    a.m_pOwned = new CCheckShared("derived");
    a.m_pRef = &leaf;
    a.m_pShared = reinterpret_cast<CCheckShared*>(&leaf); // stored as the same object
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a; });
    a.m_pShared = nullptr;
    EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
              CArchiveException::badClass);

    CCheckOwner b("b");
    b.m_pShared = reinterpret_cast<CCheckShared*>(new CCheckLeaf("new leaf"));
    const Bytes fresh = storeBytes([&](CArchive& ar) { ar << &b; });
    delete reinterpret_cast<CCheckLeaf*>(b.m_pShared);
    b.m_pShared = nullptr;
    EXPECT_EQ(LoadAndDiscard(fresh, [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
              CArchiveException::badClass);
}

TEST_F(CheckedReadTest, OwningSlotsTakeOnlyNewObjectsReadThere)
{
    // A leaf read before, referenced, then owned: refused.
    {
        CCheckOwner a("a");
        CCheckLeaf* leaf = new CCheckLeaf("leaf");
        a.m_pRef = leaf;
        CCheckOwner b("b");
        b.m_pOwned = leaf;
        const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a << &b; });
        b.m_pOwned = nullptr;
        delete leaf;
        EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) {
                      delete ar.ReadObject(nullptr);
                      delete ar.ReadObject(nullptr);
                  }),
                  CArchiveException::badIndex);
    }
    // One leaf owned by two owners: refused.
    {
        CCheckOwner a("a"), b("b");
        a.m_pOwned = new CCheckLeaf("leaf");
        b.m_pOwned = a.m_pOwned;
        const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a << &b; });
        b.m_pOwned = nullptr;
        EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) {
                      delete ar.ReadObject(nullptr);
                      delete ar.ReadObject(nullptr);
                  }),
                  CArchiveException::badIndex);
    }
    // One leaf twice in an owned list: refused.
    {
        CCheckOwner a("a");
        a.m_pList = new CObList;
        auto* leaf = new CCheckLeaf("leaf");
        a.m_pList->AddTail(leaf);
        a.m_pList->AddTail(leaf);
        const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a; });
        a.m_pList->RemoveTail();
        EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
                  CArchiveException::badIndex);
    }
    // An owner that points at itself as its own leaf list entry: refused.
    {
        CCheckOwner a("a");
        a.m_pEarlier = &a;
        const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a; });
        a.m_pEarlier = nullptr;
        EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
                  CArchiveException::none); // a reference to the object being read is fine
    }
    // A list object in an owning slot must be a new plain list.
    {
        CCheckOwner a("a"), b("b");
        a.m_pList = new CObList;
        b.m_pList = a.m_pList;
        const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a << &b; });
        b.m_pList = nullptr;
        EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) {
                      delete ar.ReadObject(nullptr);
                      delete ar.ReadObject(nullptr);
                  }),
                  CArchiveException::badIndex);
    }
}

TEST_F(CheckedReadTest, ASlotForAnObjectReadBeforeRefusesANewOne)
{
    CCheckOwner a("a");
    a.m_pEarlier = new CCheckLeaf("orphan");
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a; });
    delete a.m_pEarlier;
    a.m_pEarlier = nullptr;
    EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) { delete ar.ReadObject(nullptr); }),
              CArchiveException::badIndex);
}

TEST_F(CheckedReadTest, ABackReferenceToADeletedObjectIsBadIndex)
{
    // The eater reads a leaf and deletes it; the next reference to the leaf
    // would hand out freed memory.
    CCheckLeaf leaf("leaf");
    CCheckEater eater;
    eater.m_pFood = &leaf;
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &eater << &leaf; });
    EXPECT_EQ(LoadAndDiscard(bytes, [](CArchive& ar) {
                  delete ar.ReadObject(nullptr);
                  ar.ReadObject(nullptr);
              }),
              CArchiveException::badIndex);
}

TEST_F(CheckedReadTest, AFailedLoadIsFreedOnceWhereverItBreaksOff)
{
    CCheckShared shared("shared");
    CCheckOwner a("a"), b("b");
    a.m_pOwned = new CCheckLeaf("a.owned");
    a.m_pShared = &shared;
    a.m_pList = new CObList;
    a.m_pList->AddTail(new CCheckLeaf("a.list1"));
    a.m_pList->AddTail(new CCheckLeaf("a.list2"));
    b.m_pOwned = new CCheckLeaf("b.owned");
    b.m_pShared = &shared;
    b.m_pEarlier = &a;
    b.m_pRef = a.m_pOwned;
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a << &b; });
    a.m_pShared = b.m_pShared = nullptr;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        Destroyed().clear();
        std::size_t made = 0;
        const int cause = LoadAndDiscard(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(n)),
                                         [&](CArchive& ar) {
                                             try {
                                                 ar.ReadObject(nullptr);
                                                 ar.ReadObject(nullptr);
                                             } catch (...) {
                                                 for (CObject* ob : ar.GetCreatedObjects())
                                                     made += ob->GetRuntimeClass() != RUNTIME_CLASS(CObList);
                                                 throw;
                                             }
                                         });
        EXPECT_EQ(cause, CArchiveException::endOfFile) << n;
        // Each object made (but the plain lists, which keep no record) is
        // destroyed once; the sanitizer build checks that none is touched
        // after.
        std::vector<std::string> names = Destroyed();
        EXPECT_EQ(names.size(), made) << n;
        std::sort(names.begin(), names.end());
        EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end()) << n;
    }
}
