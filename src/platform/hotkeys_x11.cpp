// System-wide hot keys on X11: passive key grabs on the root window, made on Qt's own
// connection so that the presses arrive with Qt's events.
#include "platform/hot_key_window.h"
#include "platform/qt_xcb_connection.h"

#include <QAbstractNativeEventFilter>
#include <QGuiApplication>
#include <QTimer>
#include <X11/keysym.h>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <set>
#include <vector>
#include <xcb/xcb.h>
// The XKB header names a member "explicit"; C++ reads that as its keyword.
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit

namespace {

constexpr std::uint8_t kBadAccess = 10;
constexpr std::uint16_t kModifierBits = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_LOCK |
                                        XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1 | XCB_MOD_MASK_2 |
                                        XCB_MOD_MASK_3 | XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

template <typename Reply> using TReply = std::unique_ptr<Reply, decltype(&std::free)>;

// The keyboard as the server maps it now: the keysyms of every key code and the key codes
// behind each of the eight modifier bits.
class TKeyboardMap {
public:
    TKeyboardMap() = default;
    explicit TKeyboardMap(xcb_connection_t* connection) {
        const xcb_setup_t* setup = xcb_get_setup(connection);
        FFirst = setup->min_keycode;
        TReply<xcb_get_keyboard_mapping_reply_t> keys(
            xcb_get_keyboard_mapping_reply(
                connection,
                xcb_get_keyboard_mapping(connection, setup->min_keycode,
                                         setup->max_keycode - setup->min_keycode + 1),
                nullptr),
            &std::free);
        if (keys) {
            FPerKey = keys->keysyms_per_keycode;
            const xcb_keysym_t* first = xcb_get_keyboard_mapping_keysyms(keys.get());
            FKeysyms.assign(first, first + xcb_get_keyboard_mapping_keysyms_length(keys.get()));
        }
        TReply<xcb_get_modifier_mapping_reply_t> modifiers(
            xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection),
                                           nullptr),
            &std::free);
        if (modifiers) {
            const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(modifiers.get());
            const int perModifier = modifiers->keycodes_per_modifier;
            for (int bit = 0; bit < 8; ++bit)
                FModifiers[bit].assign(codes + bit * perModifier, codes + (bit + 1) * perModifier);
        }
    }

    // The key that gives Keysym, preferably unshifted; 0 when the keyboard has none.
    xcb_keycode_t KeycodeOf(xcb_keysym_t keysym) const {
        for (int column = 0; column < FPerKey; ++column) {
            for (std::size_t key = 0; key * FPerKey < FKeysyms.size(); ++key) {
                if (FKeysyms[key * FPerKey + column] == keysym)
                    return xcb_keycode_t(FFirst + key);
            }
        }
        return 0;
    }

    xcb_keysym_t Unshifted(xcb_keycode_t code) const {
        const std::size_t at = std::size_t(code - FFirst) * FPerKey;
        return code >= FFirst && FPerKey > 0 && at < FKeysyms.size() ? FKeysyms[at] : 0;
    }

    // The modifier bit held by a key giving Keysym, or Fallback when none is.
    std::uint16_t MaskOf(xcb_keysym_t keysym, std::uint16_t fallback = 0) const {
        for (int bit = 0; bit < 8; ++bit) {
            for (xcb_keycode_t code : FModifiers[bit]) {
                if (code != 0 && Gives(code, keysym))
                    return std::uint16_t(1 << bit);
            }
        }
        return fallback;
    }

private:
    bool Gives(xcb_keycode_t code, xcb_keysym_t keysym) const {
        const std::size_t start = std::size_t(code - FFirst) * FPerKey;
        for (int column = 0; column < FPerKey && start + column < FKeysyms.size(); ++column) {
            if (FKeysyms[start + column] == keysym)
                return true;
        }
        return false;
    }

    xcb_keycode_t FFirst = 0;
    int FPerKey = 0;
    std::vector<xcb_keysym_t> FKeysyms;
    std::array<std::vector<xcb_keycode_t>, 8> FModifiers;
};

// Every grab of the process on Qt's connection, and the filter that sees their presses.
class TRootGrabs : public QAbstractNativeEventFilter {
public:
    explicit TRootGrabs(xcb_connection_t* connection) : FConnection(connection) {
        FRoot = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
        if (const xcb_query_extension_reply_t* xkb =
                xcb_get_extension_data(connection, &xcb_xkb_id);
            xkb && xkb->present)
            FXkbEvent = xkb->first_event;
        ReadKeyboard();
        qApp->installNativeEventFilter(this);
    }
    ~TRootGrabs() override {
        if (qApp)
            qApp->removeNativeEventFilter(this);
    }

