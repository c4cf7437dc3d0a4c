// The document's file commands: Open File and Add File through the File Open
// dialog, Browser Folder, Save As of the current picture and Save As Album,
// each with its dialog reached through CFileDialogHooks.
#include "app/lumo_doc.h"

#include "app/album_file.h"
#include "app/file_dialog_hooks.h"
#include "app/save_as.h"
#include "app/settings.h"
#include "image/export.h"
#include "platform/device_path.h"
#include "platform/message_box.h"
#include "res/resource.h"

using namespace Res;

void CLumoDoc::RegisterFileCommands()
{
    OnCommand(ID_FILE_OPEN, [this] {
        QString path;
        if (m_fileDialogs && m_fileDialogs->RunFileOpen(Settings::FileOpenFilter(), &path))
            OpenPicturePath(path);
    });
    OnCommand(ID_ADD_FILE, [this] {
        QString path;
        if (m_fileDialogs && m_fileDialogs->RunFileOpen(Settings::FileOpenFilter(), &path))
            AddPicturePath(path);
    });
    OnCommand(ID_BROWSER_FOLDER, [this] {
        if (m_fileDialogs)
            m_fileDialogs->ShowFolderBrowser();
    });
    OnCommand(ID_FILE_SAVE_AS, [this] {
        CImageItem* item = m_catalog.GetCurrent();
        QString path;
        if (item && m_fileDialogs
            && m_fileDialogs->RunSaveFile(SaveAs::ProposedName(*item), QLatin1String(SaveAs::kPictureFilter), QString(),
                                          &path))
            SaveCurrentPictureAs(path);
    });
    OnCommand(ID_SAVE_AS_ALBUM, [this] {
        if (!m_fileDialogs)
            return;
        // The folder is made before the dialog opens, so the dialog can show it.
        AlbumFile::EnsureDefaultFolder();
        QString path;
        if (m_fileDialogs->RunSaveFile(AlbumFile::DefaultName(), QLatin1String(SaveAs::kAlbumFilter),
                                       QLatin1String(SaveAs::kAlbumExtension), &path))
            m_catalog.SaveAlbum(path);
    });
}

CImageItem* CLumoDoc::FinishCurrent()
{
    CImageItem* item = m_catalog.GetCurrent();
    m_pictureJobs.Finish(item, m_quickView != 0);
    return item;
}

int CLumoDoc::SaveCurrentPictureAs(const QString& path)
{
    const SaveAs::Writer writer = SaveAs::WriterFor(path);
    if (writer == SaveAs::Writer::None) {
        ShowMessage(SaveAs::UnsupportedNameMessage(path));
        return 0;
    }
    CImageItem* item = FinishCurrent();
    const QString host = DevicePath::ToHost(path);
    const HBITMAP picture = item ? item->m_picture.m_fullBitmap : nullptr;
    const int written = !picture                        ? 0
                        : writer == SaveAs::Writer::Bmp ? SaveAsBmp(picture, host)
                                                        : SaveAsJpeg(picture, host);
    if (!written)
        ShowMessage(QLatin1String(SaveAs::kCouldNotCreate));
    return written;
}
