// The mouth shapes a voice is drawn with, and what the lip-sync makes of
// it: a shape every 10 ms, then keys at an animation's frames.
#pragma once

enum class MouthShape {
    Rest,     // silence
    Closed,   // lips together: M, B, P
    Clenched, // teeth together, lips apart: S, T, most consonants
    Open,     // most vowels
    Wide,     // wide open: "ah"
    Rounded,  // "oh"
    Puckered, // "oo"
    Teeth,    // upper teeth on the lower lip: F, V
    Tongue    // the tongue behind the teeth: L
};
constexpr int MouthShapeCount = 9;

// The shape's name, also its pose file's name: "rest", "wide", "teeth".
const char* mouthShapeName(MouthShape shape);

// The shape for one 10 ms step. `burst` marks the step where speech starts
// again after a pause with a sound the lips or tongue release (P, B, T...).
struct MouthStep {
    MouthShape shape;
    bool burst;
};

struct MouthKey {
    int frame;
    MouthShape shape;

    bool operator==(const MouthKey& other) const {
        return frame == other.frame && shape == other.shape;
    }
};
