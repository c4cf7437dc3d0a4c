// The catalog loader thread: a build on the worker reaches the views on this
// thread, one list hint per entry and in order; a stop leaves whole entries
// and a silent build; a new build, the command-line open, Add File and the
// document's end each meet a running build safely. These tests are also the
// ones the ThreadSanitizer build runs.
#include "app/loader_thread.h"
#include "catalog_fixture.h"

#include <chrono>
#include <thread>

using namespace catalog_fixture;
using namespace std::chrono_literals;

namespace {

constexpr int kHint0 = CImageCatalog::kHintCurrentChanged;
constexpr int kHint2 = CImageCatalog::kHintListChanged;

// Every hint a view hears must reach it on this thread; it notes the hint and
// the number of entries the catalog held then.
struct HintLog : CView {
    void OnUpdate(CView*, int hint) override
    {
        EXPECT_EQ(std::this_thread::get_id(), thread);
        hints.push_back(hint);
        entries.push_back(catalog->GetCount());
    }
    const CImageCatalog* catalog = nullptr;
    const std::thread::id thread = std::this_thread::get_id();
    std::vector<int> hints, entries;
};

QStringList Names(const QString& folder, int count)
{
    QStringList paths;
    for (int i = 0; i < count; ++i)
        paths << folder + u"\\p%1.bmp"_s.arg(i, 3, 10, QLatin1Char('0'));
    return paths;
}

// Every entry that is listed has been filled: its facts, and the thumbnail
// when the mode asks for one.
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

// The document with its own loader, as the program runs it. The worker is
// held after its m_holdAt-th notification until the build is asked to stop
// or m_open is set, so a test can act in the middle of a build.
class DocumentLoader : public CatalogFixture {
protected:
    void SetUp() override
    {
        CatalogFixture::SetUp();
        EnsureApp();
        Settings::SetThumbnailViewMode(Settings::kModeStrip);
        m_doc = std::make_unique<CLumoDoc>();
        m_log.catalog = &Catalog();
        m_doc->AddView(&m_log);
        // The worker must not read m_doc, which a test resets.
        Catalog().SetNotifier([this, doc = m_doc.get(), &catalog = Catalog()](int hint) {
            doc->UpdateAllViews(nullptr, hint);
            if (std::this_thread::get_id() == m_log.thread || ++m_seen != m_holdAt)
                return;
            m_reached = true;
            while (!catalog.StopRequested() && !m_open)
                std::this_thread::sleep_for(1ms);
        });
    }
    void TearDown() override
    {
        m_doc.reset();
        CatalogFixture::TearDown();
    }
    CImageCatalog& Catalog() { return m_doc->Catalog(); }
    void MakePictures(const QString& folder, int count)
    {
        for (const QString& name : Names(folder, count))
            WritePicture(name);
    }
    // Starts a build of \a with count pictures and waits until it is held.
    void StartHeld(int count, int holdAt, int mode = 0)
    {
        MakePictures(u"\\a"_s, count);
        m_holdAt = holdAt;
        ASSERT_EQ(m_doc->m_loader.StartLoad(u"\\a"_s, 0, mode), 1);
        for (int i = 0; i < 10000 && !m_reached; ++i)
            std::this_thread::sleep_for(1ms);
        ASSERT_TRUE(m_reached);
    }

    ScratchRegistry m_registry {m_root};
    std::unique_ptr<CLumoDoc> m_doc;
    HintLog m_log;
    int m_holdAt = 0, m_seen = 0;  // m_seen is the worker's alone
    std::atomic<bool> m_reached {false}, m_open {false};
};

using LoaderThread = DocumentLoader;

}  // namespace

