#pragma once

#include "FontAtlas.h"

#include <string>

/// The descriptor text of a two-layer image font over `atlas`, whose image file (beside the
/// descriptor) is `imageFileName`: an "Outline" layer drawn beneath a "Main" layer, both with
/// the same advance widths and kerning, the main layer coloured by the text colour and the
/// outline a fixed dark ink.
std::string WriteFontDescriptor(const FontAtlas& atlas, const std::string& imageFileName,
                                int pointSize);

/// A character (or a two-character kerning pair) as a descriptor string element, quoted so
/// that any byte, quotes and backslashes included, reads back as itself.
std::string QuoteCharacters(const std::string& characters);
