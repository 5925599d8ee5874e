#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "tests/afx/archive_classes.h"
#include "tests/support/temp_files.h"

using afxtest::Bytes;
using afxtest::loadBytes;
using afxtest::storeBytes;
using afxtest::TempFile;
using afxtest::text;
using afxtest::operator+;

namespace
{

struct EncodingCase {
    const char* name;
    std::function<void(CArchive&)> store;
    Bytes expected;
};

// Class record of CTestNode: new-class tag, schema 1, name.
Bytes nodeClassRecord()
{
    return Bytes{0xFF, 0xFF, 0x01, 0x00, 0x09, 0x00} + text("CTestNode");
}

int causeOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return -1;
}

class ArchiveTest : public ::testing::Test
{
protected:
    void TearDown() override { afxtest::deleteLiveObjects(); }
};

} // namespace

TEST_F(ArchiveTest, WritesTheClassicByteLayout)
{
    const EncodingCase cases[] = {
        {"byte", [](CArchive& ar) { ar << BYTE(0xAB); }, {0xAB}},
        {"word", [](CArchive& ar) { ar << WORD(0x1234); }, {0x34, 0x12}},
        {"long", [](CArchive& ar) { ar << LONG(-2); }, {0xFE, 0xFF, 0xFF, 0xFF}},
        {"dword", [](CArchive& ar) { ar << DWORD(0x89ABCDEF); }, {0xEF, 0xCD, 0xAB, 0x89}},
        {"int", [](CArchive& ar) { ar << 7; }, {7, 0, 0, 0}},
        {"float", [](CArchive& ar) { ar << 1.0f; }, {0, 0, 0x80, 0x3F}},
        {"double", [](CArchive& ar) { ar << -2.5; }, {0, 0, 0, 0, 0, 0, 0x04, 0xC0}},
        {"bool", [](CArchive& ar) { ar << true << false; }, {1, 0, 0, 0, 0, 0, 0, 0}},
        {"count below 0xFFFF", [](CArchive& ar) { ar.WriteCount(0xFFFE); }, {0xFE, 0xFF}},
        {"count 0xFFFF",
         [](CArchive& ar) { ar.WriteCount(0xFFFF); },
         {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {"count 0x12345",
         [](CArchive& ar) { ar.WriteCount(0x12345); },
         {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
        {"empty string", [](CArchive& ar) { ar << CString(); }, {0}},
        {"short string", [](CArchive& ar) { ar << CString("ab"); }, {2, 'a', 'b'}},
        {"text literal", [](CArchive& ar) { ar << "ab"; }, {2, 'a', 'b'}},
        {"null object", [](CArchive& ar) { ar << static_cast<CObject*>(nullptr); }, {0, 0}},
        {"empty list",
         [](CArchive& ar) {
             CObList list;
             ar << &list;
         },
         Bytes{0xFF, 0xFF, 0x00, 0x00, 0x07, 0x00} + text("CObList") + Bytes{0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(storeBytes(c.store), c.expected) << c.name;
}

TEST_F(ArchiveTest, StringLengthPrefixesAtEachBoundary)
{
    struct Case {
        std::size_t length;
        Bytes prefix;
    };
    const Case cases[] = {
        {254, {0xFE}},
        {255, {0xFF, 0xFF, 0x00}},
        {65533, {0xFF, 0xFD, 0xFF}},
        {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
    };
    for (const auto& c : cases) {
        std::string s(c.length, 'x');
        s.front() = 'A';
        s.back() = 'Z';
        const Bytes bytes = storeBytes([&](CArchive& ar) { ar << CString(s); });
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(c.prefix.size())),
                  c.prefix)
            << c.length;
        CString back;
        loadBytes(bytes, [&](CArchive& ar) {
            ar >> back;
            EXPECT_TRUE(ar.IsBufferEmpty());
        });
        EXPECT_EQ(back.str(), s) << c.length;
    }
}

TEST_F(ArchiveTest, ValuesRoundTrip)
{
    const Bytes bytes = storeBytes([](CArchive& ar) {
        ar << BYTE(200) << WORD(65000) << LONG(-123456) << DWORD(4000000000u) << 1.5f << 1e-300;
        ar << true << CString("text");
        ar.WriteCount(70000);
    });
    loadBytes(bytes, [](CArchive& ar) {
        BYTE b;
        WORD w;
        LONG l;
        DWORD dw;
        float f;
        double d;
        bool flag = false;
        CString s;
        ar >> b >> w >> l >> dw >> f >> d >> flag >> s;
        EXPECT_EQ(b, 200);
        EXPECT_EQ(w, 65000);
        EXPECT_EQ(l, -123456);
        EXPECT_EQ(dw, 4000000000u);
        EXPECT_EQ(f, 1.5f);
        EXPECT_EQ(d, 1e-300);
        EXPECT_TRUE(flag);
        EXPECT_EQ(s, "text");
        EXPECT_EQ(ar.ReadCount(), 70000u);
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
}

// Two nodes that refer to each other: the first object of a class carries
// the class record, the second the class index, the cycle a back-reference.
TEST_F(ArchiveTest, CyclicGraphWritesBackReferencesAndLoadsTheSameShape)
{
    CTestNode a(1), b(2);
    a.m_pNext = &b;
    b.m_pNext = &a;
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &a; });
    const Bytes expected = nodeClassRecord() + Bytes{1, 0, 0, 0} // a: class 1, object 2
                           + Bytes{0x01, 0x80, 2, 0, 0, 0}       // b: known class 1, object 3
                           + Bytes{0x02, 0x00};                  // b.next: object 2
    EXPECT_EQ(bytes, expected);

    CTestNode* loaded = nullptr;
    loadBytes(bytes, [&](CArchive& ar) { ar >> loaded; });
    ASSERT_NE(loaded, nullptr);
    ASSERT_NE(loaded->m_pNext, nullptr);
    EXPECT_EQ(loaded->m_value, 1);
    EXPECT_EQ(loaded->m_pNext->m_value, 2);
    EXPECT_EQ(loaded->m_pNext->m_pNext, loaded);
}

TEST_F(ArchiveTest, SharedObjectsAndListsLoadAsOneObjectEach)
{
    CTestNode self(5);
    self.m_pNext = &self;
    CTestNode other(6);
    CObList list;
    list.AddTail(&self);
    list.AddTail(&other);
    list.AddTail(&self);
    list.AddTail(static_cast<CObject*>(nullptr));
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &list; });

    CObject* ob = nullptr;
    loadBytes(bytes, [&](CArchive& ar) { ar >> ob; });
    auto* back = dynamic_cast<CObList*>(ob);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->GetCount(), 4);
    POSITION pos = back->GetHeadPosition();
    auto* n1 = static_cast<CTestNode*>(back->GetNext(pos));
    auto* n2 = static_cast<CTestNode*>(back->GetNext(pos));
    auto* n3 = static_cast<CTestNode*>(back->GetNext(pos));
    EXPECT_EQ(back->GetNext(pos), nullptr);
    EXPECT_EQ(n1, n3);
    EXPECT_EQ(n1->m_pNext, n1);
    EXPECT_EQ(n2->m_value, 6);
    delete back;
}

// Past 0x7FFE map entries, indexes are written as WORD 0x7FFF and a DWORD.
TEST_F(ArchiveTest, LargeIndexesUseTheBigTag)
{
    std::vector<CTestNode> padding(0x7FFE);
    CTestNode x(1), y(2);
    const Bytes bytes = storeBytes([&](CArchive& ar) {
        for (auto& p : padding)
            ar.MapObject(&p);
        ar << &x << &y << &x; // class index 0x7FFF, x 0x8000, y 0x8001
    });
    const std::size_t tail = nodeClassRecord().size() + 6;
    const Bytes rest(bytes.begin() + static_cast<long>(tail), bytes.end());
    const Bytes expected = Bytes{0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80} + Bytes{2, 0, 0, 0, 0, 0} +
                           Bytes{0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00};
    EXPECT_EQ(rest, expected);

    loadBytes(bytes, [&](CArchive& ar) {
        for (int i = 0; i < 0x7FFE; ++i)
            ar.MapObject(nullptr);
        CTestNode *lx = nullptr, *ly = nullptr, *lx2 = nullptr;
        ar >> lx >> ly >> lx2;
        ASSERT_NE(lx, nullptr);
        ASSERT_NE(ly, nullptr);
        EXPECT_EQ(lx, lx2);
        EXPECT_EQ(ly->m_value, 2);
    });
}

TEST_F(ArchiveTest, WrongOrUnknownClassesAreRefused)
{
    CStringArray strings;
    strings.Add("a");
    const Bytes stringBytes = storeBytes([&](CArchive& ar) { ar << &strings; });
    EXPECT_EQ(causeOf([&] {
                  loadBytes(stringBytes, [](CArchive& ar) {
                      CTestNode* n = nullptr;
                      ar >> n;
                  });
              }),
              CArchiveException::badClass);

    // A known object read back where another class is expected.
    CTestNode node(1);
    const Bytes twice = storeBytes([&](CArchive& ar) { ar << &node << &node; });
    EXPECT_EQ(causeOf([&] {
                  loadBytes(twice, [](CArchive& ar) {
                      CTestNode* n = nullptr;
                      ar >> n;
                      ar.ReadObject(RUNTIME_CLASS(CTestSquare));
                  });
              }),
              CArchiveException::badClass);

    const Bytes unknown = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00} + text("CNoSuchX");
    EXPECT_EQ(causeOf([&] { loadBytes(unknown, [](CArchive& ar) { ar.ReadObject(nullptr); }); }),
              CArchiveException::badClass);

    // An abstract class has a record but cannot be created from a file.
    const Bytes abstract = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0A, 0x00} + text("CTestShape");
    EXPECT_EQ(causeOf([&] { loadBytes(abstract, [](CArchive& ar) { ar.ReadObject(nullptr); }); }),
              CArchiveException::badClass);

    // A class without an archive form cannot be written.
    CTestDynamic dynamic;
    EXPECT_EQ(causeOf([&] { storeBytes([&](CArchive& ar) { ar << &dynamic; }); }),
              CArchiveException::badClass);
}

TEST_F(ArchiveTest, ClassReadOrNoneSkipsUnknownClassesAndKeepsTheMapInStep)
{
    // An unknown class record (index 1), an object (class index 2, object
    // index 3), a reference back to the unknown class, a known class that
    // is not the requested one (index 4), then a back-reference to the
    // object.
    CTestNode node(7);
    const Bytes nodeBytes = storeBytes([&](CArchive& ar) { ar << &node; });
    const Bytes bytes = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00} + text("CNoSuchX") + nodeBytes +
                        Bytes{0x01, 0x80} + Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0B, 0x00} +
                        text("CTestSquare") + Bytes{0x03, 0x00};
    loadBytes(bytes, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadClassOrNone(nullptr), nullptr);
        CObject* first = ar.ReadObject(RUNTIME_CLASS(CTestNode));
        ASSERT_TRUE(first);
        EXPECT_EQ(static_cast<CTestNode*>(first)->m_value, 7);
        EXPECT_EQ(ar.ReadClassOrNone(nullptr), nullptr);
        EXPECT_EQ(ar.ReadClassOrNone(RUNTIME_CLASS(CTestNode)), nullptr);
        EXPECT_EQ(ar.ReadObject(nullptr), first);
    });
    // A known class comes back; an object reference or a damaged name is
    // refused.
    const Bytes known = storeBytes([](CArchive& ar) { ar.WriteClass(RUNTIME_CLASS(CTestNode)); });
    loadBytes(known, [](CArchive& ar) {
        EXPECT_EQ(ar.ReadClassOrNone(RUNTIME_CLASS(CObject)), RUNTIME_CLASS(CTestNode));
    });
    EXPECT_EQ(causeOf([&] {
                  loadBytes(Bytes{0x00, 0x00}, [](CArchive& ar) { ar.ReadClassOrNone(); });
              }),
              CArchiveException::badIndex);
    EXPECT_EQ(causeOf([&] {
                  loadBytes(Bytes{0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00},
                            [](CArchive& ar) { ar.ReadClassOrNone(); });
              }),
              CArchiveException::badClass);
    // A later object of the skipped class still cannot be made.
    EXPECT_EQ(causeOf([&] {
                  loadBytes(Bytes{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00} + text("CNoSuchX") +
                                Bytes{0x01, 0x80},
                            [](CArchive& ar) {
                                ar.ReadClassOrNone();
                                ar.ReadObject(nullptr);
                            });
              }),
              CArchiveException::badClass);
}