TEST_F(LoaderThread, BuildDeliversOneListHintPerEntryInOrderOnThisThread)
{
    const struct {
        const char* folder;
        int count, mode;
    } cases[] = {{"\\list", 30, 0}, {"\\thumbnails", 30, 1}, {"\\archive.zip", 30, 1}, {"\\nowhere", 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        const QString folder = QLatin1String(c.folder);
        // An archive's entries are named by its members.
        const bool archive = folder.endsWith(u".zip"_s);
        const QStringList names
            = archive ? Names(QString(), c.count).replaceInStrings(u"\\"_s, QString()) : Names(folder, c.count);
        if (archive)
            MakeZip(folder, names);
        else
            MakePictures(folder, c.count);
        m_log.hints.clear();
        m_log.entries.clear();
        ASSERT_EQ(m_doc->m_loader.StartLoad(folder, 0, c.mode), 1);
        EXPECT_EQ(m_log.hints, (std::vector<int> {kHint0, kHint2}));
        EXPECT_EQ(Catalog().GetSourcePath(), folder);
        while (m_doc->m_loader.IsRunning()) {
            m_doc->DeliverQueuedUpdates();
            ExpectWhole(Catalog().GetList(), c.mode);
        }
        EXPECT_EQ(m_doc->m_loader.WaitThread(), 1);
        m_doc->DeliverQueuedUpdates();
        EXPECT_EQ(Paths(Catalog()), names);
        ExpectWhole(Catalog().GetList(), c.mode);
        // A missing folder ends with one list hint.
        ASSERT_EQ(m_log.hints, ListHints({kHint0, kHint2}, std::max(c.count, 1)));
        for (size_t i = 2; i < m_log.entries.size(); ++i)
            EXPECT_GE(m_log.entries[i], std::min(int(i) - 1, c.count));  // raised after its entry is listed
        EXPECT_EQ(Catalog().GetCurrent(), nullptr);
    }
}

TEST_F(LoaderThread, StopMidBuildKeepsWholeEntriesAndSilencesTheBuild)
{
    StartHeld(40, 5, 1);
    const size_t heardBefore = m_log.hints.size();
    EXPECT_EQ(m_doc->m_loader.StopThread(), 1);
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    EXPECT_EQ(Paths(Catalog()), Names(u"\\a"_s, 5));
    ExpectWhole(Catalog().GetList(), 1);
    m_doc->DeliverQueuedUpdates();
    EXPECT_EQ(m_log.hints.size(), heardBefore);
    // The stop request does not outlive the stopped build.
    Catalog().RemoveAll();
    Catalog().BuildList(u"\\a"_s, 0, 0);
    EXPECT_EQ(Catalog().GetCount(), 40);
}

// Neither a running build's hints nor a finished one's undelivered hints
// reach the catalog of the next build.
TEST_F(LoaderThread, NewLoadDropsTheHintsOfTheBuildsBefore)
{
    MakePictures(u"\\b"_s, 20);
    MakePictures(u"\\c"_s, 4);
    StartHeld(40, 3);
    ASSERT_EQ(m_doc->m_loader.StartLoad(u"\\b"_s, 0, 0), 1);
    while (m_doc->m_loader.IsRunning())
        std::this_thread::sleep_for(1ms);
    ASSERT_EQ(m_doc->m_loader.StartLoad(u"\\c"_s, 0, 0), 1);
    m_doc->m_loader.WaitThread();
    m_doc->DeliverQueuedUpdates();
    EXPECT_EQ(Paths(Catalog()), Names(u"\\c"_s, 4));
    for (const CImageItem* item : Catalog().GetList())
        EXPECT_EQ(item->m_source, u"\\c"_s);
    EXPECT_EQ(m_log.hints, ListHints({kHint0, kHint2, kHint0, kHint2, kHint0, kHint2}, 4));
}

TEST_F(DocumentLoader, CommandLineOpenStopsARunningBuildFirst)
{
    MakePictures(u"\\b"_s, 3);
    StartHeld(40, 4);
    m_log.entries.clear();
    m_doc->OpenPicturePath(u"\\b"_s);
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    m_doc->DeliverQueuedUpdates();
    EXPECT_EQ(Paths(Catalog()), Names(u"\\b"_s, 3));
    EXPECT_EQ(m_log.entries, (std::vector<int> {0, 0, 1, 2, 3}));
}

TEST_F(DocumentLoader, AddFileWaitsForTheRunningBuildThenAppends)
{
    MakePictures(u"\\b"_s, 3);
    StartHeld(12, 2);
    std::thread opener([this] {
        std::this_thread::sleep_for(30ms);
        m_open = true;
    });
    m_doc->AddPicturePath(u"\\b"_s);
    opener.join();
    EXPECT_FALSE(m_doc->m_loader.IsRunning());
    EXPECT_EQ(Paths(Catalog()), Names(u"\\a"_s, 12) + Names(u"\\b"_s, 3));
    std::vector<int> expected(12, 12);
    expected.insert(expected.end(), {13, 14, 15});
    EXPECT_EQ(std::vector<int>(m_log.entries.begin() + 2, m_log.entries.end()), expected);
}

TEST_F(DocumentLoader, DocumentDestroyedWhileABuildRunsEndsCleanly)
{
    StartHeld(60, 3);
    m_doc.reset();
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(m_log.hints.size(), 2u);
}
