#pragma once

// How a picture is coded: whole (I), from pictures before it (P), from pictures either side of it
// (B), or as a sprite (S, MPEG-4 global motion, a reference like P).
enum class PictureType
{
    Unknown,
    I,
    P,
    B,
    S,
};

// The picture type's letter: 'I', 'P', 'B', 'S', or '?' when it is not known.
constexpr char PictureTypeLetter(PictureType type)
{
    switch (type) {
    case PictureType::I:
        return 'I';
    case PictureType::P:
        return 'P';
    case PictureType::B:
        return 'B';
    case PictureType::S:
        return 'S';
    case PictureType::Unknown:
        break;
    }
    return '?';
}
