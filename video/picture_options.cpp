#include "video/picture_options.h"

#include "settings/settings.h"

PictureOptions PictureOptionsOf(const CSettings& settings)
{
    PictureOptions options;
    switch (settings.GetOption(OPTION_COLOR_MATRIX)) {
    case 1:
        options.matrix = ColorMatrixChoice::Bt601;
        break;
    case 2:
        options.matrix = ColorMatrixChoice::Bt709;
        break;
    default:
        options.matrix = ColorMatrixChoice::Auto;
        break;
    }
    options.toneMap = settings.GetOption(OPTION_TONE_MAP) != 0;
    options.keepRotation = settings.GetOption(OPTION_KEEP_ROTATION) != 0;
    options.deinterlace = settings.GetOption(OPTION_DEINTERLACE) != 0;
    options.displayAspect = settings.GetOption(OPTION_DISPLAY_ASPECT) != 0;
    return options;
}
