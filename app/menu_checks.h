// CMenuChecks: the check marks of the items of menu 128. Radio marks are set
// inside a pop-up that is found by its labels, as the menu bar is searched;
// the menus and tool buttons show the marks through the document's update
// handlers.
#pragma once

#include <QString>
#include <QStringList>
#include <set>

struct CMenuItemDef;

class CMenuChecks {
public:
    // A radio group: the pop-up that holds it and its first and last command.
    struct RadioGroup {
        const char* const* popup;  // labels from the menu bar, null-terminated
        int first;
        int last;
    };
    // The radio groups of menu 128; null when id is in none of them.
    static const RadioGroup* GroupOf(int id);
    // Every radio group and the "Slide Show" check item, for the update handlers.
    static std::set<int> CheckableIds();

    // Position of the item of menu whose label equals text (case counts), or -1.
    static int FindMenuItem(const CMenuItemDef& menu, const QString& text);
    // The pop-up reached from the menu bar through labels; null when one is missing.
    static const CMenuItemDef* FindPopup(const QStringList& labels);

    // Marks id and clears every other item of the pop-up whose command lies in
    // first..last. Fails (nothing changes) when the pop-up is missing or id is
    // not one of its items in that range.
    bool CheckRadio(const QStringList& popup, int first, int last, int id);
    // Clears every item of the pop-up whose command lies in first..last.
    void ClearRange(const QStringList& popup, int first, int last);
    void SetCheck(int id, bool checked);
    bool IsChecked(int id) const { return m_checked.count(id) != 0; }

private:
    std::set<int> m_checked;
};
