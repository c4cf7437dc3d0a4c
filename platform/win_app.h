// The application framework's pieces that tie a document to its frame and
// views: the frame interface, the single-document template and the
// application object with its start hook and command routing.
#pragma once

#include "platform/cmd_target.h"
#include "platform/doc_view.h"

#include <QString>
#include <functional>
#include <memory>

// A main frame as the framework sees it; the user interface implements it.
class CFrameWnd : public CCmdTarget {
public:
    ~CFrameWnd() override = default;
    // Creates the window with its panes, each a view of doc; false on failure.
    virtual bool CreateFrame(CDocument* doc) = 0;
    virtual void ShowFrame() = 0;  // show command 5, then paint at once
    virtual CView* GetActiveView() const = 0;
    CDocument* GetActiveDocument() const { return m_document; }

protected:
    CDocument* m_document = nullptr;
};

// Binds one document class to one frame class (which makes the views).
class CSingleDocTemplate {
public:
    using DocFactory = std::function<std::unique_ptr<CDocument>()>;
    using FrameFactory = std::function<std::unique_ptr<CFrameWnd>()>;

    CSingleDocTemplate(int resourceId, DocFactory makeDoc, FrameFactory makeFrame);
    // Window title, document type name, file-type description: fields of the
    // template's resource string ("Lumo\n\nLumo\n\n\nLumo.Document\nLumo Document").
    QString DocString(int index) const;

    // Creates the document and the frame with its views. With a host path the
    // document's open step runs on it; without one, OnNewDocument. Returns
    // false (nothing created) when either fails.
    bool OpenDocumentFile(const QString* hostPath);
    CDocument* Document() const { return m_document.get(); }
    CFrameWnd* Frame() const { return m_frame.get(); }
    // Frame first (views go before the document they show).
    void CloseAll();

private:
    int m_resourceId;
    DocFactory m_makeDoc;
    FrameFactory m_makeFrame;
    std::unique_ptr<CDocument> m_document;
    std::unique_ptr<CFrameWnd> m_frame;
};

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;
    static CWinApp* Instance();

    // The start hook; false ends the program.
    virtual bool InitInstance() = 0;

    void SetRegistryKey(const QString& company);
    void AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate);
    CSingleDocTemplate* DocTemplate() const { return m_template.get(); }
    CFrameWnd* MainWnd() const { return m_template ? m_template->Frame() : nullptr; }

    // Offers a command to the active view, the document, the frame, the application.
    bool RouteCommand(int id) const { return m_router.Route(id); }
    CCmdUI QueryCommand(int id) const { return m_router.Query(id); }

protected:
    std::unique_ptr<CSingleDocTemplate> m_template;

private:
    CCommandRouter m_router;
};