    THotKeyRefusal Add(const THotKeyWindow* owner, std::uint16_t id, std::uint32_t modifiers,
                       xcb_keysym_t keysym) {
        TGrab grab{owner, id, modifiers, keysym};
        Place(grab);
        if (grab.keycode == 0)
            return THotKeyRefusal::NoSuchKey;
        const bool held = std::any_of(FGrabs.begin(), FGrabs.end(), [&](const TGrab& other) {
            return (other.keycode == grab.keycode && other.mask == grab.mask) ||
                   (other.owner == owner && other.id == id);
        });
        if (held)
            return THotKeyRefusal::Taken;
        const THotKeyRefusal refusal = Grab(grab);
        if (refusal == THotKeyRefusal::None)
            FGrabs.push_back(grab);
        return refusal;
    }

    bool Remove(const THotKeyWindow* owner, std::uint16_t id) {
        const auto found = std::find_if(FGrabs.begin(), FGrabs.end(), [&](const TGrab& grab) {
            return grab.owner == owner && grab.id == id;
        });
        if (found == FGrabs.end())
            return false;
        Ungrab(*found);
        FGrabs.erase(found);
        xcb_flush(FConnection);
        return true;
    }

    void RemoveAll(const THotKeyWindow* owner) {
        for (std::size_t i = FGrabs.size(); i-- > 0;) {
            if (FGrabs[i].owner == owner)
                Remove(owner, FGrabs[i].id);
        }
    }

    bool Empty() const { return FGrabs.empty(); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != "xcb_generic_event_t")
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        const std::uint8_t kind = event->response_type & 0x7F;
        if (kind == XCB_KEY_PRESS || kind == XCB_KEY_RELEASE)
            return OnKey(kind, reinterpret_cast<const xcb_key_press_event_t*>(event));
        // A changed keyboard may put the keys on other key codes: grab them again.
        const bool xkbMapChange =
            FXkbEvent != 0 && kind == FXkbEvent &&
            (event->pad0 == XCB_XKB_NEW_KEYBOARD_NOTIFY || event->pad0 == XCB_XKB_MAP_NOTIFY);
        if (kind == XCB_MAPPING_NOTIFY || xkbMapChange)
            ScheduleRegrab();
        return false;
    }

