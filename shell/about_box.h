// CAboutBox: dialog 100, "About Lumo": icon, product name and version, the
// line "Picture Viewer" and the maker's lines.
#pragma once

#include "shell/device_dialog.h"

class CAboutBox : public CDeviceDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* screen);
};
