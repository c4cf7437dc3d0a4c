// Document/view notifications and command routing: who hears a hint, in
// which order, on which thread, and which target takes a command.
#include "catalog_fixture.h"
#include "platform/cmd_target.h"
#include "platform/doc_view.h"

#include <chrono>
#include <set>
#include <thread>

namespace {

using Log = std::vector<std::pair<int, int>>;

struct RecordingView : CView {
    RecordingView(Log* log, int name)
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
    Log* m_log;
    int m_name;
    std::function<void(int)> onUpdate;
};

// A document with one view, named 1, that logs what it hears.
class DocView : public ::testing::Test {
protected:
    void SetUp() override
    {
        catalog_fixture::EnsureApp();
        doc.AddView(&view);
    }
    CDocument doc;
    Log log;
    RecordingView view {&log, 1};
};

}  // namespace

TEST_F(DocView, ViewsHearHintsInCreationOrderNestedAtOnceAndNotTheSender)
{
    {
        RecordingView gone(&log, 3);
        doc.AddView(&gone);
        doc.UpdateAllViews(&view, 5);
    }
    RecordingView second(&log, 2);
    doc.AddView(&second);
    second.onUpdate = [&](int hint) {
        if (hint == 2)
            doc.UpdateAllViews(nullptr, 0);
    };
    doc.UpdateAllViews(nullptr, 2);
    EXPECT_EQ(log, (Log {{3, 5}, {1, 2}, {2, 2}, {1, 0}, {2, 0}}));
    EXPECT_EQ(doc.GetViews().size(), 2u);
}

// One delivery serial for a whole slice of queued hints (a view reads a
// stored setting once for all of them), a new one for every direct call.
TEST_F(DocView, HintsFromAnotherThreadArriveOnThisThreadInOrderInOneDeliveryButDroppedOnesNever)
{
    std::thread([&] { doc.UpdateAllViews(nullptr, 7); }).join();
    doc.DropQueuedUpdates();  // a stopped build's hints stay silent
    std::thread::id seenOn;
    std::set<unsigned> serials;
    view.onUpdate = [&](int) {
        seenOn = std::this_thread::get_id();
        serials.insert(doc.DeliverySerial());
    };
    std::thread([&] {
        for (int i = 0; i < 200; ++i)
            doc.UpdateAllViews(nullptr, i % 2 == 0 ? 2 : 0);
    }).join();
    EXPECT_TRUE(log.empty());
    doc.DeliverQueuedUpdates();
    Log expected;
    for (int i = 0; i < 200; ++i)
        expected.push_back({1, i % 2 == 0 ? 2 : 0});
    EXPECT_EQ(log, expected);
    EXPECT_EQ(seenOn, std::this_thread::get_id());
    EXPECT_EQ(serials.size(), 1u);
    doc.UpdateAllViews(nullptr, 2);
    doc.UpdateAllViews(nullptr, 2);
    EXPECT_EQ(serials.size(), 3u);
}

TEST_F(DocView, InputPostedBehindALongQueueRunsBeforeTheQueueIsDone)
{
    view.onUpdate = [](int) { std::this_thread::sleep_for(std::chrono::milliseconds(1)); };
    constexpr int kHints = 100;
    std::thread([&] {
        for (int i = 0; i < kHints; ++i)
            doc.UpdateAllViews(nullptr, i);
    }).join();
    size_t deliveredBeforeTap = 0;
    bool tapped = false;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { deliveredBeforeTap = log.size(), tapped = true; }, Qt::QueuedConnection);
    while (!tapped || doc.HasQueuedUpdates())
        QCoreApplication::processEvents();
    EXPECT_GT(deliveredBeforeTap, 0u);
    EXPECT_LT(deliveredBeforeTap, size_t(kHints));
    Log expected;
    for (int i = 0; i < kHints; ++i)
        expected.push_back({1, i});
    EXPECT_EQ(log, expected);
}

TEST(CommandRouting, FirstTargetWithAHandlerTakesTheCommandAndUpdatesDecideItsState)
{
    CCmdTarget view, doc, app;
    std::vector<int> took;
    doc.OnCommand(7, [&] { took.push_back(1); });
    app.OnCommand(7, [&] { took.push_back(2); });
    app.OnCommand(8, [&] { took.push_back(3); });
    app.OnUpdate(8, [](CCmdUI& ui) {
        ui.Enable(false);
        ui.SetCheck(1);
    });
    doc.OnUpdate(4, [](CCmdUI& ui) { ui.Enable(true); });  // enabled, but nothing would carry it out
    CCommandRouter router;
    router.SetChain([&] { return std::vector<CCmdTarget*> {&view, &doc, nullptr, &app}; });
    EXPECT_TRUE(router.Route(7));
    EXPECT_TRUE(router.Route(8));
    EXPECT_FALSE(router.Route(9));
    EXPECT_EQ(took, (std::vector<int> {1, 3}));
    EXPECT_EQ((std::vector<bool> {router.Query(7).enabled, router.Query(8).enabled, router.Query(8).checked,
                                  router.Query(9).enabled, router.Query(4).enabled}),
              (std::vector<bool> {true, false, true, false, false}));
}
