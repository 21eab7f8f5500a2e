// The hot key manager on the real X server of the test's display, keys typed through xdotool.
#include "hotkeys/global_atoms.h"
#include "hotkeys/hot_key_manager.h"
#include "support/pump_events.h"
#include "support/x11_client.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr quint32 kCtrlA = 16449;
constexpr quint32 kCtrlB = 16450;
constexpr quint32 kCtrlShiftF5 = 0x4000 | 0x2000 | 0x74;

struct TPress {
    quint32 hotKey;
    quint16 index;
    bool operator==(const TPress&) const = default;
};

class HotKeyManager : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FOther.Connected()) << "runs under an X server (scripts/test)";
        FManager.OnHotKeyPressed = [this](QObject* sender, quint32 hotKey, quint16 index) {
            EXPECT_EQ(sender, &FManager);
            FPresses.push_back({hotKey, index});
        };
        FOther.TakeFocus();
    }

    // Types Keys and lets the manager see what comes of them.
    std::vector<TPress> Type(const QString& keys) {
        FPresses.clear();
        EXPECT_TRUE(TypeKeys(keys));
        PumpEventsUntil([this] { return !FPresses.empty(); }, 2000);
        PumpEventsUntil([] { return false; }, 100);
        return FPresses;
    }

    TOtherX11Client FOther;
    THotKeyManager FManager{nullptr};
    std::vector<TPress> FPresses;
};

TEST_F(HotKeyManager, CtrlAIsCaughtUnderItsAtomWhileAnotherClientHasTheFocusAlsoWithNumLock) {
    const quint16 index = FManager.AddHotKeyValue(kCtrlA);
    ASSERT_NE(index, 0);
    EXPECT_GE(index, 0xC000);
    EXPECT_EQ(TGlobalAtoms::Instance().Name(index), QStringLiteral("HotKeyManagerHotKey16449"));
    EXPECT_EQ(Type(QStringLiteral("ctrl+a")), (std::vector<TPress>{{kCtrlA, index}}));
    EXPECT_TRUE(Type(QStringLiteral("a")).empty());
    EXPECT_TRUE(Type(QStringLiteral("ctrl+shift+a")).empty());

    ASSERT_TRUE(TypeKeys(QStringLiteral("Num_Lock")));
    const std::vector<TPress> withNumLock = Type(QStringLiteral("ctrl+a"));
    ASSERT_TRUE(TypeKeys(QStringLiteral("Num_Lock")));
    EXPECT_EQ(withNumLock, (std::vector<TPress>{{kCtrlA, index}}));

    const quint16 f5 = FManager.AddHotKeyValue(kCtrlShiftF5);
    ASSERT_NE(f5, 0);
    EXPECT_EQ(Type(QStringLiteral("ctrl+shift+F5")), (std::vector<TPress>{{kCtrlShiftF5, f5}}));
}

TEST_F(HotKeyManager, ACombinationAnotherClientHoldsIsRefusedAndItsAtomGoes) {
    ASSERT_TRUE(FOther.GrabKey(XK_b, XCB_MOD_MASK_CONTROL));
    EXPECT_EQ(FManager.AddHotKeyValue(kCtrlB), 0);
    EXPECT_EQ(FManager.LastRefusal(), THotKeyRefusal::Taken);
    EXPECT_TRUE(FManager.Entries().empty());
    EXPECT_EQ(TGlobalAtoms::Instance().Add(QStringLiteral("HotKeyManagerHotKey16450")), 0xC000)
        << "no atom was left behind";
    TGlobalAtoms::Instance().Delete(0xC000);

    // Held with Num Lock only, it is still taken: half a combination is none.
    FOther.UngrabKey(XK_b, XCB_MOD_MASK_CONTROL);
    ASSERT_TRUE(FOther.GrabKey(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_2));
    EXPECT_EQ(FManager.AddHotKeyValue(kCtrlB), 0);
    EXPECT_TRUE(FOther.GrabKey(XK_b, XCB_MOD_MASK_CONTROL)) << "granted variants went back";
    FOther.UngrabKey(XK_b, XCB_MOD_MASK_CONTROL);
    FOther.UngrabKey(XK_b, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_2);

    EXPECT_NE(FManager.AddHotKeyValue(kCtrlB), 0);
    EXPECT_EQ(FManager.AddHotKeyValue(kCtrlB), 0) << "the same combination twice";
    EXPECT_EQ(FManager.Entries().size(), 1u);
}