TEST_F(ArchiveTest, SchemasOfPlainAndVersionableClasses)
{
    // CTestNode (schema 1, not versionable) stored as schema 2.
    const Bytes badSchema =
        Bytes{0xFF, 0xFF, 0x02, 0x00, 0x09, 0x00} + text("CTestNode") + Bytes{1, 0, 0, 0, 0, 0};
    EXPECT_EQ(causeOf([&] { loadBytes(badSchema, [](CArchive& ar) { ar.ReadObject(nullptr); }); }),
              CArchiveException::badSchema);

    // A versionable class reads what the stored schema says, for every
    // object of that class in the archive.
    const Bytes old =
        Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00} + text("CTestVersioned") + Bytes{0x01, 0x80};
    loadBytes(old, [](CArchive& ar) {
        CTestVersioned *a = nullptr, *b = nullptr;
        ar >> a >> b;
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a->m_loadedSchema, 1u);
        EXPECT_EQ(b->m_loadedSchema, 1u);
        EXPECT_EQ(a->m_value, -1);
        EXPECT_TRUE(ar.IsBufferEmpty());
        delete a;
        delete b;
    });

    CTestVersioned current;
    current.m_value = 9;
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &current; });
    EXPECT_EQ(bytes[2], 2); // the flag is not part of the stored schema word
    EXPECT_EQ(bytes[3], 0);
    loadBytes(bytes, [](CArchive& ar) {
        CTestVersioned* v = nullptr;
        ar >> v;
        EXPECT_EQ(v->m_loadedSchema, 2u);
        EXPECT_EQ(v->m_value, 9);
        delete v;
    });
}

