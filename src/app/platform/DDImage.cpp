#include "app/platform/DDImage.h"

#include "app/platform/DDInterface.h"

namespace Zorva {

DDImage::DDImage(DDInterface* owner) : ddInterface(owner)
{
    if (ddInterface != nullptr) {
        ddInterface->AddImage(this);
    }
}

DDImage::DDImage(const DDImage& other) : MemoryImage(other), ddInterface(other.ddInterface)
{
    if (ddInterface != nullptr) {
        ddInterface->AddImage(this);
    }
}

DDImage::~DDImage()
{
    if (ddInterface != nullptr) {
        ddInterface->RemoveImage(this);
    }
}

} // namespace Zorva
