#include "platform/web_engine_start.h"

#include <gtest/gtest.h>

namespace {

// A graphics card is used as it is; Mesa's software rasteriser, the GL of a machine without
// one, is let draw WebGL; without any GL Chromium's GPU path is off.
TEST(GpuSwitches, FollowTheGlAtHand) {
    EXPECT_EQ(GpuSwitchesFor(QStringLiteral("Mesa Intel(R) UHD Graphics 620 (KBL GT2)")), "");
    EXPECT_EQ(GpuSwitchesFor(QStringLiteral("NVIDIA GeForce GTX 1060/PCIe/SSE2")), "");
    EXPECT_EQ(GpuSwitchesFor(QStringLiteral("AMD Radeon RX 580 (polaris10, LLVM 15.0.6)")), "");
    EXPECT_EQ(GpuSwitchesFor(QStringLiteral("llvmpipe (LLVM 15.0.6, 256 bits)")),
              "--ignore-gpu-blocklist");
    EXPECT_EQ(GpuSwitchesFor(QString()), "--disable-gpu");
}

} // namespace
