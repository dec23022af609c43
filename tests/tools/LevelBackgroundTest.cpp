// Checks the level backgrounds the build paints: they lie behind piles of ivory stones and
// under the two panels, so the play area must stay quiet and the panel edges soft.

#include "graphics/ImageLib.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;
constexpr int kPlayTop = 26;
constexpr int kPlayBottom = 520;

double Luminance(uint32_t argb)
{
    return 0.299 * ((argb >> 16) & 0xff) + 0.587 * ((argb >> 8) & 0xff) + 0.114 * (argb & 0xff);
}

/// Luminance of one picture, row by row.
class LuminanceMap
{
public:
    explicit LuminanceMap(const Zorva::ImageLib::Image& image)
        : values(static_cast<size_t>(image.width) * image.height), stride(image.width)
    {
        for (size_t i = 0; i < values.size(); ++i) {
            values[i] = Luminance(image.bits[i]);
        }
    }

    double At(int x, int y) const { return values[static_cast<size_t>(y) * stride + x]; }

    double RowMean(int y) const
    {
        double sum = 0;
        for (int x = 0; x < stride; ++x) {
            sum += At(x, y);
        }
        return sum / stride;
    }

    /// Standard deviation inside the rectangle [x0, x1) × [y0, y1).
    double Spread(int x0, int y0, int x1, int y1) const
    {
        double sum = 0;
        double squares = 0;
        int count = 0;
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                sum += At(x, y);
                squares += At(x, y) * At(x, y);
                ++count;
            }
        }
        const double mean = sum / count;
        return std::sqrt(std::max(0.0, squares / count - mean * mean));
    }

private:
    std::vector<double> values;
    int stride;
};

const std::vector<std::string> kBackgrounds = {"bg_harbour",    "bg_temple", "bg_olive_grove",
                                               "bg_lighthouse", "bg_reef",   "bg_agora",
                                               "bg_vineyard",   "bg_cliffs"};

} // namespace

TEST(LevelBackgroundTest, EachIsAFullScreenPictureOfModestFileSize)
{
    for (const std::string& name : kBackgrounds) {
        const std::string file = std::string(QUARROW_DATA_DIR) + "/images/" + name + ".png";
        auto image = Zorva::ImageLib::LoadImageFile(file, false);
        ASSERT_TRUE(image != nullptr) << file;
        EXPECT_EQ(image->width, kWidth) << name;
        EXPECT_EQ(image->height, kHeight) << name;
        EXPECT_LE(std::filesystem::file_size(file), 1024u * 1024u) << name;
    }
}

TEST(LevelBackgroundTest, PanelEdgesFadeInsteadOfStepping)
{
    for (const std::string& name : kBackgrounds) {
        auto image = Zorva::ImageLib::LoadImageFile(
            std::string(QUARROW_DATA_DIR) + "/images/" + name + ".png", false);
        ASSERT_TRUE(image != nullptr) << name;
        const LuminanceMap map(*image);
        for (int edge : {kPlayTop, kPlayBottom}) {
            EXPECT_LT(std::abs(map.RowMean(edge) - map.RowMean(edge - 1)), 5.0)
                << name << ": a band starts at y " << edge;
        }
    }
}

TEST(LevelBackgroundTest, MiddleOfThePlayAreaIsQuieterThanTheWholePicture)
{
    for (const std::string& name : kBackgrounds) {
        auto image = Zorva::ImageLib::LoadImageFile(
            std::string(QUARROW_DATA_DIR) + "/images/" + name + ".png", false);
        ASSERT_TRUE(image != nullptr) << name;
        const LuminanceMap map(*image);
        const double middle = map.Spread(150, 120, 650, 460);
        EXPECT_LT(middle, 40.0) << name;
        EXPECT_LT(middle, map.Spread(0, 0, kWidth, kHeight)) << name;
    }
}
