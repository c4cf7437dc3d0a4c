#include "app/menu_checks.h"

#include "res/resource.h"
#include "res/resources.h"

namespace {

const char* const kRotatePopup[] = {"View", "Rotate", nullptr};
const char* const kZoomPopup[] = {"View", "Zoom", nullptr};

const CMenuChecks::RadioGroup kGroups[] = {
    {kRotatePopup, Res::ID_ROTATE_90, Res::ID_ROTATE_0},
    {kZoomPopup, Res::ID_ZOOM_50, Res::ID_ZOOM_FILL},
    {kZoomPopup, Res::ID_ALL_FIT, Res::ID_ALL_ORIGINAL},
};

}  // namespace

const CMenuChecks::RadioGroup* CMenuChecks::GroupOf(int id)
{
    for (const RadioGroup& group : kGroups)
        if (id >= group.first && id <= group.last)
            return &group;
    return nullptr;
}

std::set<int> CMenuChecks::CheckableIds()
{
    std::set<int> ids {Res::ID_SLIDE_SHOW};
    for (const RadioGroup& group : kGroups)
        for (int id = group.first; id <= group.last; ++id)
            ids.insert(id);
    return ids;
}

int CMenuChecks::FindMenuItem(const CMenuItemDef& menu, const QString& text)
{
    for (size_t i = 0; i < menu.children.size(); ++i)
        if (menu.children[i].label.left(256) == text)
            return int(i);
    return -1;
}

const CMenuItemDef* CMenuChecks::FindPopup(const QStringList& labels)
{
    // The menu bar is the pop-up whose items are "File", "View" and "Tools".
    static const CMenuItemDef bar("", 0, Resources::MainMenu());
    const CMenuItemDef* menu = &bar;
    for (const QString& label : labels) {
        const int pos = FindMenuItem(*menu, label);
        if (pos < 0 || !menu->children[size_t(pos)].IsPopup())
            return nullptr;
        menu = &menu->children[size_t(pos)];
    }
    return menu;
}

bool CMenuChecks::CheckRadio(const QStringList& popup, int first, int last, int id)
{
    const CMenuItemDef* menu = FindPopup(popup);
    if (!menu || id < first || id > last)
        return false;
    bool found = false;
    for (const CMenuItemDef& item : menu->children)
        found = found || (item.id == id && !item.IsPopup());
    if (!found)
        return false;
    for (const CMenuItemDef& item : menu->children)
        if (item.id >= first && item.id <= last)
            SetCheck(item.id, item.id == id);
    return true;
}

void CMenuChecks::ClearRange(const QStringList& popup, int first, int last)
{
    if (const CMenuItemDef* menu = FindPopup(popup))
        for (const CMenuItemDef& item : menu->children)
            if (item.id >= first && item.id <= last)
                SetCheck(item.id, false);
}

void CMenuChecks::SetCheck(int id, bool checked)
{
    if (checked)
        m_checked.insert(id);
    else
        m_checked.erase(id);
}
