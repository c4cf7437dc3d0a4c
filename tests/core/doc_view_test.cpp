// Document/view notifications and command routing: who hears a hint, in
// which order, on which thread, and which target takes a command.
#include "platform/cmd_target.h"
#include "platform/doc_view.h"

#include <QCoreApplication>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

namespace {

// Queued updates need an application object on this thread.
QCoreApplication* App()
{
    static int argc = 1;
    static char name[] = "core_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app
        = QCoreApplication::instance() ? QCoreApplication::instance() : new QCoreApplication(argc, argv);
    return app;
}

struct RecordingView : CView {
    explicit RecordingView(std::vector<std::pair<int, int>>* log, int name)
        : m_log(log)
        , m_name(name)
    {
    }
    void OnUpdate(CView*, int hint) override
    {
        m_log->push_back({m_name, hint});
        if (onUpdate)
            onUpdate(hint);
    }
    std::vector<std::pair<int, int>>* m_log;
    int m_name;
    std::function<void(int)> onUpdate;
};

// A document with one view, named 1, that logs what it hears.
class DocView : public ::testing::Test {
protected:
    void SetUp() override
    {
        App();
        doc.AddView(&view);
    }
    CDocument doc;
    std::vector<std::pair<int, int>> log;
    RecordingView view {&log, 1};
};

}  // namespace

TEST_F(DocView, ViewsHearHintsInCreationOrderAndNestedUpdatesRunAtOnce)
{
    RecordingView second(&log, 2);
    doc.AddView(&second);
    // The second view answers hint 2 with hint 0, as the thumbnail view does.
    second.onUpdate = [&](int hint) {
        if (hint == 2)
            doc.UpdateAllViews(nullptr, 0);
    };
    doc.UpdateAllViews(nullptr, 2);
    const std::vector<std::pair<int, int>> expected = {{1, 2}, {2, 2}, {1, 0}, {2, 0}};
    EXPECT_EQ(log, expected);
}

TEST_F(DocView, SenderIsSkippedAndDestroyedViewLeavesTheDocument)
{
    {
        RecordingView gone(&log, 2);
        doc.AddView(&gone);
        doc.UpdateAllViews(&view, 0);
    }
    doc.UpdateAllViews(nullptr, 2);
    const std::vector<std::pair<int, int>> expected = {{2, 0}, {1, 2}};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(doc.GetViews().size(), 1u);
}

TEST_F(DocView, HintsFromAnotherThreadArriveOnThisThreadInOrder)
{
    std::thread::id seenOn;
    view.onUpdate = [&](int) { seenOn = std::this_thread::get_id(); };
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i)
            doc.UpdateAllViews(nullptr, i % 2 == 0 ? 2 : 0);
    });
    worker.join();
    EXPECT_TRUE(log.empty());  // nothing ran on the worker
    doc.DeliverQueuedUpdates();
    ASSERT_EQ(log.size(), 200u);
    for (int i = 0; i < 200; ++i)
        EXPECT_EQ(log[size_t(i)].second, i % 2 == 0 ? 2 : 0);
    EXPECT_EQ(seenOn, std::this_thread::get_id());
}

TEST_F(DocView, DroppedHintsOfAStoppedBuildStaySilent)
{
    std::thread([&] { doc.UpdateAllViews(nullptr, 2); }).join();
    doc.DropQueuedUpdates();
    std::thread([&] { doc.UpdateAllViews(nullptr, 0); }).join();
    doc.DeliverQueuedUpdates();
    const std::vector<std::pair<int, int>> expected = {{1, 0}};
    EXPECT_EQ(log, expected);
}

TEST_F(DocView, InputPostedBehindALongQueueRunsBeforeTheQueueIsDone)
{
    // Each hint costs a millisecond, so the whole queue takes far longer than
    // one delivery slice.
    view.onUpdate = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
    constexpr int kHints = 100;
    std::thread([&] {
        for (int i = 0; i < kHints; ++i)
            doc.UpdateAllViews(nullptr, i);
    }).join();
    size_t deliveredBeforeTap = 0;
    bool tapped = false;
    QMetaObject::invokeMethod(
        App(), [&] { deliveredBeforeTap = log.size(), tapped = true; }, Qt::QueuedConnection);
    while (!tapped || doc.HasQueuedUpdates())
        QCoreApplication::processEvents();
    EXPECT_GT(deliveredBeforeTap, 0u);
    EXPECT_LT(deliveredBeforeTap, size_t(kHints));
    ASSERT_EQ(log.size(), size_t(kHints));
    for (int i = 0; i < kHints; ++i)
        EXPECT_EQ(log[size_t(i)].second, i);
}

TEST(CommandRouting, FirstTargetWithAHandlerTakesTheCommand)
{
    CCmdTarget view, doc, frame, app;
    std::vector<std::string> took;
    doc.OnCommand(7, [&] { took.push_back("doc"); });
    app.OnCommand(7, [&] { took.push_back("app"); });
    app.OnCommand(8, [&] { took.push_back("app8"); });
    CCommandRouter router;
    router.SetChain([&] { return std::vector<CCmdTarget*> {&view, &doc, nullptr, &app}; });
    EXPECT_TRUE(router.Route(7));
    EXPECT_TRUE(router.Route(8));
    EXPECT_FALSE(router.Route(9));
    EXPECT_EQ(took, (std::vector<std::string> {"doc", "app8"}));
}

TEST(CommandRouting, UpdateHandlersDecideStateAndUnhandledCommandsAreDisabled)
{
    CCmdTarget doc, frame;
    doc.OnCommand(1, [] {});
    frame.OnCommand(2, [] {});
    frame.OnUpdate(2, [](CCmdUI& ui) {
        ui.Enable(false);
        ui.SetCheck(1);
    });
    // Enabled by its update handler, but nothing would carry it out.
    doc.OnUpdate(4, [](CCmdUI& ui) { ui.Enable(true); });
    CCommandRouter router;
    router.SetChain([&] { return std::vector<CCmdTarget*> {&doc, &frame}; });
    EXPECT_TRUE(router.Query(1).enabled);  // a handler and no update handler
    const CCmdUI two = router.Query(2);
    EXPECT_FALSE(two.enabled);
    EXPECT_TRUE(two.checked);
    EXPECT_FALSE(router.Query(3).enabled);
    EXPECT_FALSE(router.Query(4).enabled);
}
