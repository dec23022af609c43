#pragma once

// The input vocabulary shared from the platform layer up to the game: the click codes of the
// pointer entry points and the Windows virtual key codes that every key arrives as.

namespace Zorva {

/// Click codes of PointerDown and PointerUp: the sign is the button (negative is right), the
/// magnitude the clicks (2 for the second press of a double click); middle has its own code.
/// Releases carry the single-click code of their button.
inline constexpr int kClickLeft = 1;
inline constexpr int kClickLeftDouble = 2;
inline constexpr int kClickRight = -1;
inline constexpr int kClickRightDouble = -2;
inline constexpr int kClickMiddle = 3;

/// Button numbers of OnButtonDown and OnButtonUp; also the bit (1 << button) the widget
/// manager keeps for a held button.
inline constexpr int kMouseButtonLeft = 0;
inline constexpr int kMouseButtonRight = 1;
inline constexpr int kMouseButtonMiddle = 2;

/// The button a click code belongs to.
constexpr int MouseButtonOfClick(int clickCode)
{
    if (clickCode == kClickMiddle) {
        return kMouseButtonMiddle;
    }
    return clickCode < 0 ? kMouseButtonRight : kMouseButtonLeft;
}

/// How many clicks a click code counts: 2 for a double click, else 1.
constexpr int ClickCountOf(int clickCode)
{
    if (clickCode == kClickMiddle) {
        return 1;
    }
    return clickCode < 0 ? -clickCode : clickCode;
}

/// The single-click code of a button, as its release carries it.
constexpr int ClickOfMouseButton(int button)
{
    if (button == kMouseButtonMiddle) {
        return kClickMiddle;
    }
    return button == kMouseButtonRight ? kClickRight : kClickLeft;
}

/// Windows virtual key codes, by the key's place on a US keyboard. Letters and digits are
/// their upper-case ASCII codes.
inline constexpr int kVirtualKeyBackspace = 8;
inline constexpr int kVirtualKeyTab = 9;
inline constexpr int kVirtualKeyClear = 12;
inline constexpr int kVirtualKeyEnter = 13;
inline constexpr int kVirtualKeyShift = 16;
inline constexpr int kVirtualKeyControl = 17;
inline constexpr int kVirtualKeyAlt = 18;
inline constexpr int kVirtualKeyPause = 19;
inline constexpr int kVirtualKeyCapsLock = 20;
inline constexpr int kVirtualKeyEscape = 27;
inline constexpr int kVirtualKeySpace = 32;
inline constexpr int kVirtualKeyPageUp = 33;
inline constexpr int kVirtualKeyPageDown = 34;
inline constexpr int kVirtualKeyEnd = 35;
inline constexpr int kVirtualKeyHome = 36;
inline constexpr int kVirtualKeyLeft = 37;
inline constexpr int kVirtualKeyUp = 38;
inline constexpr int kVirtualKeyRight = 39;
inline constexpr int kVirtualKeyDown = 40;
inline constexpr int kVirtualKeyPrintScreen = 44;
inline constexpr int kVirtualKeyInsert = 45;
inline constexpr int kVirtualKeyDelete = 46;
/// Digits 0 to 9 are 48 to 57.
inline constexpr int kVirtualKey0 = 48;
inline constexpr int kVirtualKey9 = 57;
inline constexpr int kVirtualKeyA = 65;
inline constexpr int kVirtualKeyB = 66;
inline constexpr int kVirtualKeyC = 67;
inline constexpr int kVirtualKeyD = 68;
inline constexpr int kVirtualKeyE = 69;
inline constexpr int kVirtualKeyF = 70;
inline constexpr int kVirtualKeyG = 71;
inline constexpr int kVirtualKeyH = 72;
inline constexpr int kVirtualKeyI = 73;
inline constexpr int kVirtualKeyJ = 74;
inline constexpr int kVirtualKeyK = 75;
inline constexpr int kVirtualKeyL = 76;
inline constexpr int kVirtualKeyM = 77;
inline constexpr int kVirtualKeyN = 78;
inline constexpr int kVirtualKeyO = 79;
inline constexpr int kVirtualKeyP = 80;
inline constexpr int kVirtualKeyQ = 81;
inline constexpr int kVirtualKeyR = 82;
inline constexpr int kVirtualKeyS = 83;
inline constexpr int kVirtualKeyT = 84;
inline constexpr int kVirtualKeyU = 85;
inline constexpr int kVirtualKeyV = 86;
inline constexpr int kVirtualKeyW = 87;
inline constexpr int kVirtualKeyX = 88;
inline constexpr int kVirtualKeyY = 89;
inline constexpr int kVirtualKeyZ = 90;
inline constexpr int kVirtualKeyLeftWindows = 91;
inline constexpr int kVirtualKeyRightWindows = 92;
inline constexpr int kVirtualKeyApplications = 93;
/// Numeric keypad digits 0 to 9 are 96 to 105.
inline constexpr int kVirtualKeyNumpad0 = 96;
inline constexpr int kVirtualKeyNumpad9 = 105;
inline constexpr int kVirtualKeyNumpadMultiply = 106;
inline constexpr int kVirtualKeyNumpadAdd = 107;
inline constexpr int kVirtualKeyNumpadSubtract = 109;
inline constexpr int kVirtualKeyNumpadDecimal = 110;
inline constexpr int kVirtualKeyNumpadDivide = 111;
/// F1 to F24 are 112 to 135.
inline constexpr int kVirtualKeyF1 = 112;
inline constexpr int kVirtualKeyF2 = 113;
inline constexpr int kVirtualKeyF3 = 114;
inline constexpr int kVirtualKeyF4 = 115;
inline constexpr int kVirtualKeyF5 = 116;
inline constexpr int kVirtualKeyF6 = 117;
inline constexpr int kVirtualKeyF7 = 118;
inline constexpr int kVirtualKeyF8 = 119;
inline constexpr int kVirtualKeyF9 = 120;
inline constexpr int kVirtualKeyF10 = 121;
inline constexpr int kVirtualKeyF11 = 122;
inline constexpr int kVirtualKeyF12 = 123;
inline constexpr int kVirtualKeyF13 = 124;
inline constexpr int kVirtualKeyF24 = 135;
inline constexpr int kVirtualKeyNumLock = 144;
inline constexpr int kVirtualKeyScrollLock = 145;
inline constexpr int kVirtualKeySemicolon = 186;
inline constexpr int kVirtualKeyEquals = 187;
inline constexpr int kVirtualKeyComma = 188;
inline constexpr int kVirtualKeyMinus = 189;
inline constexpr int kVirtualKeyPeriod = 190;
inline constexpr int kVirtualKeySlash = 191;
inline constexpr int kVirtualKeyBackquote = 192;
inline constexpr int kVirtualKeyLeftBracket = 219;
inline constexpr int kVirtualKeyBackslash = 220;
inline constexpr int kVirtualKeyRightBracket = 221;
inline constexpr int kVirtualKeyQuote = 222;

} // namespace Zorva
