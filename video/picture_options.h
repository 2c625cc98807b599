#pragma once

// How decoded pictures become the pixels that are shown, saved, recorded and copied.

// The colour matrix a picture's YCbCr values are read with.
enum class ColorMatrixChoice
{
    Auto,  // the one the file names; for a file that names none, the one its size suggests
    Bt601, // for files tagged wrongly
    Bt709,
};

struct PictureOptions
{
    ColorMatrixChoice matrix = ColorMatrixChoice::Auto;
    // HDR pictures (PQ or HLG transfer) are tone-mapped to SDR; without it they keep their
    // stored values, which look grey and washed out.
    bool toneMap = true;
    // The stored orientation, not the one the stream's display matrix asks for.
    bool keepRotation = false;
    // Interlaced streams are deinterlaced, one picture per frame.
    bool deinterlace = true;
    // Pictures with non-square pixels are scaled to their display aspect instead of keeping the
    // stored pixels.
    bool displayAspect = false;

    bool operator==(const PictureOptions&) const = default;
};
