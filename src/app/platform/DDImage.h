#pragma once

#include "graphics/MemoryImage.h"

namespace Zorva {

class DDInterface;

/// An image made by the display back-end. It draws in software on its own pixels; the
/// back-end knows each of its images, and images that outlive it forget it.
class DDImage : public MemoryImage
{
public:
    explicit DDImage(DDInterface* owner);
    DDImage(const DDImage& other);
    DDImage& operator=(const DDImage&) = delete;
    ~DDImage() override;

    /// The back-end that made it; null once the back-end is gone.
    DDInterface* GetDDInterface() const { return ddInterface; }

private:
    friend class DDInterface;
    DDInterface* ddInterface = nullptr;
};

} // namespace Zorva
