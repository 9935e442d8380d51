// Command targets: per-object tables of command, update and notification handlers, and the
// routing entry `OnCmdMsg` through which menus, accelerators, toolbars and controls reach them.
//
// A class registers its handlers in its constructor through `Commands()`. Because a derived class's
// constructor runs after its base's, later registrations take precedence: a derived class
// overrides a base entry for the same id simply by registering its own. Routing along a chain of
// objects (view, current tool, document, frame, application) is done by overriding `OnCmdMsg`
// and asking the next targets in order, for example with `RouteCmdMsg`.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "platform/WinTypes.h"

class CCmdUI;
class CWnd;

using LRESULT = std::intptr_t;

// nCode values of OnCmdMsg.
enum : int {
    CN_COMMAND = 0,             // a command from a menu, accelerator, toolbar or a button click
    CN_UPDATE_COMMAND_UI = -1,  // an update request; pExtra is the CCmdUI
};

// Control notifications carried by WM_COMMAND (nCode is the code itself).
enum : int {
    BN_CLICKED = 0,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,
    CBN_SELCHANGE = 1,
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,
    CBN_SELENDOK = 9,
    CBN_SELENDCANCEL = 10,
    LBN_SELCHANGE = 1,
    LBN_DBLCLK = 2,
};

// Notifications carried by WM_NOTIFY (NMHDR::code).
enum : int {
    NM_CLICK = -2,
    NM_DBLCLK = -3,
    NM_RETURN = -4,
    NM_SETFOCUS = -7,
    NM_KILLFOCUS = -8,
    LVN_ITEMCHANGED = -101,
    UDN_DELTAPOS = -722,
};

// The nCode under which a WM_NOTIFY notification travels through OnCmdMsg; pExtra is an AFX_NOTIFY.
constexpr int CN_NOTIFY(int notifyCode) {
    return static_cast<int>(0x004E0000u | (static_cast<unsigned int>(notifyCode) & 0xFFFFu));
}

struct NMHDR {
    CWnd* hwndFrom = nullptr;
    UINT idFrom = 0;
    int code = 0;
};

struct AFX_NOTIFY {
    LRESULT* pResult;
    NMHDR* pNMHDR;
};

// Passed to OnCmdMsg with CN_COMMAND to ask only whether a handler exists (nothing is called).
struct AFX_CMDHANDLERINFO {
    class CCmdTarget* pTarget = nullptr;
};

// The handler table of one object.
class CCommandMap {
public:
    using Handler = std::function<void()>;
    using RangeHandler = std::function<void(UINT id)>;
    using ExHandler = std::function<BOOL(UINT id)>;  // FALSE lets routing go on
    using UpdateHandler = std::function<void(CCmdUI*)>;
    using NotifyHandler = std::function<void(NMHDR*, LRESULT*)>;

    // ON_COMMAND, and ON_UPDATE_COMMAND_UI when `update` is given.
    void OnCommand(UINT id, Handler handler, UpdateHandler update = {});
    void OnCommandRange(UINT first, UINT last, RangeHandler handler);
    void OnCommandEx(UINT first, UINT last, ExHandler handler);
    void OnUpdate(UINT id, UpdateHandler update);
    void OnUpdateRange(UINT first, UINT last, UpdateHandler update);
    // ON_CONTROL: a WM_COMMAND notification code (EN_CHANGE, CBN_SELENDOK, ...) of control `id`.
    void OnControl(int code, UINT id, Handler handler);
    void OnControlRange(int code, UINT first, UINT last, RangeHandler handler);
    // ON_NOTIFY: a WM_NOTIFY code (NM_CLICK, NM_RETURN, ...) of control `id`.
    void OnNotify(int code, UINT id, NotifyHandler handler);
    void OnNotifyRange(int code, UINT first, UINT last,
                       std::function<void(UINT id, NMHDR*, LRESULT*)> handler);

    // Runs the entry that takes (id, code); FALSE when none does. See CCmdTarget::OnCmdMsg.
    BOOL Dispatch(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) const;

private:
    enum class Kind { Command, CommandEx, Update, Notify };
    struct Entry {
        Kind kind;
        int code;
        UINT first;
        UINT last;
        std::function<void(UINT)> command;
        ExHandler commandEx;
        UpdateHandler update;
        std::function<void(UINT, NMHDR*, LRESULT*)> notify;
    };
    std::vector<Entry> m_entries;
};

class CCmdTarget {
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Offers a command (CN_COMMAND), an update request (CN_UPDATE_COMMAND_UI, pExtra = CCmdUI*), a
    // WM_COMMAND control notification (its code) or a WM_NOTIFY notification (CN_NOTIFY(code),
    // pExtra = AFX_NOTIFY*) to this target. With pHandlerInfo, only answers whether a command
    // handler exists. TRUE when handled. The base consults this object's own table; overrides
    // route further.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo);

    CCommandMap& Commands() { return m_commands; }

private:
    CCommandMap m_commands;
};

// Offers the message to each non-null target in order; TRUE at the first that handles it.
BOOL RouteCmdMsg(std::initializer_list<CCmdTarget*> chain, UINT nID, int nCode, void* pExtra,
                 AFX_CMDHANDLERINFO* pHandlerInfo);
