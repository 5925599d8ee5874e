// The scene pictures of a printable document: 20 numbered slots that printed
// pages draw from, and one temporary slot. A picture is an orthographic
// volume, a placement and the settings that the document's own drawing
// operation needs; DrawImageGL sets up the view and lights for one and lets
// the document draw the scene.
#pragma once

#include <functional>

struct PrintImage {
    bool bUsed = false;
    double dBox[6] = {};       // x min, x max, y min, y max, z min, z max
    double dTransform[6] = {}; // translation x, y, z; rotations in degrees about x, y, z
    unsigned int uFlags = 0;   // kPrintImage* bits
    int iParam = 0;            // for the document's drawing operation
    double dParam = 0.0;       // for the document's drawing operation
    float fColor[4] = {};      // RGBA
};

// Bits of PrintImage::uFlags.
constexpr unsigned int kPrintImageFill = 0x2;     // filled drawing
constexpr unsigned int kPrintImageOutline = 0x10; // outline drawing
constexpr unsigned int kPrintImageBlend = 0x20;   // blending on
constexpr unsigned int kPrintImageLight = 0x100;  // lights and material on

class COGLPrintImages {
public:
    static constexpr int kSlots = 20;   // slots 0 to 19
    static constexpr int kTmpSlot = 20; // the temporary slot

    // Fills the slot given, or with a negative slot the first free one of
    // 0 to 19; false when none is free or the slot is above 19.
    bool AddImage(const double box[6], const double transform[6], int iParam, double dParam,
                  const float colour[4], unsigned int flags, int slot);
    // Removes the picture of slot 0 to 19: the later ones move down by one
    // and slot 19 becomes free. Other slots are ignored.
    void DeleteImage(int slot);
    // Fills the temporary slot; the colour is kept as floats.
    void SetTmpImage(const double box[6], const double transform[6], int iParam, double dParam,
                     const double colour[4], unsigned int flags);

    // Slot 0 to 20; any other slot reads as an empty picture.
    const PrintImage& GetImage(int slot) const;

    // The drawing mode that a picture's flags ask for: 6 for neither fill
    // nor outline, else 1 for fill, 2 for outline, 3 for both.
    static int DrawMode(unsigned int flags);

    // Draws the picture of slot 0 to 20 into the current OpenGL context:
    // projection and placement, blending, depth test and (with
    // kPrintImageLight) the shared lights and material, then
    // content(DrawMode(flags), flags) for the scene, then a frame round the
    // volume in x and y. Other slots draw nothing.
    void DrawImageGL(int slot, const std::function<void(int mode, unsigned int flags)>& content) const;

private:
    PrintImage m_images[kSlots + 1];
};