// Every proper prefix of a valid archive fails with an archive exception;
// nothing crashes and nothing is read out of bounds.
TEST_F(ArchiveTest, TruncatedArchivesThrow)
{
    CTestNode a(1), b(2), c(3);
    a.m_pNext = &b;
    b.m_pNext = &c;
    CTestOwnerList list;
    list.AddTail(&a);
    list.AddTail(&c);
    CTestStrings names;
    names.Add("first");
    names.Add(CString('n', 300));
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &list << &names << CString("tail"); });
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const Bytes prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
        const std::size_t before = afxtest::liveObjects().size();
        const int cause = causeOf([&] {
            loadBytes(prefix, [&](CArchive& ar) {
                try {
                    CObject* ob = nullptr;
                    ar >> ob >> ob;
                    CString s;
                    ar >> s;
                } catch (const CArchiveException&) {
                    // Nothing of this load is kept: the caller may free it all.
                    for (CObject* ob : ar.GetCreatedObjects())
                        delete ob;
                    throw;
                }
            });
        });
        EXPECT_EQ(cause, CArchiveException::endOfFile) << "prefix of " << n << " bytes";
        EXPECT_EQ(afxtest::liveObjects().size(), before) << "prefix of " << n << " bytes";
    }
}

TEST_F(ArchiveTest, CorruptCountsAndIndexesThrowWithoutHugeAllocations)
{
    struct Case {
        const char* name;
        Bytes bytes;
        int cause;
    };
    const Bytes listRecord = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0E, 0x00} + text("CTestOwnerList");
    const Bytes arrayRecord = Bytes{0xFF, 0xFF, 0x01, 0x00, 0x0C, 0x00} + text("CTestStrings");
    const Case cases[] = {
        {"list count 2^31", listRecord + Bytes{0xFF, 0xFF, 0, 0, 0, 0x80, 0, 0},
         CArchiveException::endOfFile},
        {"array count 2^32-1", arrayRecord + Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         CArchiveException::endOfFile},
        {"string length 2^32-1",
         arrayRecord + Bytes{1, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},
         CArchiveException::endOfFile},
        {"reference to an object not yet read", Bytes{0x05, 0x00}, CArchiveException::badIndex},
        {"big reference past the end", Bytes{0xFF, 0x7F, 0x00, 0x00, 0x01, 0x00},
         CArchiveException::badIndex},
        {"class index that names an object",
         nodeClassRecord() + Bytes{1, 0, 0, 0, 0, 0} + Bytes{0x02, 0x80},
         CArchiveException::badIndex},
        {"object index that names a class", nodeClassRecord() + Bytes{1, 0, 0, 0, 0x01, 0x00},
         CArchiveException::badIndex},
        {"class name of length 0", Bytes{0xFF, 0xFF, 0x01, 0x00, 0x00, 0x00},
         CArchiveException::badClass},
    };
    for (const auto& c : cases) {
        const int cause = causeOf([&] {
            loadBytes(c.bytes, [](CArchive& ar) {
                ar.ReadObject(nullptr);
                ar.ReadObject(nullptr);
            });
        });
        EXPECT_EQ(cause, c.cause) << c.name;
        afxtest::deleteLiveObjects();
    }
}

