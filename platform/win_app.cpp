#include "platform/win_app.h"

#include "platform/profile.h"
#include "res/resources.h"

namespace {
CWinApp* g_app = nullptr;
}

CSingleDocTemplate::CSingleDocTemplate(int resourceId, DocFactory makeDoc, FrameFactory makeFrame)
    : m_resourceId(resourceId)
    , m_makeDoc(std::move(makeDoc))
    , m_makeFrame(std::move(makeFrame))
{
}

QString CSingleDocTemplate::DocString(int index) const
{
    const QStringList fields = Resources::LoadString(m_resourceId).split(QLatin1Char('\n'));
    return index >= 0 && index < fields.size() ? fields[index] : QString();
}

bool CSingleDocTemplate::OpenDocumentFile(const QString* hostPath)
{
    auto doc = m_makeDoc();
    auto frame = m_makeFrame();
    if (!doc || !frame)
        return false;
    doc->SetTitle(DocString(0));
    if (!frame->CreateFrame(doc.get()))
        return false;
    const bool ok = hostPath ? doc->OnOpenDocument(*hostPath) : doc->OnNewDocument();
    if (!ok) {
        frame.reset();
        return false;
    }
    m_document = std::move(doc);
    m_frame = std::move(frame);
    return true;
}

void CSingleDocTemplate::CloseAll()
{
    m_frame.reset();
    m_document.reset();
}

CWinApp::CWinApp()
{
    g_app = this;
    m_router.SetChain([this] {
        CFrameWnd* frame = MainWnd();
        CView* view = frame ? frame->GetActiveView() : nullptr;
        CDocument* doc = frame ? frame->GetActiveDocument() : nullptr;
        return std::vector<CCmdTarget*> {view, doc, frame, this};
    });
}

CWinApp::~CWinApp()
{
    if (m_template)
        m_template->CloseAll();
    if (g_app == this)
        g_app = nullptr;
}

CWinApp* CWinApp::Instance()
{
    return g_app;
}

void CWinApp::SetRegistryKey(const QString& company)
{
    Profile::SetRegistryKey(company);
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate)
{
    m_template = std::move(docTemplate);
}
