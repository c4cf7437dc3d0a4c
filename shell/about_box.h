// CAboutBox: dialog 100, "About Lumo": icon, product name and version, the
// line "Picture Viewer" and the maker's lines.
#pragma once

#include "shell/device_dialog.h"

class CAboutBox : public CDeviceDialog {
    Q_OBJECT
public:
    static constexpr int kIconSize = 32;  // the program icon's large size
    explicit CAboutBox(QWidget* screen);
};
