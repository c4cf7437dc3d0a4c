// CPropertySheet and CPropertyPage: a dialog of pages chosen by tabs, as the
// framework's property sheet has them. The tab control (12320) lies at the
// bottom, above the OK (1) and Cancel (2) buttons. A page loads its values
// when it is first shown (OnInitDialog); when the sheet is confirmed, every
// page that was shown stores its values (OnOK), in the order of the tabs.
#pragma once

#include "shell/device_dialog.h"

#include <QWidget>
#include <vector>

class QTabWidget;

class CPropertyPage : public QWidget {
    Q_OBJECT
public:
    explicit CPropertyPage(const QString& caption);
    QString Caption() const { return m_caption; }
    bool WasShown() const { return m_started; }

protected:
    // The start hook: values into the controls.
    virtual void OnInitDialog() { }
    // The OK hook: values from the controls into the settings.
    virtual void OnOK() { }

private:
    friend class CPropertySheet;
    QString m_caption;
    bool m_started = false;
};

class CPropertySheet : public CDeviceDialog {
    Q_OBJECT
public:
    CPropertySheet(QWidget* screen, const QString& className, const QString& caption);
    // The sheet takes the page; tabs follow the order of the calls.
    void AddPage(CPropertyPage* page);
    QTabWidget* TabControl() const { return m_tabs; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void StartPage(int index);

    QTabWidget* m_tabs;
    std::vector<CPropertyPage*> m_pages;
};
