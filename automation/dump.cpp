#include "automation/dump.h"

#include "app/lumo_app.h"
#include "app/lumo_doc.h"
#include "app/settings.h"
#include "automation/dialog_controls.h"
#include "platform/message_box.h"
#include "res/resources.h"
#include "shell/input_panel.h"
#include "shell/main_frame.h"
#include "views/device_screen.h"
#include "views/image_canvas.h"
#include "views/lumo_view.h"
#include "views/thumbnail_ctrl.h"
#include "views/thumbnail_list_ctrl.h"
#include "views/thumbnail_view.h"

#include <QApplication>
#include <QDateTime>
#include <QJsonArray>
#include <QWidget>

namespace {

QString TimeText(const CTime& t)
{
    if (!t.IsSet())
        return QString();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(),
                             t.GetMinute(), t.GetSecond());
}

QJsonObject EntryJson(const CImageItem* item)
{
    QJsonObject memo {{"font", item->m_memo.font},      {"size", item->m_memo.size},   {"bold", item->m_memo.bold},
                      {"italic", item->m_memo.italic},  {"align", item->m_memo.align}, {"color", item->m_memo.color},
                      {"content", item->m_memo.content}};
    return QJsonObject {{"path", item->m_path},
                        {"source", item->m_source},
                        {"width", item->m_picture.m_width},
                        {"height", item->m_picture.m_height},
                        {"bpp", item->m_picture.m_bitsPerPixel},
                        {"type", item->m_picture.m_typeName},
                        {"zoom", item->m_zoom},
                        {"rotation", item->m_rotation},
                        {"brightness", item->m_brightness},
                        {"contrast", item->m_contrast},
                        {"displayScale", item->m_picture.m_displayScale},
                        {"fileSize", double(item->m_picture.m_fileSize)},
                        {"modified", TimeText(item->m_picture.m_modified)},
                        {"hasPicture", item->m_picture.m_fullBitmap != nullptr},
                        {"hasThumbnail", item->m_picture.m_thumbnail != nullptr},
                        {"memo", memo}};
}

void CollectWindows(QWidget* w, QWidget* screen, QJsonArray* out)
{
    if (!w->isVisible())
        return;
    const QString cls = w->property("lumoClass").toString();
    if (!cls.isEmpty()) {
        const QPoint topLeft = screen->mapFromGlobal(w->mapToGlobal(QPoint(0, 0)));
        out->append(QJsonObject {
            {"class", cls},
            {"rect", QJsonArray {topLeft.x(), topLeft.y(), topLeft.x() + w->width(), topLeft.y() + w->height()}}});
    }
    for (QObject* child : w->children())
        if (auto* cw = qobject_cast<QWidget*>(child); cw && !cw->isWindow())
            CollectWindows(cw, screen, out);
}

void CollectCommand(int id, CLumoApp* app, QJsonObject* out)
{
    const CCmdUI ui = app->QueryCommand(id);
    out->insert(QString::number(id), QJsonObject {{"enabled", ui.enabled}, {"checked", ui.checked}});
}

void CollectMenu(const std::vector<CMenuItemDef>& items, CLumoApp* app, QJsonObject* out)
{
    for (const CMenuItemDef& item : items) {
        if (item.IsPopup())
            CollectMenu(item.children, app, out);
        else if (item.id != 0)
            CollectCommand(item.id, app, out);
    }
}

// The tool bars' buttons by their commands (B, C, i and M are on no menu).
void CollectButtons(const std::vector<CToolButtonDef>& buttons, CLumoApp* app, QJsonObject* out)
{
    for (const CToolButtonDef& button : buttons)
        if (button.id != 0)
            CollectCommand(button.id, app, out);
}

}  // namespace

QJsonObject DumpState(CLumoApp* app)
{
    QJsonObject root;
    CLumoDoc* doc = app->Document();
    root["mode"] = Settings::ThumbnailViewMode();
    QJsonArray entries;
    if (doc) {
        CImageCatalog& catalog = doc->Catalog();
        root["current"] = catalog.GetCurrentIndex();
        root["sourcePath"] = catalog.GetSourcePath();
        for (const CImageItem* item : catalog.GetList())
            entries.append(EntryJson(item));
        root["fullScreenDefaults"]
            = QJsonArray {doc->m_autoRotation, doc->m_autoResize, doc->m_autoRotationAngle, doc->m_autoResizeZoom};
        root["quickView"] = doc->m_quickView;
    } else {
        root["current"] = -1;
        root["sourcePath"] = QString();
    }
    root["entries"] = entries;
    QJsonArray messages;
    for (const QString& m : MessageBoxService::Messages())
        messages.append(m);
    root["messages"] = messages;
    QJsonArray windows;
    if (CDeviceScreen* screen = app->Screen()) {
        CollectWindows(screen, screen, &windows);
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top != screen && top->isVisible())
                CollectWindows(top, screen, &windows);
    }
    root["windows"] = windows;
    root["dialogs"] = DialogControls::DumpDialogs(app->Screen());
    root["title"] = app->Screen() ? app->Screen()->TaskBar()->Title() : QString();
    root["inputPanel"] = InputPanel::IsShown();
    QJsonObject menu;
    CollectMenu(Resources::MainMenu(), app, &menu);
    CollectButtons(Resources::BottomToolBarButtons(), app, &menu);
    CollectButtons(Resources::CommandBarButtons(), app, &menu);
    root["menu"] = menu;
    // The main view's full-screen switch and the canvas's pan offsets.
    CLumoView* view = app->Frame() ? app->Frame()->ImageView() : nullptr;
    root["fullScreen"] = view ? view->GetFullScreen() : 0;
    const CImageCanvas* canvas = view ? view->Canvas() : nullptr;
    root["pan"] = QJsonArray {canvas ? canvas->PanX() : 0, canvas ? canvas->PanY() : 0};
    // The slideshow and the two forms of the thumbnail view.
    root["slideshow"] = view && view->IsSlideshowRunning();
    const CThumbnailView* thumbs = app->Frame() ? app->Frame()->ThumbnailView() : nullptr;
    // The pane commands are offered to first: "image" or "thumbnails".
    const CView* active = app->Frame() ? app->Frame()->GetActiveView() : nullptr;
    root["activeView"] = !active            ? QStringLiteral("none")
                         : active == thumbs ? QStringLiteral("thumbnails")
                                            : QStringLiteral("image");
    const CThumbnailCtrl* strip = thumbs ? thumbs->Strip() : nullptr;
    root["strip"] = QJsonObject {{"first", strip ? strip->Strip().m_first : -1},
                                 {"selected", strip ? strip->Strip().m_selected : -1},
                                 {"lastPage", strip ? strip->Strip().m_lastPage : -1}};
    const CThumbnailListCtrl* list = thumbs ? thumbs->List() : nullptr;
    QJsonArray columns;
    for (int width : list ? list->ColumnWidths() : QList<int>())
        columns.append(width);
    root["list"] = QJsonObject {{"rows", list ? list->RowCount() : 0},
                                {"selected", list ? list->HighlightedRow() : -1},
                                {"columns", columns},
                                {"rowHeight", list ? list->RowHeight() : 0},
                                {"firstRow", QJsonArray::fromStringList(list ? list->RowTexts(0) : QStringList())}};
    return root;
}