// Readers compute file positions right after closing a loading archive:
// the file must stand where the archive stopped reading, not where its
// buffer stopped.
TEST_F(ArchiveTest, ClosingALoadingArchiveLeavesTheFileAtTheReadPosition)
{
    TempFile tmp;
    tmp.write(text("first line\r\nsecond\nthird\r\n") + Bytes(10000, 'x'));
    CFile f(tmp.path(), CFile::modeRead);
    {
        CArchive ar(&f, CArchive::load);
        CString line;
        ASSERT_TRUE(ar.ReadString(line));
        EXPECT_EQ(line, "first line");
        ar.Close();
    }
    EXPECT_EQ(f.GetPosition(), 12u);
    {
        CArchive ar(&f, CArchive::load, 64);
        CString line;
        ASSERT_TRUE(ar.ReadString(line));
        EXPECT_EQ(line, "second");
        BYTE b;
        ar >> b;
        EXPECT_EQ(b, 't');
    } // the destructor closes too
    EXPECT_EQ(f.GetPosition(), 20u);
    {
        CArchive ar(&f, CArchive::load);
        LONG l;
        ar >> l;
        ar.Flush();
        EXPECT_EQ(f.GetPosition(), 24u);
        ar >> l; // reading goes on after a flush
        ar.Close();
        EXPECT_EQ(f.GetPosition(), 28u);
    }
}

