// Command routing: numeric command identifiers offered along a chain of
// targets (active view, document, frame, application); the first target with
// a handler takes the command. Update handlers decide a command's enabled and
// checked state for menus and tool buttons.
#pragma once

#include <functional>
#include <initializer_list>
#include <unordered_map>
#include <vector>

// The state an update handler sets for one command.
struct CCmdUI {
    int id = 0;
    bool enabled = true;
    bool checked = false;
    bool handled = false;  // some target had an update handler
    void Enable(bool on = true) { enabled = on; }
    void SetCheck(int check) { checked = check != 0; }
};

// A target with a table of command and update handlers.
class CCmdTarget {
public:
    using Handler = std::function<void()>;
    using UpdateHandler = std::function<void(CCmdUI&)>;

    virtual ~CCmdTarget() = default;

    // Table entries, usually made in the constructor.
    void OnCommand(int id, Handler handler) { m_commands[id] = std::move(handler); }
    void OnCommandRange(std::initializer_list<int> ids, const std::function<void(int)>& handler);
    void OnUpdate(int id, UpdateHandler handler) { m_updates[id] = std::move(handler); }
    void OnUpdateRange(std::initializer_list<int> ids, const UpdateHandler& handler);

    bool HasCommand(int id) const { return m_commands.count(id) != 0; }
    // Runs the handler of id; false when this target has none.
    bool HandleCommand(int id);
    // Runs the update handler of id; false when this target has none.
    bool HandleUpdate(CCmdUI& ui);

private:
    std::unordered_map<int, Handler> m_commands;
    std::unordered_map<int, UpdateHandler> m_updates;
};

// Offers a command to the targets in order. Targets may be null (skipped).
class CCommandRouter {
public:
    using ChainProvider = std::function<std::vector<CCmdTarget*>()>;
    void SetChain(ChainProvider chain) { m_chain = std::move(chain); }

    // True when some target handled the command.
    bool Route(int id) const;
    // Enabled and checked state of a command, as its update handler sets it.
    // A command that no target handles is disabled, also when an update
    // handler would enable it.
    CCmdUI Query(int id) const;

private:
    ChainProvider m_chain;
};
