// The catalog loader thread: a build on the worker reaches the views on this
// thread, one list hint per entry and in order; a stop leaves whole entries
// and a silent build; a new build, the command-line open, Add File and the
// document's end each meet a running build safely. These tests are also the
// ones the ThreadSanitizer build runs.
#include "app/loader_thread.h"
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "catalog_fixture.h"
#include "platform/profile.h"
#include "platform/registry_store.h"

#include <QCoreApplication>
#include <chrono>
#include <memory>
#include <thread>

using namespace Qt::StringLiterals;

using namespace catalog_fixture;
using namespace std::chrono_literals;

namespace {

constexpr int kHint0 = CImageCatalog::kHintCurrentChanged;
constexpr int kHint2 = CImageCatalog::kHintListChanged;

// Records every hint a view hears, with the thread it ran on and the number
// of entries the catalog held at that moment.
class HintLog : public CView {
public:
    struct Heard {
        int hint;
        int entries;
        std::thread::id thread;
    };
    explicit HintLog(const CImageCatalog* catalog)
        : m_catalog(catalog)
    {
    }
    void OnUpdate(CView*, int hint) override
    {
        heard.push_back({hint, m_catalog->GetCount(), std::this_thread::get_id()});
    }
    std::vector<int> Hints() const
    {
        std::vector<int> hints;
        for (const Heard& h : heard)
            hints.push_back(h.hint);
        return hints;
    }
    std::vector<Heard> heard;

private:
    const CImageCatalog* m_catalog;
};

// Holds the worker after its n-th notification until the build is asked to
// stop or the gate is opened, so a test can act in the middle of a build.
class Gate {
public:
    explicit Gate(int holdAt)
        : m_holdAt(holdAt)
        , m_uiThread(std::this_thread::get_id())
    {
    }
    // Called by the catalog's notifier; notifications on this thread pass.
    void Pass(const CImageCatalog& catalog)
    {
        if (std::this_thread::get_id() == m_uiThread || ++m_seen != m_holdAt)
            return;
        m_reached = true;
        while (!catalog.StopRequested() && !m_open)
            std::this_thread::sleep_for(1ms);
    }
    bool WaitReached() const
    {
        for (int i = 0; i < 10000 && !m_reached; ++i)
            std::this_thread::sleep_for(1ms);
        return m_reached;
    }
    void Open() { m_open = true; }

private:
    const int m_holdAt;
    const std::thread::id m_uiThread;
    int m_seen = 0;  // the worker's alone
    std::atomic<bool> m_reached {false};
    std::atomic<bool> m_open {false};
};

QString Name(int i)
{
    return u"p%1.bmp"_s.arg(i, 3, 10, QLatin1Char('0'));
}

QStringList Names(const QString& folder, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << folder + QLatin1Char('\\') + Name(i);
    return paths;
}

// Every entry that is listed has been filled: a name, its facts, and the
// thumbnail when the mode asks for one.
void ExpectWhole(const std::vector<CImageItem*>& items, int mode)
{
    for (const CImageItem* item : items) {
        EXPECT_FALSE(item->m_path.isEmpty());
        EXPECT_GT(item->m_fileSize, 0);
        EXPECT_EQ(item->m_thumbnail != nullptr, mode != 0) << item->m_path.toStdString();
    }
}

class LoaderThread : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        EnsureApp();
        m_doc.AddView(&m_log);
        m_catalog.SetNotifier([this](int hint) {
            m_doc.UpdateAllViews(nullptr, hint);
            if (m_gate)
                m_gate->Pass(m_catalog);
        });
    }
    void TearDown() override
    {
        m_loader.StopThread();
        m_doc.DropQueuedUpdates();
        CatalogFixture::TearDown();
    }
    void MakePictures(const QString& folder, int count)
    {
        for (int i = 0; i < count; ++i)
            WritePicture(folder + QLatin1Char('\\') + Name(i));
    }

    CDocument m_doc;
    HintLog m_log {&m_catalog};
    std::unique_ptr<Gate> m_gate;
    CLoaderThread m_loader {&m_catalog, &m_doc};
};

class LoaderThreadBuild : public LoaderThread, public ::testing::WithParamInterface<int> { };

}  // namespace

