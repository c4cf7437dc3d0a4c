// CFolderBrowserHooks: the folder browser as the main view lays it over
// itself. The browser is a window of the shell, which makes it beside the
// panes and hands it to the view.
#pragma once

class QWidget;

class CFolderBrowserHooks {
public:
    virtual ~CFolderBrowserHooks() = default;
    // True while the browser is shown.
    virtual bool IsShown() const = 0;
    // Lays the browser over view's whole area, enables and shows it.
    virtual void ShowOver(QWidget* view) = 0;
    // Lays a shown browser over view again (after the panes moved).
    virtual void PlaceOver(QWidget* view) = 0;
};
