// Decodes arbitrary bytes as a JPEG file.

#include "DecodedImageCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    return TouchDecodedImage(Zorva::ImageLib::DecodeJPEG(data, size).get());
}
