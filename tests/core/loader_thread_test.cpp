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
struct HintLog : CView {
    struct Heard {
        int hint, entries;
        std::thread::id thread;
    };
    void OnUpdate(CView*, int hint) override
    {
        heard.push_back({hint, catalog->GetCount(), std::this_thread::get_id()});
    }
    std::vector<int> Column(int Heard::*field, size_t from = 0) const
    {
        std::vector<int> values;
        for (size_t i = from; i < heard.size(); ++i)
            values.push_back(heard[i].*field);
        return values;
    }
    std::vector<int> Hints() const { return Column(&Heard::hint); }
    const CImageCatalog* catalog = nullptr;
    std::vector<Heard> heard;
};

// Holds the worker after its n-th notification until the build is asked to
// stop or the gate is opened, so a test can act in the middle of a build.
struct Gate {
    explicit Gate(int at)
        : holdAt(at)
    {
    }
    void Pass(const CImageCatalog& catalog)
    {
        if (std::this_thread::get_id() == uiThread || ++seen != holdAt)
            return;
        reached = true;
        while (!catalog.StopRequested() && !open)
            std::this_thread::sleep_for(1ms);
    }
    bool WaitReached() const
    {
        for (int i = 0; i < 10000 && !reached; ++i)
            std::this_thread::sleep_for(1ms);
        return reached;
    }
    const int holdAt;
    const std::thread::id uiThread = std::this_thread::get_id();
    int seen = 0;  // the worker's alone
    std::atomic<bool> reached {false}, open {false};
};

QStringList Names(const QString& folder, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << folder + u"\\p%1.bmp"_s.arg(i, 3, 10, QLatin1Char('0'));
    return paths;
}

// Every entry that is listed has been filled: a name, its facts, and the
// thumbnail when the mode asks for one.
void ExpectWhole(const std::vector<CImageItem*>& items, int mode)
{
    for (const CImageItem* item : items) {
        EXPECT_GT(item->m_picture.m_fileSize, 0);
        EXPECT_EQ(item->m_picture.m_thumbnail != nullptr, mode != 0) << item->m_path.toStdString();
    }
}

std::vector<int> ListHints(std::vector<int> start, int entries)
{
    start.insert(start.end(), size_t(entries), kHint2);
    return start;
}

// Hints reach the document's views; the gate may hold the worker.
class LoaderFixture : public CatalogFixture {
protected:
    void Route(CDocument* doc, CImageCatalog* catalog)
    {
        EnsureApp();
        catalog->SetNotifier([this, doc, catalog](int hint) {
            doc->UpdateAllViews(nullptr, hint);
            if (m_gate)
                m_gate->Pass(*catalog);
        });
    }
    void MakePictures(const QString& folder, int count)
    {
        for (const QString& name : Names(folder, count))
            WritePicture(name);
    }
    std::unique_ptr<Gate> m_gate;
};

class LoaderThread : public LoaderFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        m_log.catalog = &m_catalog;
        m_doc.AddView(&m_log);
        Route(&m_doc, &m_catalog);
    }
    void TearDown() override
    {
        m_loader.StopThread();
        m_doc.DropQueuedUpdates();
        CatalogFixture::TearDown();
    }
    CDocument m_doc;
    HintLog m_log;
    CLoaderThread m_loader {&m_catalog, &m_doc};
};

class LoaderThreadBuild : public LoaderThread, public ::testing::WithParamInterface<int> { };

}  // namespace

TEST_P(LoaderThreadBuild, DeliversOneListHintPerEntryInOrderOnThisThread)
{
    const int mode = GetParam();
    MakePictures(u"\\pics"_s, 30);
    ASSERT_EQ(m_loader.StartLoad(u"\\pics"_s, 0, mode), 1);
    EXPECT_EQ(m_log.Hints(), (std::vector<int> {kHint0, kHint2}));
    EXPECT_EQ(m_catalog.GetSourcePath(), u"\\pics"_s);
    while (m_loader.IsRunning()) {
        m_doc.DeliverQueuedUpdates();
        ExpectWhole(m_catalog.GetList(), mode);
    }
    EXPECT_EQ(m_loader.WaitThread(), 1);
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(Paths(m_catalog), Names(u"\\pics"_s, 30));
    ExpectWhole(m_catalog.GetList(), mode);
    ASSERT_EQ(m_log.Hints(), ListHints({kHint0, kHint2}, 30));
    for (size_t i = 2; i < m_log.heard.size(); ++i) {
        EXPECT_EQ(m_log.heard[i].thread, std::this_thread::get_id());
        EXPECT_GE(m_log.heard[i].entries, int(i) - 1);  // raised after its entry is listed
    }
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
    EXPECT_EQ(Paths(m_catalog), Names(u"\\pics"_s, 5));
    ExpectWhole(m_catalog.GetList(), 1);
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(m_log.heard.size(), heardBefore);
    // The stop request does not outlive the stopped build.
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
    for (const CImageItem* item : m_catalog.GetList())
        EXPECT_EQ(item->m_source, u"\\b"_s);
    EXPECT_EQ(m_log.Hints(), ListHints({kHint0, kHint2, kHint0, kHint2}, 10));
}

