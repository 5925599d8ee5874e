#include <stdexcept>

#include <gtest/gtest.h>

#include "tests/afx/archive_classes.h"
#include "tests/support/temp_files.h"

using afxtest::Bytes;
using afxtest::loadBytes;
using afxtest::storeBytes;

namespace
{

class DeepChainTest : public ::testing::Test
{
protected:
    void TearDown() override { afxtest::deleteLiveObjects(); }
};

constexpr LONG kChain = 200000;

} // namespace

// Each node refers to the next, so storing and loading nest one Serialize
// per node: 200,000 levels, far beyond an ordinary thread's stack.
TEST_F(DeepChainTest, ChainOf200000ObjectsRoundTrips)
{
    std::vector<CTestNode*> chain;
    chain.reserve(kChain);
    for (LONG i = 0; i < kChain; ++i)
        chain.push_back(new CTestNode(i));
    for (LONG i = 0; i + 1 < kChain; ++i)
        chain[static_cast<std::size_t>(i)]->m_pNext = chain[static_cast<std::size_t>(i) + 1];
    chain.back()->m_pNext = chain.front(); // and closes the ring

    const Bytes bytes = storeBytes([&](CArchive& ar) { ar << chain.front(); });
    afxtest::deleteLiveObjects();

    CTestNode* head = nullptr;
    loadBytes(bytes, [&](CArchive& ar) {
        ar >> head;
        EXPECT_TRUE(ar.IsBufferEmpty());
    });
    ASSERT_NE(head, nullptr);
    EXPECT_EQ(afxtest::liveObjects().size(), static_cast<std::size_t>(kChain));
    const CTestNode* n = head;
    for (LONG i = 0; i < kChain; ++i) {
        ASSERT_EQ(n->m_value, i);
        n = n->m_pNext;
    }
    EXPECT_EQ(n, head);

    // A truncated copy fails with the archive exception, which reaches the
    // caller from whatever stack the failing read ran on.
    const Bytes cut(bytes.begin(), bytes.end() - 1);
    afxtest::deleteLiveObjects();
    try {
        loadBytes(cut, [](CArchive& ar) {
            CTestNode* p = nullptr;
            ar >> p;
        });
        FAIL() << "no exception";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
}

TEST(LargeStackTest, RunsDeepRecursionAndPassesExceptionsBack)
{
    // 100,000 nested calls of a frame with a 1 KiB local array.
    struct Deep {
        static int down(int n)
        {
            volatile char pad[1024];
            pad[0] = static_cast<char>(n);
            return n == 0 ? pad[0] : down(n - 1) + 1;
        }
    };
    int result = -1;
    AfxRunWithLargeStack([&] { result = Deep::down(100000); }, 512u << 20);
    EXPECT_EQ(result, 100000);

    EXPECT_THROW(AfxRunWithLargeStack([] { throw CArchiveException(CArchiveException::badIndex); }),
                 CArchiveException);
    EXPECT_FALSE(AfxStackIsLow());
}
