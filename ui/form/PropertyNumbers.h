// Property numbers by name, the one place they are written down. 0-7 are common to every
// component and the window; from 8 on each type numbers its own, in the order listed. The
// schemas, the program, the form tool and the tests all use these names.
#pragma once

#include <cstdint>

namespace qelvane::prop {

using Number = std::int8_t;

enum : Number { kLeft, kTop, kWidth, kHeight, kTag, kVisible, kDisable, kMousePointer, kFirstOwn };

namespace tab {
enum : Number {
    kHeaderPos = kFirstOwn, kMultiLine, kFont, kPageCaptions, kCurrentPage, kHideHeader, kFillBack,
    kBackColor
};
}  // namespace tab

namespace radio {
enum : Number {
    kPicture = kFirstOwn, kPushLike, kFlat, kCaption, kLeftText, kHAlign, kVAlign, kTextColor,
    kBackColor, kFont, kChecked
};
}  // namespace radio

namespace button {
enum : Number {
    kPicture = kFirstOwn, kButtonType, kCaption, kHAlign, kVAlign, kFont
};
}  // namespace button

namespace label {
enum : Number {
    kCaption = kFirstOwn, kTextEffect, kFont, kTextColor, kHAlign, kWordWrap, kVAlign
};
}  // namespace label

namespace superbtn {
enum : Number {
    kBtnStyle = kFirstOwn, kCheckBox, kChecked, kAlignStyle, kPressStyle, kDrawBorder, kDrawFocus,
    kPicOut, kTransColorOut, kPicIn, kTransColorIn, kPicDisabled, kTransColorDisabled, kFont,
    kCaption, kDefaultColor, kFgColorOut, kBkColorOut, kFgColorIn, kBkColorIn, kFgColorFocus,
    kBkColorFocus, kStandardSound, kOverSound, kClickSound, kToolTip, kDefaultStyle
};
}  // namespace superbtn

namespace picbox {
enum : Number {
    kBorder = kFirstOwn, kBackColor, kPicture, kDrawMode, kPlayAnimation, kDataSource, kDataColumn
};
}  // namespace picbox

}  // namespace qelvane::prop
