// Decodes arbitrary bytes as a GIF file.

#include "DecodedImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return TouchDecodedImage(Zorva::ImageLib::DecodeGIF(data, size).get());
}