TEST_F(HotKeyManager, ChangeReleasesTheOldKeyBeforeRegisteringTheNewOne) {
    const quint16 index = FManager.AddHotKeyValue(kCtrlA);
    ASSERT_NE(index, 0);
    // The same value again can only be registered once the old registration is gone.
    const quint16 same = FManager.ChangeHotKeyValue(index, kCtrlA);
    ASSERT_NE(same, 0);
    EXPECT_EQ(FManager.Entries().size(), 1u);

    const quint16 changed = FManager.ChangeHotKeyValue(same, kCtrlB);
    ASSERT_NE(changed, 0);
    EXPECT_TRUE(Type(QStringLiteral("ctrl+a")).empty());
    EXPECT_EQ(Type(QStringLiteral("ctrl+b")), (std::vector<TPress>{{kCtrlB, changed}}));
    EXPECT_TRUE(FOther.GrabKey(XK_a, XCB_MOD_MASK_CONTROL)) << "the old key is free";

    // Into a combination that is taken: nothing stays registered.
    EXPECT_EQ(FManager.ChangeHotKeyValue(changed, kCtrlA), 0);
    EXPECT_TRUE(FManager.Entries().empty());
    EXPECT_TRUE(FOther.GrabKey(XK_b, XCB_MOD_MASK_CONTROL));
    EXPECT_EQ(FManager.ChangeHotKeyValue(0, kCtrlB), 0);
    EXPECT_FALSE(FManager.RemoveHotKeyIndex(0));
}

TEST_F(HotKeyManager, ValuesThatNameNoKeyRegisterNothing) {
    for (quint32 value : {0u, 0xFFu, kCtrlA | 0x100u, 0x4000u | 0xE0u}) {
        EXPECT_EQ(FManager.AddHotKeyValue(value), 0) << value;
        EXPECT_EQ(FManager.LastRefusal(), THotKeyRefusal::NoSuchKey) << value;
    }
    EXPECT_TRUE(FManager.Entries().empty());
}

TEST_F(HotKeyManager, RemoveAllReleasesEveryKeyAndAtom) {
    const quint16 a = FManager.AddHotKeyValue(kCtrlA);
    const quint16 b = FManager.AddHotKeyValue(kCtrlB);
    ASSERT_NE(a, 0);
    ASSERT_NE(b, 0);
    FManager.RemoveAllHotKeys();
    EXPECT_TRUE(FManager.Entries().empty());
    EXPECT_TRUE(TGlobalAtoms::Instance().Name(a).isEmpty());
    EXPECT_TRUE(TGlobalAtoms::Instance().Name(b).isEmpty());
    EXPECT_TRUE(FOther.GrabKey(XK_a, XCB_MOD_MASK_CONTROL));
    EXPECT_TRUE(Type(QStringLiteral("ctrl+b")).empty());
}

TEST_F(HotKeyManager, AKeyMovedToAnotherKeyCodeIsGrabbedThere) {
    const xcb_keycode_t original = FOther.Keycode(XK_a);
    const xcb_keycode_t spare = FOther.Keycode(XK_F20) ? FOther.Keycode(XK_F20) : 200;
    const quint16 index = FManager.AddHotKeyValue(kCtrlA);
    ASSERT_NE(index, 0);

    FOther.MapKey(original, XK_F19, XK_F19);
    FOther.MapKey(spare, XK_a, XK_A);
    // The client hears of the new keyboard through its event queue.
    PumpEventsUntil([] { return false; }, 300);
    const std::vector<TPress> moved = Type(QStringLiteral("ctrl+a"));
    FOther.MapKey(spare, XK_F20, XK_F20);
    FOther.MapKey(original, XK_a, XK_A);
    EXPECT_EQ(moved, (std::vector<TPress>{{kCtrlA, index}}));
    PumpEventsUntil([] { return false; }, 300);
    EXPECT_EQ(Type(QStringLiteral("ctrl+a")), (std::vector<TPress>{{kCtrlA, index}}));
}

} // namespace
