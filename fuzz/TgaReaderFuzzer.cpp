// Decodes arbitrary bytes as a TGA file.

#include "DecodedImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return TouchDecodedImage(Zorva::ImageLib::DecodeTGA(data, size).get());
}
