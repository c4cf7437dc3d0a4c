// CTitleDialog: a device dialog that draws its own title line across its
// top: the title in bold 11-pixel Tahoma, dark blue, from x = 8, in a line 22
// pixels high closed by a black rule. Derived dialogs draw more after it in
// OnPaint.
#pragma once

#include "shell/device_dialog.h"

#include <QFont>

class QPainter;

class CTitleDialog : public CDeviceDialog {
    Q_OBJECT
public:
    static constexpr int kTitleHeight = 22;

    CTitleDialog(QWidget* screen, const QString& className, const QString& caption);

    // An empty title draws no title line.
    void SetTitle(const QString& title);
    QString Title() const { return m_title; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // Called after the title is drawn; draws nothing here.
    virtual void OnPaint(QPainter& painter);

private:
    QString m_title;
    QFont m_titleFont;
};
