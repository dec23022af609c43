// contact-sheet: shows every image of the resource manifest on one sheet, with its
// identifier, and composes mock-ups of the game's screens from the same art.

#include "ArtSet.h"
#include "ContactSheetLayout.h"
#include "MockupScreens.h"

#include "app/ScreenSize.h"
#include "app/ZorvaAppBase.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"
#include "graphics/SysFont.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

using Zorva::Color;
using Zorva::Graphics;
using Zorva::MemoryImage;

namespace {

constexpr const char* kUsage =
    "Usage: contact-sheet sheet DATA_FOLDER OUT.png [EXTRA_IMAGE...]\n"
    "       contact-sheet mockups DATA_FOLDER OUT_PREFIX [BACKGROUND]\n"
    "\n"
    "sheet: every image of DATA_FOLDER/properties/resources.xml with its identifier, large\n"
    "pictures at half size, on a checkerboard that shows transparency; EXTRA_IMAGE files\n"
    "(paths in the data folder) are added at the end.\n"
    "mockups: OUT_PREFIX-game2.png, -game1.png, -menu.png, -map1.png, -map2.png,\n"
    "-loading.png, -dialogs.png and -complete.png, the screens composed at the places the game "
    "draws them.\n";

bool SaveImage(MemoryImage& image, const std::string& file)
{
    auto out = Zorva::ImageLib::Image::Create(image.GetWidth(), image.GetHeight());
    if (!out) {
        return false;
    }
    const uint32_t* pixels = image.GetPixels();
    std::copy(pixels, pixels + static_cast<std::size_t>(image.GetWidth()) * image.GetHeight(),
              out->bits.get());
    return Zorva::ImageLib::SavePNG(file, *out);
}

void Checkerboard(Graphics& g, int x, int y, int w, int h)
{
    Graphics board(g);
    board.NarrowClip(x, y, w, h);
    for (int ty = y; ty < y + h; ty += 8) {
        for (int tx = x; tx < x + w; tx += 8) {
            const bool dark = ((tx - x) / 8 + (ty - y) / 8) % 2 == 0;
            board.SetColor(dark ? Color(96, 100, 108) : Color(128, 132, 140));
            board.FillRect(tx, ty, 8, 8);
        }
    }
}

std::string Caption(const std::string& id, const MemoryImage& image, int shrink)
{
    std::string caption =
        id + " " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight());
    if (image.GetCellCount() > 1) {
        caption += " (" + std::to_string(image.GetCellCount()) + " cells)";
    }
    if (shrink > 1) {
        caption += " 50%";
    }
    return caption;
}

int Sheet(Zorva::ZorvaAppBase& app, int argc, char** argv)
{
    ArtSet art(app);
    art.Load("properties/resources.xml");
    for (const std::string& problem : art.Problems()) {
        std::fprintf(stderr, "contact-sheet: %s\n", problem.c_str());
    }
    std::vector<std::pair<std::string, std::shared_ptr<MemoryImage>>> shown;
    for (const ArtSet::Picture& picture : art.Pictures()) {
        shown.emplace_back(picture.id, picture.image);
    }
    for (int i = 4; i < argc; ++i) {
        auto decoded = Zorva::ImageLib::LoadImageFile(argv[i], false);
        if (!decoded) {
            std::fprintf(stderr, "contact-sheet: cannot read %s\n", argv[i]);
            continue;
        }
        auto image = std::make_shared<MemoryImage>();
        image->SetPixels(decoded->bits.get(), decoded->width, decoded->height, true);
        shown.emplace_back(std::filesystem::path(argv[i]).filename().string(), image);
    }
    Zorva::SysFont fallback("SansSerif", 9);
    Zorva::Font* font = art.GameFont() != nullptr ? art.GameFont() : &fallback;

    const SheetStyle style;
    std::vector<SheetEntry> entries;
    for (const auto& [id, image] : shown) {
        const int shrink = image->GetWidth() > style.largeWidth ? 2 : 1;
        entries.push_back({Caption(id, *image, shrink), image->GetWidth(), image->GetHeight()});
    }
    const SheetLayout layout =
        LayOutSheet(entries, style, [&](const std::string& text) { return font->TextWidth(text); });

    MemoryImage sheet;
    sheet.Create(layout.width, layout.height);
    Graphics g(&sheet);
    g.SetColor(Color(40, 44, 52));
    g.FillRect(0, 0, layout.width, layout.height);
    for (std::size_t i = 0; i < shown.size(); ++i) {
        const SheetTile& tile = layout.tiles[i];
        MemoryImage* image = shown[i].second.get();
        Checkerboard(g, tile.x, tile.y, tile.drawWidth, tile.drawHeight);
        if (tile.shrink == 1 && tile.drawWidth == image->GetWidth()) {
            g.DrawImage(image, tile.x, tile.y);
        } else {
            g.DrawImage(image, tile.x, tile.y, tile.drawWidth, tile.drawHeight);
        }
        g.SetFont(font);
        g.SetColor(Color(255, 255, 255));
        g.DrawText(entries[i].caption, tile.captionX, tile.captionY);
    }
    if (!SaveImage(sheet, argv[3])) {
        std::fprintf(stderr, "contact-sheet: cannot write %s\n", argv[3]);
        return 1;
    }
    std::printf("contact-sheet: %zu images on a %dx%d sheet\n", shown.size(), layout.width,
                layout.height);
    return 0;
}

