#pragma once

#include <QString>

// Qt WebEngine reads its locale and its Chromium switches once, when its first profile is
// made. Called before that, on the UI thread of a running application: the engine speaks the
// interface's language (its own error pages are Chinese) and draws with the GL at hand.
void PrepareWebEngineStart();

// The Chromium switches that suit a GL whose renderer is named GlRenderer (empty when there is
// no GL at all). Games drawn through bitmaps (most framework games) need WebGL: the player's
// canvas fallback cannot draw them. A graphics card needs nothing. Mesa's software rasteriser,
// the only GL of a machine without one (a virtual X server), works but is on Chromium's block
// list, which keeps WebGL off unless it is told to ignore it. Without any GL Chromium's GPU
// path is switched off.
QString GpuSwitchesFor(const QString& glRenderer);
