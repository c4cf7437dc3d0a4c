#include "platform/cmd_target.h"

void CCmdTarget::OnCommandRange(std::initializer_list<int> ids, const std::function<void(int)>& handler)
{
    for (int id : ids)
        m_commands[id] = [handler, id] { handler(id); };
}

void CCmdTarget::OnUpdateRange(std::initializer_list<int> ids, const UpdateHandler& handler)
{
    for (int id : ids)
        m_updates[id] = handler;
}

bool CCmdTarget::HandleCommand(int id)
{
    auto it = m_commands.find(id);
    if (it == m_commands.end())
        return false;
    Handler handler = it->second;  // the handler may change the table
    handler();
    return true;
}

bool CCmdTarget::HandleUpdate(CCmdUI& ui)
{
    auto it = m_updates.find(ui.id);
    if (it == m_updates.end())
        return false;
    ui.handled = true;
    it->second(ui);
    return true;
}

bool CCommandRouter::Route(int id) const
{
    if (!m_chain)
        return false;
    for (CCmdTarget* target : m_chain())
        if (target && target->HandleCommand(id))
            return true;
    return false;
}

CCmdUI CCommandRouter::Query(int id) const
{
    CCmdUI ui;
    ui.id = id;
    if (!m_chain)
        return ui;
    const std::vector<CCmdTarget*> chain = m_chain();
    bool hasHandler = false;
    for (CCmdTarget* target : chain)
        hasHandler = hasHandler || (target && target->HasCommand(id));
    for (CCmdTarget* target : chain)
        if (target && target->HandleUpdate(ui))
            break;
    // A command that nothing carries out is never offered, whatever its
    // update handler says: a button would do nothing when tapped.
    ui.enabled = ui.enabled && hasHandler;
    return ui;
}
