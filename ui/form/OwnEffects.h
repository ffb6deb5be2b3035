// The write effects that need code of a type's own, one list per type: a schema row names its
// effect from its type's list (Effect::Custom with the value here), and the type's class runs it
// by that name, without looking at which field the row is. Portable.
#pragma once

#include <cstdint>

namespace qelvane {

enum class TabEffect : std::uint8_t {
    Page = 1,   // the page in front follows, with its components
    Font,       // the headers' font, where there are headers
    HeaderPos,  // the headers move: restyled, or rebuilt for the right side
};

enum class RadioBoxEffect : std::uint8_t {
    Check = 1,  // the control's check follows
};

enum class SuperBtnEffect : std::uint8_t {
    Style = 1,        // the drawing style; hover may no longer be tracked
    Kind,             // check box or push button: rebuilt when it changes
    PictureOut,       // one of the three pictures, or its transparent colour, is made again
    PictureIn,
    PictureDisabled,
    Sound,            // a sound that may be playing is stopped first; nothing to draw
    ToolTip,          // the tooltip's text
};

enum class PicBoxEffect : std::uint8_t {
    Background = 1,  // the background brush is made again
    DrawMode,        // the picture is placed again, at once
    Picture,         // the picture is decoded again
};

}  // namespace qelvane
