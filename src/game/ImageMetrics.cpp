#include "game/ImageMetrics.h"

#include "graphics/Image.h"

#include <algorithm>

ImageMetrics MetricsOf(const Zorva::Image* image)
{
    if (image == nullptr) {
        return {};
    }
    ImageMetrics metrics;
    metrics.width = image->GetWidth();
    metrics.height = image->GetHeight();
    metrics.cellWidth = image->GetCellWidth();
    metrics.cellCount = std::max(1, image->GetCellCount());
    return metrics;
}
