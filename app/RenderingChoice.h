#pragma once

#include <QString>

// Picks the scene graph before the first window exists: Qt Quick's software renderer where OpenGL
// is only a CPU rasterizer (or missing), OpenGL where a real GPU drives it.
class RenderingChoice
{
public:
    // Probes OpenGL, applies the choice and returns a one-line description of it.
    static QString apply();
};
