// CAboutBox: dialog 100, "About Lumo": icon, product name and version, the
// line "Picture Viewer" and the maker's lines.
#pragma once

#include <QDialog>

class CAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit CAboutBox(QWidget* screen);
};