private:
    struct TGrab {
        const THotKeyWindow* owner = nullptr;
        std::uint16_t id = 0;
        std::uint32_t modifiers = 0;
        xcb_keysym_t keysym = 0;
        xcb_keycode_t keycode = 0;
        std::uint16_t mask = 0;
    };

    void ReadKeyboard() {
        const TKeyboardMap keyboard(FConnection);
        FKeyboard = keyboard;
        FNumLock = keyboard.MaskOf(XK_Num_Lock);
        FScrollLock = keyboard.MaskOf(XK_Scroll_Lock);
        FAlt = keyboard.MaskOf(XK_Alt_L, keyboard.MaskOf(XK_Meta_L, XCB_MOD_MASK_1));
        FSuper = keyboard.MaskOf(XK_Super_L, XCB_MOD_MASK_4);
    }

    void Place(TGrab& grab) const {
        grab.keycode = FKeyboard.KeycodeOf(grab.keysym);
        grab.mask = 0;
        if (grab.modifiers & MOD_SHIFT)
            grab.mask |= XCB_MOD_MASK_SHIFT;
        if (grab.modifiers & MOD_CONTROL)
            grab.mask |= XCB_MOD_MASK_CONTROL;
        if (grab.modifiers & MOD_ALT)
            grab.mask |= FAlt;
        if (grab.modifiers & MOD_WIN)
            grab.mask |= FSuper;
    }

    std::uint16_t LockBits() const { return FNumLock | XCB_MOD_MASK_LOCK | FScrollLock; }

    // The combination with every set of lock keys on, as a press carries them in its state.
    std::set<std::uint16_t> Variants(std::uint16_t mask) const {
        std::set<std::uint16_t> variants;
        for (std::uint16_t num : {std::uint16_t(0), FNumLock}) {
            for (std::uint16_t caps : {std::uint16_t(0), std::uint16_t(XCB_MOD_MASK_LOCK)}) {
                for (std::uint16_t scroll : {std::uint16_t(0), FScrollLock})
                    variants.insert(mask | num | caps | scroll);
            }
        }
        return variants;
    }

    THotKeyRefusal Grab(const TGrab& grab) {
        std::vector<xcb_void_cookie_t> cookies;
        for (std::uint16_t variant : Variants(grab.mask))
            cookies.push_back(xcb_grab_key_checked(FConnection, 0, FRoot, variant, grab.keycode,
                                                   XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        THotKeyRefusal refusal = THotKeyRefusal::None;
        for (xcb_void_cookie_t cookie : cookies) {
            if (xcb_generic_error_t* error = xcb_request_check(FConnection, cookie)) {
                refusal = error->error_code == kBadAccess ? THotKeyRefusal::Taken
                                                          : THotKeyRefusal::NoSuchKey;
                std::free(error);
            }
        }
        // Half a combination is none: the variants that were granted go back.
        if (refusal != THotKeyRefusal::None) {
            Ungrab(grab);
            xcb_flush(FConnection);
        }
        return refusal;
    }

    void Ungrab(const TGrab& grab) {
        if (grab.keycode == 0)
            return;
        for (std::uint16_t variant : Variants(grab.mask))
            xcb_ungrab_key(FConnection, grab.keycode, FRoot, variant);
    }

    bool OnKey(std::uint8_t kind, const xcb_key_press_event_t* key) {
        if (key->event != FRoot)
            return false;
        const std::uint16_t state = key->state & kModifierBits & ~LockBits();
        const auto found = std::find_if(FGrabs.begin(), FGrabs.end(), [&](const TGrab& grab) {
            return grab.keycode == key->detail && grab.mask == state;
        });
        if (found == FGrabs.end())
            return false;
        // The press is handled from the event queue, as the system's hot key message is: by
        // then Qt has passed on the window system's news that came before it (a window just
        // minimised), which it holds back while it reads a batch of events.
        if (kind == XCB_KEY_PRESS) {
            QMetaObject::invokeMethod(
                &FContext, [this, grab = *found] { DeliverIfHeld(grab); }, Qt::QueuedConnection);
        }
        return true;
    }

    // A key released before its press came up is not reported. The handler may release this
    // very key: it gets a copy.
    void DeliverIfHeld(const TGrab& grab) const {
        const bool held = std::any_of(FGrabs.begin(), FGrabs.end(), [&](const TGrab& other) {
            return other.owner == grab.owner && other.id == grab.id;
        });
        if (held)
            grab.owner->Deliver({grab.id, grab.modifiers, grab.keysym});
    }

    void ScheduleRegrab() {
        if (FRegrabPending)
            return;
        FRegrabPending = true;
        QTimer::singleShot(0, &FContext, [this] { Regrab(); });
    }

    void Regrab() {
        FRegrabPending = false;
        for (const TGrab& grab : FGrabs)
            Ungrab(grab);
        ReadKeyboard();
        for (TGrab& grab : FGrabs) {
            Place(grab);
            // A key the new keyboard lacks, or one another client took meanwhile, is not
            // caught until the keyboard changes again.
            if (grab.keycode != 0 && Grab(grab) != THotKeyRefusal::None)
                grab.keycode = 0;
        }
        xcb_flush(FConnection);
    }

    xcb_connection_t* FConnection;
    xcb_window_t FRoot = 0;
    std::uint8_t FXkbEvent = 0;
    TKeyboardMap FKeyboard;
    std::uint16_t FNumLock = 0;
    std::uint16_t FScrollLock = 0;
    std::uint16_t FAlt = XCB_MOD_MASK_1;
    std::uint16_t FSuper = XCB_MOD_MASK_4;
    std::vector<TGrab> FGrabs;
    bool FRegrabPending = false;
    // Ends a pending re-grab together with this object.
    QObject FContext;
};

// Lives while some hot key is grabbed, so that no filter outlasts the application.
std::unique_ptr<TRootGrabs> GRootGrabs;

TRootGrabs* RootGrabs() {
    if (!GRootGrabs) {
        if (xcb_connection_t* connection = QtXcbConnection())
            GRootGrabs = std::make_unique<TRootGrabs>(connection);
    }
    return GRootGrabs.get();
}

void DropRootGrabsWhenUnused() {
    if (GRootGrabs && GRootGrabs->Empty())
        GRootGrabs.reset();
}

} // namespace

THotKeyWindow::THotKeyWindow(std::function<void(const THotKeyPress&)> onPress)
    : FOnPress(std::move(onPress)) {}

THotKeyWindow::~THotKeyWindow() {
    if (GRootGrabs) {
        GRootGrabs->RemoveAll(this);
        DropRootGrabsWhenUnused();
    }
}

THotKeyRefusal THotKeyWindow::Register(std::uint16_t id, std::uint32_t modifiers,
                                       std::uint32_t keysym) {
    TRootGrabs* grabs = RootGrabs();
    if (!grabs)
        return THotKeyRefusal::NoGlobalKeys;
    const THotKeyRefusal refusal = grabs->Add(this, id, modifiers, keysym);
    DropRootGrabsWhenUnused();
    return refusal;
}

bool THotKeyWindow::Unregister(std::uint16_t id) {
    if (!GRootGrabs)
        return false;
    const bool released = GRootGrabs->Remove(this, id);
    DropRootGrabsWhenUnused();
    return released;
}

void THotKeyWindow::Deliver(const THotKeyPress& press) const {
    if (FOnPress)
        FOnPress(press);
}

std::optional<bool> KeyboardHasKeysym(std::uint32_t keysym) {
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection)
        return std::nullopt;
    return TKeyboardMap(connection).KeycodeOf(keysym) != 0;
}

std::uint32_t UnshiftedKeysym(std::uint32_t keycode) {
    xcb_connection_t* connection = QtXcbConnection();
    if (!connection || keycode > 0xFF)
        return 0;
    return TKeyboardMap(connection).Unshifted(xcb_keycode_t(keycode));
}
