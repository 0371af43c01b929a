#pragma once

// An RGBA colour, each part from 0 to 1.
struct SColour
{
    float r, g, b, a;
};

// The colours of the inspector, chosen to stay apart from the ships' own green and red.
// Guarantees: each map is continuous over its range, clamps what lies outside it and takes
// a value that is not a number as the low end.
class CViewColours
{
public:
    // A neuron's activation from 0 (deep blue) to 1 (warm white).
    static SColour activation(double value);
    // A connection's weight: blue when positive, pink when negative.
    static SColour weight(double value);
    // Line width in pixels, growing with the weight's size up to kWeightForWidest.
    static double weightWidth(double value);
    // A sensor's value from 1 (nothing ahead: faint cyan) to 0 (a collision now: strong
    // magenta), translucent.
    static SColour sensor(double value);

    // The overlays' own colours, whole bytes of 255 so that they come out exactly.
    static constexpr SColour kHudText{205 / 255.0f, 205 / 255.0f, 215 / 255.0f, 1.0f};
    static constexpr SColour kPaused{240 / 255.0f, 170 / 255.0f, 30 / 255.0f, 1.0f};
    static constexpr SColour kFiring{220 / 255.0f, 60 / 255.0f, 50 / 255.0f, 1.0f};
    static constexpr SColour kAuto{60 / 255.0f, 140 / 255.0f, 240 / 255.0f, 1.0f};
    static constexpr SColour kWatching{40 / 255.0f, 150 / 255.0f, 110 / 255.0f, 1.0f};
    static constexpr SColour kBadgeText{0.0f, 0.0f, 0.0f, 1.0f};
    static constexpr SColour kMessage{255 / 255.0f, 230 / 255.0f, 128 / 255.0f, 1.0f};
    static constexpr SColour kPanel{0.0f, 0.0f, 0.06f, 0.78f};
    static constexpr SColour kPanelText{1.0f, 1.0f, 1.0f, 1.0f};
    static constexpr SColour kCaption{150 / 255.0f, 200 / 255.0f, 255 / 255.0f, 1.0f};
    static constexpr SColour kRing{255 / 255.0f, 235 / 255.0f, 0.0f, 1.0f};
    static constexpr SColour kTurretLine{255 / 255.0f, 255 / 255.0f, 160 / 255.0f, 1.0f};
    static constexpr SColour kHighlight{255 / 255.0f, 235 / 255.0f, 0.0f, 1.0f};
    static constexpr SColour kHudBackdrop{0.0f, 0.0f, 0.06f, 1.0f}; // opaque: the world never shows through the line
    static constexpr SColour kGunHit{255 / 255.0f, 60 / 255.0f, 40 / 255.0f, 1.0f};
    static constexpr SColour kHelpKey{255 / 255.0f, 220 / 255.0f, 140 / 255.0f, 1.0f};

    static constexpr double kWeightForWidest = 2.0;
    static constexpr double kThinnest = 0.5;
    static constexpr double kWidest = 3.5;
};