TEST_P(LoaderThreadBuild, DeliversOneListHintPerEntryInOrderOnThisThread)
{
    const int mode = GetParam();
    MakePictures(u"\\pics"_s, 30);
    ASSERT_EQ(m_loader.StartLoad(u"\\pics"_s, 0, mode), 1);
    // The views are told of the empty catalog at once, on this thread.
    EXPECT_EQ(m_log.Hints(), (std::vector<int> {kHint0, kHint2}));
    EXPECT_EQ(m_catalog.GetSourcePath(), u"\\pics"_s);
    // Read the catalog and take the hints while the worker appends.
    while (m_loader.IsRunning()) {
        m_doc.DeliverQueuedUpdates();
        ExpectWhole(m_catalog.GetList(), mode);
    }
    EXPECT_EQ(m_loader.WaitThread(), 1);
    EXPECT_EQ(m_loader.WaitThread(), 0);
    m_doc.DeliverQueuedUpdates();

    EXPECT_EQ(Paths(m_catalog), Names(u"\\pics"_s, 30));
    ExpectWhole(m_catalog.GetList(), mode);
    ASSERT_EQ(m_log.heard.size(), 32u);
    for (size_t i = 2; i < m_log.heard.size(); ++i) {
        const HintLog::Heard& h = m_log.heard[i];
        EXPECT_EQ(h.hint, kHint2);
        EXPECT_EQ(h.thread, std::this_thread::get_id());
        // The k-th hint is raised after the k-th entry is in the list.
        EXPECT_GE(h.entries, int(i) - 1);
    }
    // Builds never choose the current entry.
    EXPECT_EQ(m_catalog.GetCurrent(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(ListAndThumbnailModes, LoaderThreadBuild, ::testing::Values(0, 1));

TEST_F(LoaderThread, StopMidBuildKeepsWholeEntriesAndSilencesTheBuild)
{
    MakePictures(u"\\pics"_s, 40);
    m_gate = std::make_unique<Gate>(5);
    ASSERT_EQ(m_loader.StartLoad(u"\\pics"_s, 0, 1), 1);
    ASSERT_TRUE(m_gate->WaitReached());
    const size_t heardBefore = m_log.heard.size();

    EXPECT_EQ(m_loader.StopThread(), 1);
    EXPECT_FALSE(m_loader.IsRunning());
    // The build stopped at the next check: five whole entries, no sixth.
    EXPECT_EQ(Paths(m_catalog), Names(u"\\pics"_s, 5));
    ExpectWhole(m_catalog.GetList(), 1);
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(m_log.heard.size(), heardBefore);
    EXPECT_EQ(m_loader.StopThread(), 0);

    // The stop request does not outlive the stopped build: a build on this
    // thread lists the whole folder.
    m_gate.reset();
    m_catalog.RemoveAll();
    m_catalog.BuildList(u"\\pics"_s, 0, 0);
    EXPECT_EQ(m_catalog.GetCount(), 40);
}

TEST_F(LoaderThread, NewLoadWhileOneRunsReplacesItsCatalog)
{
    MakePictures(u"\\a"_s, 40);
    MakePictures(u"\\b"_s, 10);
    m_gate = std::make_unique<Gate>(3);
    ASSERT_EQ(m_loader.StartLoad(u"\\a"_s, 0, 0), 1);
    ASSERT_TRUE(m_gate->WaitReached());

    ASSERT_EQ(m_loader.StartLoad(u"\\b"_s, 0, 0), 1);
    m_loader.WaitThread();
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(Paths(m_catalog), Names(u"\\b"_s, 10));
    EXPECT_EQ(m_catalog.GetSourcePath(), u"\\b"_s);
    for (const CImageItem* item : m_catalog.GetList())
        EXPECT_EQ(item->m_source, u"\\b"_s);
    // Each start shows the empty catalog; only the second build is heard.
    std::vector<int> expected {kHint0, kHint2, kHint0, kHint2};
    expected.insert(expected.end(), 10, kHint2);
    EXPECT_EQ(m_log.Hints(), expected);
}

TEST_F(LoaderThread, FinishedBuildsUndeliveredHintsDoNotReachTheNextCatalog)
{
    MakePictures(u"\\a"_s, 20);
    MakePictures(u"\\b"_s, 4);
    ASSERT_EQ(m_loader.StartLoad(u"\\a"_s, 0, 0), 1);
    while (m_loader.IsRunning())
        std::this_thread::sleep_for(1ms);
    // The first build ended on its own; its hints are still queued.
    ASSERT_EQ(m_loader.StartLoad(u"\\b"_s, 0, 0), 1);
    m_loader.WaitThread();
    m_doc.DeliverQueuedUpdates();
    std::vector<int> expected {kHint0, kHint2, kHint0, kHint2};
    expected.insert(expected.end(), 4, kHint2);
    EXPECT_EQ(m_log.Hints(), expected);
    EXPECT_EQ(m_catalog.GetCount(), 4);
}

TEST_F(LoaderThread, MissingFolderEndsWithOneListHint)
{
    ASSERT_EQ(m_loader.StartLoad(u"\\nowhere"_s, 1, 1), 1);
    m_loader.WaitThread();
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(m_log.Hints(), (std::vector<int> {kHint0, kHint2, kHint2}));
    EXPECT_EQ(m_catalog.GetCount(), 0);
}

TEST_F(LoaderThread, LoaderDestroyedMidBuildStopsIt)
{
    MakePictures(u"\\pics"_s, 60);
    m_gate = std::make_unique<Gate>(2);
    auto loader = std::make_unique<CLoaderThread>(&m_catalog, &m_doc);
    ASSERT_EQ(loader->StartLoad(u"\\pics"_s, 0, 1), 1);
    ASSERT_TRUE(m_gate->WaitReached());
    loader.reset();
    EXPECT_EQ(m_catalog.GetCount(), 2);
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(m_catalog.GetCount(), 2);
    // A build on this thread is not cut short by the destroyed loader's flag.
    m_catalog.BuildList(u"\\pics"_s, 0, 0);
    EXPECT_EQ(m_catalog.GetCount(), 62);
}

namespace {

// The document with its own loader, as the program runs it.
class DocumentLoader : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        EnsureApp();
        ASSERT_TRUE(m_dir.isValid());
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"registry.reg"_s));
        Profile::SetRegistryKey(u"FARHAVEN"_s);
        Profile::SetAppName(u"lumo_loader_thread_test"_s);
        Settings::SetThumbnailViewMode(Settings::kModeStrip);
        m_doc = std::make_unique<CLumoDoc>();
        m_log = std::make_unique<HintLog>(&m_doc->Catalog());
        m_doc->AddView(m_log.get());
        // The worker must not read m_doc, which a test resets while it runs.
        CLumoDoc* doc = m_doc.get();
        doc->Catalog().SetNotifier([this, doc](int hint) {
            doc->UpdateAllViews(nullptr, hint);
            if (m_gate)
                m_gate->Pass(doc->Catalog());
        });
    }
    void TearDown() override
    {
        m_doc.reset();
        m_log.reset();
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s));
        CatalogFixture::TearDown();
    }
    void MakePictures(const QString& folder, int count)
    {
        for (int i = 0; i < count; ++i)
            WritePicture(folder + QLatin1Char('\\') + Name(i));
    }

    QTemporaryDir m_dir;
    std::unique_ptr<Gate> m_gate;
    std::unique_ptr<CLumoDoc> m_doc;
    std::unique_ptr<HintLog> m_log;
};

}  // namespace

