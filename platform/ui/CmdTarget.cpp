#include "platform/ui/CmdTarget.h"

#include "platform/ui/CmdUI.h"

void CCommandMap::OnCommand(UINT id, Handler handler, UpdateHandler update) {
    if (handler)
        m_entries.push_back(
            {Kind::Command, CN_COMMAND, id, id, [h = std::move(handler)](UINT) { h(); }, {}, {}, {}});
    if (update) OnUpdate(id, std::move(update));
}

void CCommandMap::OnCommandRange(UINT first, UINT last, RangeHandler handler) {
    m_entries.push_back({Kind::Command, CN_COMMAND, first, last, std::move(handler), {}, {}, {}});
}

void CCommandMap::OnCommandEx(UINT first, UINT last, ExHandler handler) {
    m_entries.push_back({Kind::CommandEx, CN_COMMAND, first, last, {}, std::move(handler), {}, {}});
}

void CCommandMap::OnUpdate(UINT id, UpdateHandler update) {
    OnUpdateRange(id, id, std::move(update));
}

void CCommandMap::OnUpdateRange(UINT first, UINT last, UpdateHandler update) {
    m_entries.push_back({Kind::Update, CN_UPDATE_COMMAND_UI, first, last, {}, {}, std::move(update), {}});
}

void CCommandMap::OnControl(int code, UINT id, Handler handler) {
    m_entries.push_back({Kind::Command, code, id, id, [h = std::move(handler)](UINT) { h(); }, {}, {}, {}});
}

void CCommandMap::OnControlRange(int code, UINT first, UINT last, RangeHandler handler) {
    m_entries.push_back({Kind::Command, code, first, last, std::move(handler), {}, {}, {}});
}

void CCommandMap::OnNotify(int code, UINT id, NotifyHandler handler) {
    m_entries.push_back({Kind::Notify,
                         CN_NOTIFY(code),
                         id,
                         id,
                         {},
                         {},
                         {},
                         [h = std::move(handler)](UINT, NMHDR* nm, LRESULT* r) { h(nm, r); }});
}

void CCommandMap::OnNotifyRange(int code, UINT first, UINT last,
                                std::function<void(UINT, NMHDR*, LRESULT*)> handler) {
    m_entries.push_back({Kind::Notify, CN_NOTIFY(code), first, last, {}, {}, {}, std::move(handler)});
}

BOOL CCommandMap::Dispatch(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) const {
    // Newest first: a derived class registers after its base and so overrides it.
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        const Entry& e = *it;
        if (nID < e.first || nID > e.last || e.code != nCode) continue;
        switch (e.kind) {
            case Kind::Update: {
                auto* ui = static_cast<CCmdUI*>(pExtra);
                if (!ui) return FALSE;
                ui->m_bContinueRouting = FALSE;
                e.update(ui);
                const BOOL handled = !ui->m_bContinueRouting;
                ui->m_bContinueRouting = FALSE;
                return handled;
            }
            case Kind::Command:
                if (pHandlerInfo) return TRUE;
                e.command(nID);
                return TRUE;
            case Kind::CommandEx:
                if (pHandlerInfo) return TRUE;
                return e.commandEx(nID);
            case Kind::Notify: {
                if (pHandlerInfo) return TRUE;
                auto* notify = static_cast<AFX_NOTIFY*>(pExtra);
                LRESULT ignored = 0;
                e.notify(nID, notify ? notify->pNMHDR : nullptr,
                         notify && notify->pResult ? notify->pResult : &ignored);
                return TRUE;
            }
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (!m_commands.Dispatch(nID, nCode, pExtra, pHandlerInfo)) return FALSE;
    if (pHandlerInfo) pHandlerInfo->pTarget = this;
    return TRUE;
}

BOOL RouteCmdMsg(std::initializer_list<CCmdTarget*> chain, UINT nID, int nCode, void* pExtra,
                 AFX_CMDHANDLERINFO* pHandlerInfo) {
    for (CCmdTarget* target : chain)
        if (target && target->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) return TRUE;
    return FALSE;
}