TEST_F(ArchiveTest, ReadStringTakesBothLineEndsAndStopsAtTheEnd)
{
    TempFile tmp;
    tmp.write(text("a\r\n\nbb\n\r\nlast"));
    CFile f(tmp.path(), CFile::modeRead);
    CArchive ar(&f, CArchive::load, 128);
    std::vector<std::string> lines;
    CString line;
    while (ar.ReadString(line))
        lines.push_back(line.str());
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "", "bb", "", "last"}));
    EXPECT_FALSE(ar.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());

    // A line longer than the buffer.
    const std::string longLine(1000, 'q');
    const Bytes bytes = storeBytes([&](CArchive& out) {
        out.WriteString(longLine.c_str());
        out.WriteString("\r\nend");
    });
    EXPECT_EQ(bytes.size(), longLine.size() + 5);
    loadBytes(bytes, [&](CArchive& in) {
        CString s;
        ASSERT_TRUE(in.ReadString(s));
        EXPECT_EQ(s.str(), longLine);
        ASSERT_TRUE(in.ReadString(s));
        EXPECT_EQ(s, "end");
    });
}

// Trailing blocks are read "while data remain": the test must look past the
// archive's buffer into the file.
TEST_F(ArchiveTest, BufferEmptyTestSeesDataBeyondTheBuffer)
{
    const Bytes bytes = storeBytes([](CArchive& ar) {
        for (int i = 0; i < 1024; ++i)
            ar << LONG(i); // exactly one 4096-byte buffer
        ar << LONG(77);    // a trailing block
    });
    loadBytes(bytes, [](CArchive& ar) {
        LONG v = 0;
        for (int i = 0; i < 1024; ++i)
            ar >> v;
        ASSERT_FALSE(ar.IsBufferEmpty());
        ar >> v;
        EXPECT_EQ(v, 77);
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
}

TEST_F(ArchiveTest, WrongDirectionThrows)
{
    TempFile tmp;
    tmp.write(Bytes{1, 2, 3, 4});
    CFile f(tmp.path(), CFile::modeRead);
    CArchive ar(&f, CArchive::load);
    EXPECT_EQ(causeOf([&] { ar << LONG(1); }), CArchiveException::readOnly);
    EXPECT_EQ(causeOf([] {
                  storeBytes([](CArchive& out) {
                      LONG l;
                      out >> l;
                  });
              }),
              CArchiveException::writeOnly);
}

TEST_F(ArchiveTest, DerivedListAddsItsFieldsAfterTheList)
{
    CTestNode n(4);
    CTestOwnerList owner;
    owner.AddTail(&n);
    owner.m_word = 0xDEADBEEF;
    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << &owner; });
    loadBytes(bytes, [](CArchive& ar) {
        CTestOwnerList* back = nullptr;
        ar >> back;
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->GetCount(), 1);
        EXPECT_EQ(static_cast<CTestNode*>(back->GetHead())->m_value, 4);
        EXPECT_EQ(back->m_word, 0xDEADBEEFu);
        EXPECT_TRUE(back->IsKindOf(RUNTIME_CLASS(CObList)));
        delete back;
    });
}

// Raw reads mix buffered bytes and large blocks read straight from the file.
TEST_F(ArchiveTest, RawReadsOfAnySizeKeepTheByteOrder)
{
    Bytes data(10000);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>(i * 7 + i / 256);
    const Bytes bytes = storeBytes([&](CArchive& ar) {
        ar.Write(data.data(), 10);
        ar.Write(data.data() + 10, static_cast<UINT>(data.size() - 10));
        ar << LONG(-5);
    });
    ASSERT_EQ(bytes.size(), data.size() + 4);
    TempFile tmp;
    tmp.write(bytes);
    CFile f(tmp.path(), CFile::modeRead);
    CArchive ar(&f, CArchive::load, 128);
    Bytes got(data.size());
    std::size_t at = 0;
    for (UINT n : {50u, 5000u, 3u, 127u, 129u, 4691u}) {
        ASSERT_EQ(ar.Read(got.data() + at, n), n);
        at += n;
    }
    EXPECT_EQ(got, data);
    LONG l = 0;
    ar >> l;
    EXPECT_EQ(l, -5);
    BYTE rest[4];
    EXPECT_EQ(ar.Read(rest, 4), 0u);
}
