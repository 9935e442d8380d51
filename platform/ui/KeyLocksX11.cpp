#include "platform/ui/KeyLocksX11.h"

#if defined(TESSARAY_HAVE_XCB_XKB)

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QPointer>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/ui/Idle.h"

#include <xcb/xcb.h>
// The XKB header names a member "explicit", a C++ keyword.
#define explicit xkb_explicit
#include <xcb/xkb.h>
#undef explicit

namespace {

constexpr std::size_t kLockCount = 4;
constexpr const char* kIndicatorNames[kLockCount] = {"Caps Lock", "Num Lock", "Scroll Lock", "Kana"};

// The indicators of the core keyboard on Qt's own connection. The states are read in one round
// trip when first asked after a change, and kept until the server tells of the next one, so an
// idle pass after every mouse move costs nothing.
class CXkbIndicators : public QAbstractNativeEventFilter {
public:
    // Null when the application does not run on xcb or the server has no XKB.
    static std::unique_ptr<CXkbIndicators> Open();

    KeyLockState State(KeyLock lock) {
        if (m_stale) Refresh();
        return m_states[static_cast<std::size_t>(lock)];
    }
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override;

private:
    CXkbIndicators(xcb_connection_t* connection, uint8_t firstEvent)
        : m_connection(connection), m_firstEvent(firstEvent) {}
    void InternNames();
    void Refresh();

    xcb_connection_t* m_connection;
    uint8_t m_firstEvent;
    std::array<xcb_atom_t, kLockCount> m_atoms{};
    std::array<KeyLockState, kLockCount> m_states{};
    bool m_stale = true;
};

std::unique_ptr<CXkbIndicators> CXkbIndicators::Open() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection)) return nullptr;
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(connection, &xcb_xkb_id);
    if (!extension || !extension->present) return nullptr;
    // Every client declares the XKB version it speaks; Qt has, saying it again is harmless.
    auto cookie = xcb_xkb_use_extension(connection, XCB_XKB_MAJOR_VERSION, XCB_XKB_MINOR_VERSION);
    std::unique_ptr<xcb_xkb_use_extension_reply_t, decltype(&std::free)> use(
        xcb_xkb_use_extension_reply(connection, cookie, nullptr), &std::free);
    if (!use || !use->supported) return nullptr;

    std::unique_ptr<CXkbIndicators> indicators(new CXkbIndicators(connection, extension->first_event));
    indicators->InternNames();
    // Indicator changes only, on top of what Qt selects: the other XKB events stay as they are.
    const xcb_xkb_select_events_details_t none{};
    xcb_xkb_select_events_aux(connection, XCB_XKB_ID_USE_CORE_KBD, XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY,
                              0, XCB_XKB_EVENT_TYPE_INDICATOR_STATE_NOTIFY, 0, 0, &none);
    xcb_flush(connection);
    return indicators;
}

void CXkbIndicators::InternNames() {
    std::array<xcb_intern_atom_cookie_t, kLockCount> cookies{};
    for (std::size_t i = 0; i < kLockCount; ++i)
        cookies[i] = xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(std::strlen(kIndicatorNames[i])),
                                     kIndicatorNames[i]);
    for (std::size_t i = 0; i < kLockCount; ++i) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(m_connection, cookies[i], nullptr);
        m_atoms[i] = reply ? reply->atom : XCB_ATOM_NONE;
        std::free(reply);
    }
}

void CXkbIndicators::Refresh() {
    m_stale = false;
    std::array<xcb_xkb_get_named_indicator_cookie_t, kLockCount> cookies{};
    for (std::size_t i = 0; i < kLockCount; ++i)
        if (m_atoms[i] != XCB_ATOM_NONE)
            cookies[i] = xcb_xkb_get_named_indicator(m_connection, XCB_XKB_ID_USE_CORE_KBD,
                                                     XCB_XKB_LED_CLASS_DFLT_XI_CLASS, XCB_XKB_ID_DFLT_XI_ID,
                                                     m_atoms[i]);
    for (std::size_t i = 0; i < kLockCount; ++i) {
        m_states[i] = KeyLockState::Unknown;
        if (m_atoms[i] == XCB_ATOM_NONE) continue;
        xcb_xkb_get_named_indicator_reply_t* reply =
            xcb_xkb_get_named_indicator_reply(m_connection, cookies[i], nullptr);
        // A keyboard without that indicator (often "Kana") leaves its pane blank.
        if (reply && reply->found) m_states[i] = reply->on ? KeyLockState::On : KeyLockState::Off;
        std::free(reply);
    }
}

bool CXkbIndicators::nativeEventFilter(const QByteArray& type, void* message, qintptr*) {
    if (type != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const uint8_t kind = event->response_type & 0x7F;
    // The second byte of every XKB event names its kind.
    const bool indicators = kind == m_firstEvent && event->pad0 == XCB_XKB_INDICATOR_STATE_NOTIFY;
    if (indicators || kind == XCB_FOCUS_IN) {
        m_stale = true;
        // The lock may change while another window has the keyboard: the panes follow at once.
        AfxRequestIdle();
    }
    return false;
}

// One reader per application object: tests and restarts make new ones.
struct CReaderHolder {
    QPointer<QCoreApplication> app;
    std::unique_ptr<CXkbIndicators> reader;
};

CXkbIndicators* Reader() {
    static CReaderHolder& holder = *new CReaderHolder();
    QCoreApplication* app = QCoreApplication::instance();
    if (holder.app != app || !app) {
        holder.reader.reset();
        holder.app = app;
        if (app && QGuiApplication::platformName() == QLatin1String("xcb")) {
            holder.reader = CXkbIndicators::Open();
            if (holder.reader) app->installNativeEventFilter(holder.reader.get());
        }
    }
    return holder.reader.get();
}

}  // namespace

KeyLockState ReadX11KeyLock(KeyLock lock) {
    CXkbIndicators* reader = Reader();
    return reader ? reader->State(lock) : KeyLockState::Unknown;
}

#else

KeyLockState ReadX11KeyLock(KeyLock) {
    return KeyLockState::Unknown;
}

#endif
