#pragma once

#include "platform/hot_key_window.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

constexpr quint32 WM_HOTKEY = 786;

// One registered hot key: its value and the atom it is registered under.
struct HotKeyEntry {
    quint32 value = 0;
    quint16 index = 0;
};

// System-wide hot keys for the window that owns the manager. Each is registered under a global
// atom named after its value; OnHotKeyPressed reports a press with the value and that atom.
class THotKeyManager : public QObject {
    Q_OBJECT
public:
    using TOnHotKeyPressed = std::function<void(QObject* sender, quint32 HotKey, quint16 Index)>;

    // The message the system sends the manager's hidden window.
    struct TMessage {
        quint32 msg = 0;
        quintptr wParam = 0;
        qintptr lParam = 0;
    };

    explicit THotKeyManager(QObject* owner);
    ~THotKeyManager() override;

    // The index the value is registered under, 0 when it could not be registered.
    quint16 AddHotKeyValue(quint32 value);
    // Releases the key under Index, then registers the new value; 0 when the index is unknown
    // or the new value could not be registered.
    quint16 ChangeHotKeyValue(quint16 index, quint32 newValue);
    bool RemoveHotKeyIndex(quint16 index);
    // Last registered first.
    void RemoveAllHotKeys();
    bool ReleaseEntry(const HotKeyEntry& entry);

    virtual qintptr HotKeyWindowProc(const TMessage& message);

    // Why the last registration registered nothing; None after one that succeeded.
    THotKeyRefusal LastRefusal() const { return FLastRefusal; }
    const std::vector<HotKeyEntry>& Entries() const { return FList; }

    TOnHotKeyPressed OnHotKeyPressed;

private:
    THotKeyRefusal Register(quint16 index, quint32 value);

    std::unique_ptr<THotKeyWindow> FWindow;
    std::vector<HotKeyEntry> FList;
    THotKeyRefusal FLastRefusal = THotKeyRefusal::None;
};
