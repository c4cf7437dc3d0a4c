// CMemoPropertyDlg: dialog 145 ("Dialog"), where the user edits the current
// entry's memo: font, align and size lists, "bold" and "italic", and the
// multi-line memo text. After OK the values go to the entry when the dialog
// goes (the colour is never touched); closed any other way (Escape, a close
// request) the entry is left as it was. While the memo edit has the focus the
// on-screen keyboard is shown on a device without a keyboard.
#pragma once

#include "image/memo_text.h"
#include "shell/device_dialog.h"

class QCheckBox;
class QComboBox;
class QPlainTextEdit;

class CMemoPropertyDlg : public CDeviceDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 145;
    enum ControlId {
        kSize = 1022,
        kMemo = 1018,
        kBold = 1024,
        kItalic = 1025,
        kFont = 1026,
        kAlign = 1027,
        kKeyboard = 1028
    };

    explicit CMemoPropertyDlg(QWidget* screen);
    ~CMemoPropertyDlg() override;

    void accept() override;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ShowValues();  // dialog values -> controls
    void ReadValues();  // controls -> dialog values

    CImageItem* m_item = nullptr;  // not owned: the current entry when the dialog started
    QComboBox* m_font;
    QComboBox* m_align;
    QComboBox* m_size;
    QCheckBox* m_bold;
    QCheckBox* m_italic;
    QPlainTextEdit* m_memo;
    CMemoRecord m_values {QString(), QString(), 0, 0, QString(), QString(), QString()};  // empty until started
    QString m_startContent;  // the entry's memo text when the dialog started
    bool m_confirmed = false;
};
