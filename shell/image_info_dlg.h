// CImageInfoDlg: dialog 141, "Image Info": the current entry's file facts
// (name, location, time, size) and picture facts (colour depth, size,
// rotation, zoom, brightness, contrast), read once when the dialog starts.
// Without a current entry every field stays empty. It changes nothing.
#pragma once

#include "shell/device_dialog.h"

class QLabel;

class CImageInfoDlg : public CDeviceDialog {
    Q_OBJECT
public:
    static constexpr int kResourceId = 141;
    explicit CImageInfoDlg(QWidget* screen);

private:
    QList<QLabel*> m_fields;  // in the order of the field table
};
