// Where the parts of the face lie for a pose and a face centre: the gaze,
// the lid offsets, the eleven handle points, and the nearest handle to a
// pointer position. Needs no platform.
#pragma once

constexpr int HandleCount = 11;

// Handle indexes: the two pupils, four lids, five mouth points.
enum HandleIndex { HandleLeftPupil = 0, HandleLidFirst = 2, HandleMouthFirst = 6 };

struct HandlePoint {
    double x;
    double y;
};

// Truncates toward zero; values beyond ±1,000,000 are held there and NaN
// becomes 1,000,000, so that absurd poses read from a file cannot overflow the
// integer arithmetic of drawing and selection, nor be selected.
int truncateToPixel(double value);

struct FaceGeometry {
    // Computes everything from the thirteen pose values and the centre.
    FaceGeometry(const float* pose, float centerX, float centerY);

    double pupilRadius; // 10 x the pupil size
    double eyeX;        // the gaze point: the centre moved by 25 x the gaze
    double eyeY;
    float lid[4];  // the lid edges' offsets from the eyes' centre line
    int lidRow[4]; // the pixel rows the lid edges are drawn on
    int mouthBase;
    HandlePoint handles[HandleCount];

    // The pixel row a lid edge or a mouth point (by handle index) is drawn on.
    int partRow(int handle) const;
};

// The value of a lid or a mouth point (by handle index) that puts it on pixel
// row `row` in the face of `pose` centred at (centerX, centerY), within the
// keyboard's limits; the nearest limit when no value reaches the row.
float valueForRow(const float* pose, int handle, int row, float centerX, float centerY);

// The index of the handle nearest to (x, y), or -1 when every handle is 900
// pixels or more away. Differences are truncated before squaring; ties go to
// the lower index.
int nearestHandle(const HandlePoint* handles, int x, int y);
