#pragma once

namespace Zorva {
class Image;
}

/// The sizes the rules need from an image: label placement uses widths, animations use the
/// number of cells. A null (unbound) image measures 0 by 0 with one cell.
struct ImageMetrics
{
    int width = 0;
    int height = 0;
    /// Width of one cell of a strip (the whole width for a single image).
    int cellWidth = 0;
    int cellCount = 1;
};

ImageMetrics MetricsOf(const Zorva::Image* image);
