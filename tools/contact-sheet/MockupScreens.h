#pragma once

#include <string>

namespace Zorva {
class Font;
class Graphics;
class MemoryImage;
} // namespace Zorva
class ArtSet;

/// Composes the game's screens from the art at the places the game draws it, so that the
/// look can be judged before the screens exist: the game screen in both modes with a few
/// layers of stones, the main menu, the level map, the loading screen and some dialogs.
class MockupScreens
{
public:
    /// `systemFont` stands in for the default system font of the panel buttons and the top
    /// bar; `backgroundFile` is a level background (a path in the data folder).
    MockupScreens(const ArtSet& art, Zorva::Font* systemFont, std::string backgroundFile);

    void GameScreen(Zorva::MemoryImage& screen, bool twoSide) const;
    void MainMenu(Zorva::MemoryImage& screen) const;
    void LevelMap(Zorva::MemoryImage& screen, bool twoSide) const;
    void LoadingScreen(Zorva::MemoryImage& screen) const;
    void Dialogs(Zorva::MemoryImage& screen) const;
    /// The all-levels-complete window over the level map.
    void CompleteWindow(Zorva::MemoryImage& screen) const;

private:
    void Draw(Zorva::Graphics& g, const char* id, int x, int y) const;
    void DrawCell(Zorva::Graphics& g, const char* id, int x, int y, int cell) const;
    void Stone(Zorva::Graphics& g, int cx, int cy, int layer, int left, int right,
               const char* face) const;
    void Back(Zorva::Graphics& g, int cx, int cy, int layer) const;
    void Button(Zorva::Graphics& g, const char* id, int x, int y, int width, int height,
                const std::string& label, bool white, bool nineSlice, Zorva::Font* font) const;
    void Text(Zorva::Graphics& g, Zorva::Font* font, const std::string& words, int x, int y, int r,
              int gr, int b, bool centred = false) const;

    const ArtSet& art;
    Zorva::Font* systemFont;
    std::string backgroundFile;
};