int Mockups(Zorva::ZorvaAppBase& app, int argc, char** argv)
{
    ArtSet art(app);
    art.Load("properties/resources.xml");
    for (const std::string& problem : art.Problems()) {
        std::fprintf(stderr, "contact-sheet: %s\n", problem.c_str());
    }
    Zorva::SysFont systemFont("SansSerif", 10);
    const std::string background = argc > 4 ? argv[4] : "images/bg_temple.png";
    const MockupScreens screens(art, &systemFont, background);
    const std::string prefix = argv[3];
    struct Shot
    {
        const char* suffix;
        void (*paint)(const MockupScreens&, MemoryImage&);
    };
    const Shot shots[] = {
        {"-game2.png", [](const MockupScreens& s, MemoryImage& m) { s.GameScreen(m, true); }},
        {"-game1.png", [](const MockupScreens& s, MemoryImage& m) { s.GameScreen(m, false); }},
        {"-menu.png", [](const MockupScreens& s, MemoryImage& m) { s.MainMenu(m); }},
        {"-map1.png", [](const MockupScreens& s, MemoryImage& m) { s.LevelMap(m, false); }},
        {"-map2.png", [](const MockupScreens& s, MemoryImage& m) { s.LevelMap(m, true); }},
        {"-loading.png", [](const MockupScreens& s, MemoryImage& m) { s.LoadingScreen(m); }},
        {"-dialogs.png", [](const MockupScreens& s, MemoryImage& m) { s.Dialogs(m); }},
        {"-complete.png", [](const MockupScreens& s, MemoryImage& m) { s.CompleteWindow(m); }},
    };
    for (const Shot& shot : shots) {
        MemoryImage screen;
        screen.Create(Zorva::kDefaultScreenWidth, Zorva::kDefaultScreenHeight);
        shot.paint(screens, screen);
        const std::string file = prefix + shot.suffix;
        if (!SaveImage(screen, file)) {
            std::fprintf(stderr, "contact-sheet: cannot write %s\n", file.c_str());
            return 1;
        }
    }
    std::printf("contact-sheet: %zu mock-ups written\n", std::size(shots));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool sheet = argc >= 4 && std::strcmp(argv[1], "sheet") == 0;
    const bool mockups = argc >= 4 && argc <= 5 && std::strcmp(argv[1], "mockups") == 0;
    if (!sheet && !mockups) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    // Output paths are taken as given, so resolve them before entering the data folder.
    std::string output = std::filesystem::absolute(argv[3]).string();
    argv[3] = output.data();
    std::error_code error;
    std::filesystem::current_path(argv[2], error);
    if (error) {
        std::fprintf(stderr, "contact-sheet: cannot enter %s\n", argv[2]);
        return 1;
    }
    Zorva::ZorvaAppBase app;
    app.noSound = true;
    return sheet ? Sheet(app, argc, argv) : Mockups(app, argc, argv);
}