TEST_F(DocumentLoader, BrowseBuildsInTheStoredMode)
{
    MakePictures(u"\\a"_s, 3);
    MakePictures(u"\\a\\sub"_s, 2);
    Settings::SetThumbnailViewMode(Settings::kModeList);
    ASSERT_EQ(m_doc->BrowseFolder(u"\\a"_s, 1), 1);
    m_doc->m_loader.WaitThread();
    ExpectWhole(m_doc->Catalog().GetList(), 0);
    EXPECT_EQ(m_doc->Catalog().GetCount(), 5);
}

TEST_F(DocumentLoader, CommandLineOpenStopsARunningBuildFirst)
{
    MakePictures(u"\\a"_s, 40);
    MakePictures(u"\\b"_s, 3);
    m_gate = std::make_unique<Gate>(4);
    ASSERT_EQ(m_doc->BrowseFolder(u"\\a"_s, 0), 1);
    ASSERT_TRUE(m_gate->WaitReached());
    const size_t heardBefore = m_log->heard.size();

    m_doc->OpenPicturePath(u"\\b"_s);
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    m_doc->DeliverQueuedUpdates();
    EXPECT_EQ(Paths(m_doc->Catalog()), Names(u"\\b"_s, 3));
    // Only the open's own hints: the emptied catalog, then one per entry,
    // each with its entry listed.
    ASSERT_EQ(m_log->heard.size(), heardBefore + 5);
    EXPECT_EQ(m_log->heard[heardBefore].entries, 0);
    EXPECT_EQ(m_log->heard[heardBefore + 1].entries, 0);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_log->heard[heardBefore + 2 + i].entries, int(i) + 1);
}

TEST_F(DocumentLoader, AddFileWaitsForTheRunningBuildThenAppends)
{
    MakePictures(u"\\a"_s, 12);
    MakePictures(u"\\b"_s, 3);
    m_gate = std::make_unique<Gate>(2);
    ASSERT_EQ(m_doc->BrowseFolder(u"\\a"_s, 0), 1);
    ASSERT_TRUE(m_gate->WaitReached());
    std::thread opener([this] {
        std::this_thread::sleep_for(30ms);
        m_gate->Open();
    });

    m_doc->AddPicturePath(u"\\b"_s);
    opener.join();
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    QStringList expected = Names(u"\\a"_s, 12) + Names(u"\\b"_s, 3);
    EXPECT_EQ(Paths(m_doc->Catalog()), expected);
    // The build's twelve hints come first, then the added entries' three.
    std::vector<int> entriesHeard;
    for (size_t i = 2; i < m_log->heard.size(); ++i)
        entriesHeard.push_back(m_log->heard[i].entries);
    std::vector<int> expectedEntries(12, 12);
    expectedEntries.insert(expectedEntries.end(), {13, 14, 15});
    EXPECT_EQ(entriesHeard, expectedEntries);
}

TEST_F(DocumentLoader, DocumentDestroyedWhileABuildRunsEndsCleanly)
{
    MakePictures(u"\\a"_s, 60);
    m_gate = std::make_unique<Gate>(3);
    ASSERT_EQ(m_doc->BrowseFolder(u"\\a"_s, 0), 1);
    ASSERT_TRUE(m_gate->WaitReached());
    m_doc.reset();
    // Hints the build queued went with the document.
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_log->heard.size(), 2u);
}
