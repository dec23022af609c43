#include "game/ImageMetrics.h"

namespace {

ImageMetricsProvider installedProvider = nullptr;

} // namespace

void SetImageMetricsProvider(ImageMetricsProvider provider)
{
    installedProvider = provider;
}

ImageMetrics MetricsOf(const Zorva::Image* image)
{
    if (image == nullptr || installedProvider == nullptr) {
        return {};
    }
    return installedProvider(image);
}
