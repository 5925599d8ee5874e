#include <ctime>

#include <gtest/gtest.h>

#include "platform/afx/afx.h"
#include "tests/support/message_recorder.h"

using brantel::test::MessageRecorder;

TEST(MessageServiceTest, DefaultAnswerIsTheDefaultButton)
{
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},
        {MB_OKCANCEL | MB_ICONQUESTION, IDOK},
        {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO, IDYES},
        {MB_YESNO | MB_DEFBUTTON2, IDNO},
        {MB_YESNO | MB_DEFBUTTON3, IDYES}, // no third button: the first
        {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY},
        {MB_RETRYCANCEL, IDRETRY},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AfxDefaultAnswer(c.type), c.answer) << c.type;

    // Without a service installed the text goes to standard error.
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(AfxMessageBox("Device busy drawing", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "Device busy drawing\n");
}

TEST(MessageServiceTest, RecorderRecordsAndAnswersThenUninstalls)
{
    CMessageService* before = AfxGetMessageService();
    {
        MessageRecorder recorder;
        recorder.answer(IDNO);
        EXPECT_EQ(AfxMessageBox("Use sparse storage?", MB_YESNO), IDNO);
        EXPECT_EQ(AfxMessageBox("Done."), IDOK);
        ASSERT_EQ(recorder.messages().size(), 2u);
        EXPECT_EQ(recorder.messages()[0].type, MB_YESNO);
        EXPECT_EQ(recorder.texts(), (std::vector<std::string>{"Use sparse storage?", "Done."}));
        {
            MessageRecorder inner; // nests
            AfxMessageBox("inner");
            EXPECT_EQ(inner.messages().size(), 1u);
        }
        AfxMessageBox("outer again");
        EXPECT_EQ(recorder.messages().size(), 3u);
    }
    EXPECT_EQ(AfxGetMessageService(), before);
}

TEST(RuntimeServicesTest, RandomSourceIsSeededAnd15Bit)
{
    AfxSrand(1);
    const int first[] = {41, 18467, 6334, 26500, 19169};
    for (int expected : first)
        EXPECT_EQ(AfxRand(), expected);
    AfxSrand(12345);
    const int a = AfxRand();
    AfxSrand(12345);
    EXPECT_EQ(AfxRand(), a);
    int lo = AFX_RAND_MAX, hi = 0;
    for (int i = 0; i < 100000; ++i) {
        const int r = AfxRand();
        lo = std::min(lo, r);
        hi = std::max(hi, r);
    }
    EXPECT_EQ(lo, 0);
    EXPECT_EQ(hi, AFX_RAND_MAX);
}

TEST(RuntimeServicesTest, ProcessorSecondsFollowTheClock)
{
    const std::clock_t c0 = std::clock();
    const double s0 = AfxProcessorSeconds();
    volatile double x = 0;
    while (std::clock() - c0 < CLOCKS_PER_SEC / 20)
        x = x + 1;
    const double s1 = AfxProcessorSeconds();
    EXPECT_GE(s1 - s0, 0.04);
    EXPECT_LT(s1 - s0, 10.0);
}

TEST(SelectionNamesTest, MapsObjectsToNamesAndBack)
{
    CSelectionNames names;
    CObList a, b, c;
    const DWORD na = names.NameOf(&a);
    const DWORD nb = names.NameOf(&b);
    EXPECT_EQ(na, 1u);
    EXPECT_EQ(nb, 2u);
    EXPECT_EQ(names.NameOf(&a), na);
    EXPECT_EQ(names.ObjectOf(na), &a);
    EXPECT_EQ(names.ObjectOf(nb), &b);
    EXPECT_EQ(names.ObjectOf(0), nullptr);
    EXPECT_EQ(names.ObjectOf(99), nullptr);
    names.Forget(&a);
    EXPECT_EQ(names.ObjectOf(na), nullptr);
    EXPECT_EQ(names.NameOf(&c), 3u); // a's name is not reused
    EXPECT_EQ(names.GetCount(), 2u);
    names.RemoveAll();
    EXPECT_EQ(names.NameOf(&c), 1u);
    EXPECT_EQ(&AfxGetSelectionNames(), &AfxGetSelectionNames());
}