TEST_F(LoaderThread, FinishedBuildsUndeliveredHintsDoNotReachTheNextCatalog)
{
    MakePictures(u"\\a"_s, 20);
    MakePictures(u"\\b"_s, 4);
    ASSERT_EQ(m_loader.StartLoad(u"\\a"_s, 0, 0), 1);
    while (m_loader.IsRunning())
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(m_loader.StartLoad(u"\\b"_s, 0, 0), 1);
    m_loader.WaitThread();
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(m_log.Hints(), ListHints({kHint0, kHint2, kHint0, kHint2}, 4));
}

TEST_F(LoaderThread, MissingFolderEndsWithOneListHint)
{
    ASSERT_EQ(m_loader.StartLoad(u"\\nowhere"_s, 1, 1), 1);
    m_loader.WaitThread();
    m_doc.DeliverQueuedUpdates();
    EXPECT_EQ(m_log.Hints(), ListHints({kHint0, kHint2}, 1));
}

namespace {

// The document with its own loader, as the program runs it.
class DocumentLoader : public LoaderFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"registry.reg"_s));
        Profile::SetRegistryKey(u"FARHAVEN"_s);
        Profile::SetAppName(u"lumo_loader_thread_test"_s);
        Settings::SetThumbnailViewMode(Settings::kModeStrip);
        m_doc = std::make_unique<CLumoDoc>();
        m_log = std::make_unique<HintLog>();
        m_log->catalog = &m_doc->Catalog();
        m_doc->AddView(m_log.get());
        Route(m_doc.get(), &m_doc->Catalog());  // the worker must not read m_doc, which a test resets
    }
    void TearDown() override
    {
        m_doc.reset();
        CRegistryStore::Instance().SetFile(m_dir.filePath(u"unused.reg"_s));
        CatalogFixture::TearDown();
    }
    void StartHeld(int count, int holdAt)
    {
        MakePictures(u"\\a"_s, count);
        MakePictures(u"\\b"_s, 3);
        m_gate = std::make_unique<Gate>(holdAt);
        ASSERT_EQ(m_doc->BrowseFolder(u"\\a"_s, 0), 1);
        ASSERT_TRUE(m_gate->WaitReached());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CLumoDoc> m_doc;
    std::unique_ptr<HintLog> m_log;
};

}  // namespace

TEST_F(DocumentLoader, BrowseBuildsInTheStoredModeWithSubfolders)
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
    StartHeld(40, 4);
    const size_t heardBefore = m_log->heard.size();
    m_doc->OpenPicturePath(u"\\b"_s);
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    m_doc->DeliverQueuedUpdates();
    EXPECT_EQ(Paths(m_doc->Catalog()), Names(u"\\b"_s, 3));
    EXPECT_EQ(m_log->Column(&HintLog::Heard::entries, heardBefore), (std::vector<int> {0, 0, 1, 2, 3}));
}

TEST_F(DocumentLoader, AddFileWaitsForTheRunningBuildThenAppends)
{
    StartHeld(12, 2);
    std::thread opener([this] {
        std::this_thread::sleep_for(30ms);
        m_gate->open = true;
    });
    m_doc->AddPicturePath(u"\\b"_s);
    opener.join();
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    EXPECT_EQ(Paths(m_doc->Catalog()), Names(u"\\a"_s, 12) + Names(u"\\b"_s, 3));
    std::vector<int> expected(12, 12);
    expected.insert(expected.end(), {13, 14, 15});
    EXPECT_EQ(m_log->Column(&HintLog::Heard::entries, 2), expected);
}

TEST_F(DocumentLoader, DocumentDestroyedWhileABuildRunsEndsCleanly)
{
    StartHeld(60, 3);
    m_doc.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_log->heard.size(), 2u);
}
