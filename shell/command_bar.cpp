#include "shell/command_bar.h"

#include "app/menu_checks.h"
#include "platform/win_app.h"
#include "res/resource.h"
#include "res/resources.h"
#include "shell/input_panel.h"
#include "shell/tool_images.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>
#include <map>

QMenu* BuildMenu(const CMenuItemDef& def, QWidget* parent)
{
    auto* menu = new QMenu(def.label, parent);
    menu->setProperty("lumoClass", QStringLiteral("CMenu"));
    // Items of one radio group show radio marks; the marks themselves come
    // from the update handlers.
    std::map<const CMenuChecks::RadioGroup*, QActionGroup*> groups;
    for (const CMenuItemDef& item : def.children) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            menu->addMenu(BuildMenu(item, menu));
        } else {
            QAction* action = menu->addAction(item.label);
            action->setData(item.id);
            const CMenuChecks::RadioGroup* group = CMenuChecks::GroupOf(item.id);
            action->setCheckable(group || item.id == Res::ID_SLIDE_SHOW);
            if (group) {
                QActionGroup*& actions = groups[group];
                if (!actions) {
                    actions = new QActionGroup(menu);
                    actions->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
                }
                actions->addAction(action);
            }
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, menu, [id] {
                if (CWinApp* app = CWinApp::Instance())
                    app->RouteCommand(id);
            });
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu] { UpdateMenu(menu); });
    return menu;
}

void UpdateMenu(QMenu* menu)
{
    CWinApp* app = CWinApp::Instance();
    for (QAction* action : menu->actions()) {
        if (action->menu()) {
            UpdateMenu(action->menu());
            continue;
        }
        const int id = action->data().toInt();
        if (id == 0 || !app)
            continue;
        const CCmdUI ui = app->QueryCommand(id);
        action->setEnabled(ui.enabled);
        action->setChecked(ui.checked);
    }
}

namespace {

QToolButton* MakeButton(QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

}  // namespace

CCommandBar::CCommandBar(QWidget* parent)
    : QWidget(parent)
{
    setProperty("lumoClass", QStringLiteral("CCommandBar"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 1, 2, 1);
    layout->setSpacing(1);
    const auto& menu = Resources::MainMenu();
    for (const auto& button : Resources::MenuBarButtons()) {
        const CMenuItemDef& popupDef = menu[size_t(button.popup)];
        QMenu* popup = BuildMenu(popupDef, this);
        m_popups.push_back(popup);
        QToolButton* b = MakeButton(this);
        b->setText(popupDef.label);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setProperty("commandId", button.id);
        connect(b, &QToolButton::clicked, this, [b, popup] {
            popup->adjustSize();
            const QPoint above = b->mapToGlobal(QPoint(0, -popup->sizeHint().height()));
            popup->popup(above);
        });
        m_menuButtons.push_back(b);
        layout->addWidget(b);
    }
    layout->addStretch(1);
    for (const CToolButtonDef& def : Resources::CommandBarButtons()) {
        QToolButton* b = MakeButton(this);
        b->setIcon(ToolImages::Icon(Res::IDB_COMMANDBAR_IMAGES, 0, def.image));
        b->setIconSize(QSize(16, 16));
        b->setToolButtonStyle(Qt::ToolButtonIconOnly);
        b->setProperty("commandId", def.id);
        b->setCheckable(def.id == Res::ID_SLIDE_SHOW);
        const int id = def.id;
        connect(b, &QToolButton::clicked, this, [id] {
            if (CWinApp* app = CWinApp::Instance())
                app->RouteCommand(id);
        });
        m_toolButtons.push_back(b);
        layout->addWidget(b);
    }
    m_sipButton = InputPanel::MakeButton(this);
    layout->addSpacing(4);
    layout->addWidget(m_sipButton);
}

void CCommandBar::SetTooltips(const QStringList& tips)
{
    size_t i = 0;
    for (QToolButton* b : m_menuButtons)
        b->setToolTip(tips.value(int(i++)));
    for (QToolButton* b : m_toolButtons)
        b->setToolTip(tips.value(int(i++)));
}

void CCommandBar::ShowSipButton(bool show)
{
    m_sipButton->setVisible(show);
}

bool CCommandBar::SipButtonVisible() const
{
    return !m_sipButton->isHidden();
}

QMenu* CCommandBar::Popup(int index) const
{
    return index >= 0 && index < int(m_popups.size()) ? m_popups[size_t(index)] : nullptr;
}

void CCommandBar::UpdateButtons()
{
    CWinApp* app = CWinApp::Instance();
    if (!app)
        return;
    for (QToolButton* b : m_toolButtons) {
        const CCmdUI ui = app->QueryCommand(b->property("commandId").toInt());
        b->setEnabled(ui.enabled);
        b->setChecked(ui.checked);
    }
}

void CCommandBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(214, 214, 214));
    p.setPen(QColor(128, 128, 128));
    p.drawLine(0, 0, width(), 0);
}
