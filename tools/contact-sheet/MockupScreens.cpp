#include "MockupScreens.h"

#include "ArtSet.h"

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/ImageLib.h"
#include "graphics/MemoryImage.h"

#include <cmath>
#include <memory>
#include <utility>

using Zorva::Color;
using Zorva::Font;
using Zorva::Graphics;
using Zorva::MemoryImage;
using Zorva::Rect;

namespace {

std::unique_ptr<MemoryImage> LoadPicture(const std::string& file)
{
    auto decoded = Zorva::ImageLib::LoadImageFile(file, false);
    if (!decoded) {
        return nullptr;
    }
    auto image = std::make_unique<MemoryImage>();
    image->SetPixels(decoded->bits.get(), decoded->width, decoded->height, true);
    return image;
}

/// A stone of a field: its centre, layer and pictures (-1 for a face-down stone).
struct FieldStone
{
    int x;
    int y;
    int layer;
    int left;
    int right;
};

} // namespace

MockupScreens::MockupScreens(const ArtSet& newArt, Font* newSystemFont,
                             std::string newBackgroundFile)
    : art(newArt), systemFont(newSystemFont), backgroundFile(std::move(newBackgroundFile))
{}

void MockupScreens::Draw(Graphics& g, const char* id, int x, int y) const
{
    if (MemoryImage* image = art.Find(id)) {
        g.DrawImage(image, x, y);
    }
}

void MockupScreens::DrawCell(Graphics& g, const char* id, int x, int y, int cell) const
{
    if (MemoryImage* image = art.Find(id)) {
        g.DrawImageCell(image, x, y, cell);
    }
}

void MockupScreens::Text(Graphics& g, Font* font, const std::string& words, int x, int y, int r,
                         int gr, int b, bool centred) const
{
    if (font == nullptr) {
        return;
    }
    g.SetFont(font);
    g.SetColor(Color(r, gr, b));
    g.DrawText(words, centred ? x - font->TextWidth(words) / 2 : x, y);
}

void MockupScreens::Stone(Graphics& g, int cx, int cy, int layer, int left, int right,
                          const char* face) const
{
    const int drawLeft = cx - 40 + 7 * layer;
    const int drawTop = cy - 25 - 7 * layer;
    Draw(g, face, drawLeft, drawTop);
    for (const auto& [picture, dx] : {std::pair{left, 6}, std::pair{right, 46}}) {
        if (picture < 0) {
            continue;
        }
        const std::string id = "IMAGE_TYP" + std::to_string(picture);
        if (MemoryImage* image = art.Find(id.c_str())) {
            g.DrawImage(image, drawLeft + dx + (40 - image->GetWidth()) / 2,
                        drawTop + (50 - image->GetHeight()) / 2);
        }
    }
}

void MockupScreens::Back(Graphics& g, int cx, int cy, int layer) const
{
    Draw(g, "IMAGE_FISH_BACK", cx - 40 + 7 * layer, cy - 25 - 7 * layer);
}

void MockupScreens::Button(Graphics& g, const char* id, int x, int y, int width, int height,
                           const std::string& label, bool white, bool nineSlice, Font* font) const
{
    MemoryImage* image = art.Find(id);
    if (image == nullptr) {
        return;
    }
    Graphics button(g);
    button.Translate(static_cast<float>(x), static_cast<float>(y));
    button.SetClip(0, 0, width, height);
    if (nineSlice) {
        button.DrawImageNineSlice(image, Rect(0, 0, width, height));
    } else {
        button.DrawImage(image, 0, 0);
    }
    if (font == nullptr || label.empty()) {
        return;
    }
    const int ascent = font->GetAscent();
    const int labelY = (ascent + height - ascent / 6 - font->GetDescent() - 1) / 2;
    Text(button, font, label, (width - font->TextWidth(label)) / 2, labelY, white ? 255 : 0,
         white ? 255 : 0, white ? 255 : 0);
}

void MockupScreens::GameScreen(MemoryImage& screen, bool twoSide) const
{
    Graphics g(&screen);
    Font* font = art.GameFont();
    if (auto background = LoadPicture(backgroundFile)) {
        g.DrawImage(background.get(), 0, 0);
    }
    // A small pyramid of three layers in the middle of the field, as a level lays it out.
    std::vector<FieldStone> field;
    int picture = 0;
    for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 6; ++col) {
            field.push_back({200 + 80 * col, 90 + 50 * row, 0, -1, -1});
        }
    }
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 4; ++col) {
            field.push_back({280 + 80 * col, 140 + 50 * row, 1, -1, -1});
        }
    }
    for (int row = 0; row < 3; ++row) {
        for (int col = 0; col < 2; ++col) {
            field.push_back({360 + 80 * col, 190 + 50 * row, 2, -1, -1});
        }
    }
    // Stones that nothing covers show their pictures.
    for (FieldStone& stone : field) {
        const bool covered = [&] {
            for (const FieldStone& other : field) {
                if (other.layer > stone.layer && std::abs(other.x - stone.x) < 80 &&
                    std::abs(other.y - stone.y) < 50 + 1) {
                    return true;
                }
            }
            return false;
        }();
        if (!covered) {
            stone.left = picture % 26;
            stone.right = (picture * 7 + 3) % 26;
            ++picture;
        }
    }
    for (const FieldStone& stone : field) {
        Draw(g, "IMAGE_FISH_BORDER", stone.x + 7 * stone.layer - 44,
             stone.y - 7 * stone.layer - 29);
    }
    Draw(g, "IMAGE_PANEL", 0, 520);
    Draw(g, "IMAGE_PANEL_UP", 0, 0);
    int index = 0;
    for (const FieldStone& stone : field) {
        if (stone.left < 0) {
            Back(g, stone.x, stone.y, stone.layer);
        } else {
            const char* face = index == 3 ? "IMAGE_FISH_OVER" : "IMAGE_FISH_L";
            if (index == 5) {
                Draw(g, "IMAGE_FISH_JOKER", stone.x - 40 + 7 * stone.layer,
                     stone.y - 25 - 7 * stone.layer);
            } else {
                Stone(g, stone.x, stone.y, stone.layer, stone.left, stone.right, face);
            }
            const int drawLeft = stone.x - 40 + 7 * stone.layer;
            const int drawTop = stone.y - 25 - 7 * stone.layer;
            if (index == 1) {
                DrawCell(g, "IMAGE_KEY_ANIM", drawLeft + 6, drawTop + 9, 2);
            }
            if (index == 8) {
                DrawCell(g, "IMAGE_SPHERE_ANIM", drawLeft + 18, drawTop - 35, 1);
            }
            if (index == 2) {
                DrawCell(g, "IM_BONUS_STAR", drawLeft + 20, drawTop - 10 + 20, 3);
                DrawCell(g, "IM_BONUS_STAR", drawLeft + 44, drawTop - 30 + 20, 5);
            }
            ++index;
        }
    }
    // Two locked stones on the outer ring.
    Back(g, 200, 460, 0);
    Draw(g, "IMAGE_FISH_LOCK0", 200 - 40 - 3, 460 - 25 - 6);
    Back(g, 600, 460, 0);
    Draw(g, "IMAGE_FISH_LOCK2", 600 - 40 + 15, 460 - 25 - 3);
    Back(g, 680, 140, 0);
    Draw(g, "IMAGE_FISH_LOCK1", 680 - 40 + 9, 140 - 25 - 38);
    Text(g, systemFont, "Scores: 1240", 10, 17, 0, 0, 0);
    Text(g, systemFont, "LEVEL 7", 400, 17, 0, 0, 0, true);
    Text(g, systemFont, "Moves: 3", 720, 17, 0, 0, 0);

    MemoryImage* line = art.Find("IMAGE_PLAYLINE");
    if (line != nullptr) {
        if (twoSide) {
            g.DrawImage(line, 400 - line->GetWidth() / 2, 540);
        } else {
            const int half = line->GetWidth() / 2;
            g.DrawImage(line, 400, 540, Rect(half, 0, line->GetWidth() - half, line->GetHeight()));
        }
    }
    Draw(g, "IMAGE_PANEL_LINE_LAG", 348, 516);
    if (twoSide) {
        Stone(g, 440, 565, 0, 12, 20, "IMAGE_FISH_L");
        Stone(g, 358, 565, 0, 4, 12, "IMAGE_FISH_L");
        Draw(g, "IMAGE_PANEL_LINE", 348, 516);
        Draw(g, "IMAGE_CROP_DECK", -2, 538);
    } else {
        Stone(g, 440, 565, 0, 9, 17, "IMAGE_FISH_L");
        Stone(g, 400, 565, 0, 3, 9, "IMAGE_FISH_L");
        Draw(g, "IMAGE_PANEL_LINE_OSS", 305, 519);
        Draw(g, "IMAGE_DECK_PLACE", -2, 538);
    }
    for (int i = 0; i < 3; ++i) {
        Draw(g, "IMAGE_FISH_BACK", 5 + 7 * i, 540 - 7 * i);
    }
    Text(g, font, twoSide ? "2" : "9", 106, 590, 255, 255, 255, true);
    if (twoSide) {
        for (int pile = 1; pile >= 0; --pile) {
            Draw(g, "IMAGE_ROCK_PLACE", 0, 460 - 60 * pile);
        }
        Stone(g, 45, 484, 0, 22, 6, "IMAGE_FISH_L");
    }
    // Combo meter at 70 %.
    Draw(g, "IMAGE_COMBO_METER", 760, 270);
    if (MemoryImage* fill = art.Find("IMAGE_COMBO_METER_ON")) {
        const int from = static_cast<int>((1.0 - 0.7) * fill->GetHeight());
        g.DrawImage(fill, 761, 271 + from,
                    Rect(0, from, fill->GetWidth(), fill->GetHeight() - from));
    }
    Draw(g, "IMAGE_COMBO_METER_LABELS", 760, 270);
    {
        Graphics faded(g);
        faded.SetColor(Color(255, 255, 255, 200));
        faded.SetModulateImages(true);
        if (MemoryImage* label = art.Find("IMAGE_x3")) {
            faded.DrawImage(label, 735, 319);
        }
        if (MemoryImage* label = art.Find("IM_BONUS_200")) {
            faded.DrawImage(label, 420 - label->GetWidth() / 2, 470);
        }
    }
    Button(g, "IMAGE_BUTTON_MENU", 693, 540, 96, 56, "", false, false, nullptr);
    Button(g, "IMAGE_BUTTON_DISABLE", 578, 538, 104, 28, "Undo", false, false, systemFont);
    Button(g, "IMAGE_BUTTON_NORMAL", 578, 568, 104, 28, "Hint", false, false, systemFont);
    Button(g, "IMAGE_BUTTON_OVER", 128, 568, 104, 28, "Reshuffle 1", true, false, systemFont);
    if (!twoSide) {
        // The hint window pointing at the deck, as after the first dead end.
        if (MemoryImage* hint = art.Find("IMAGE_W_HINT")) {
            const int x = 110;
            const int y = 540 - hint->GetHeight() - 30;
            Graphics window(g);
            window.Translate(static_cast<float>(x), static_cast<float>(y));
            window.DrawImage(hint, 29, 0);
            Draw(window, "IMAGE_ARROW", 0, hint->GetHeight() - 20);
            if (font != nullptr) {
                window.SetFont(font);
                window.SetColor(Color(255, 255, 255));
                window.DrawWrappedText(Rect(59, 30, hint->GetWidth() - 60, 100),
                                       "Use stone deck if there are no more moves.");
            }
            Button(window, "IMAGE_BUTTON_NORMAL", 120, 110, 104, 26, "Close", false, false, font);
        }
    }
}

void MockupScreens::MainMenu(MemoryImage& screen) const
{
    Graphics g(&screen);
    Font* font = art.GameFont();
    Draw(g, "IMAGE_TITLE", 0, 0);
    if (MemoryImage* logo = art.Find("IMAGE_LOGO_SMALL")) {
        g.DrawImage(logo, 790 - logo->GetWidth(), 460);
    }
    Text(g, font, "Welcome, Dora", 400, 125, 0, 0, 0, true);
    Button(g, "IM_B_CHANGE_PLAYER", 300, 130, 200, 32, "", false, false, nullptr);
    Button(g, "IMAGE_BIG_BUTTON", 313, 314, 174, 46, "One Side Solitaire", false, false, font);
    Button(g, "IMAGE_BIG_BUTTON_OVER", 313, 370, 174, 46, "Two Side Solitaire", true, false, font);
    Button(g, "IM_B_DIALOG", 338, 424, 140, 36, "Options", false, false, font);
    Button(g, "IM_B_DIALOG_OVER", 338, 464, 140, 36, "Highscores", true, false, font);
    Button(g, "IM_B_DIALOG", 338, 504, 140, 36, "Exit", false, false, font);
}

void MockupScreens::LevelMap(MemoryImage& screen, bool twoSide) const
{
    static const int oneSide[12][2] = {{504, 88},  {469, 91},  {435, 99},  {398, 107},
                                       {366, 105}, {337, 123}, {304, 141}, {332, 178},
                                       {303, 204}, {275, 236}, {335, 235}, {387, 251}};
    static const int twoSidePoints[10][2] = {{202, 214}, {226, 243}, {271, 315}, {317, 365},
                                             {405, 369}, {510, 300}, {463, 251}, {411, 203},
                                             {463, 159}, {519, 113}};
    Graphics g(&screen);
    Font* font = art.GameFont();
    Draw(g, "IMAGE_W_MAP", 0, 0);
    // Page 1 (levels 6-10) with level 8 reached and selected, level 9 unrolling.
    const int reached = 8;
    for (int k = 0; k < 5; ++k) {
        const int level = 6 + k;
        const int c = 150 * k;
        if (level <= reached) {
            Draw(g, level == reached ? "IMAGE_SCROLL_OVER" : "IMAGE_SCROLL", 40 + c - 10, 432);
            if (level == reached) {
                Graphics glow(g);
                glow.SetDrawMode(1);
                glow.SetColor(Color(255, 255, 255, 180));
                glow.SetModulateImages(true);
                if (MemoryImage* select = art.Find("IMAGE_SCROLL_SELECT")) {
                    glow.DrawImage(select, 40 + c - 10, 432);
                }
            }
            // A stand-in thumbnail: the background, small.
            if (auto background = LoadPicture(backgroundFile)) {
                g.DrawImage(background.get(), 40 + c, 440, 120, 90);
            }
            Text(g, font, "Level " + std::to_string(level), 40 + c + 60, 535, 0, 0, 0, true);
        } else if (MemoryImage* scroll = art.Find("IMAGE_SCROLL")) {
            g.DrawImage(scroll, 40 + c + 43, 432, Rect(0, 0, 17, scroll->GetHeight()));
            g.DrawImage(scroll, 40 + c + 60, 432, Rect(123, 0, 20, scroll->GetHeight()));
        }
    }
    Text(g, font, twoSide ? "Two-Side Solitaire Map" : "One-Side Solitaire Map", 400, 50, 255, 255,
         255, true);
    const int count = twoSide ? 10 : 12;
    for (int j = 0; j < count; ++j) {
        const int px = twoSide ? twoSidePoints[j][0] : oneSide[j][0];
        const int py = twoSide ? twoSidePoints[j][1] : oneSide[j][1];
        const char* id = j > 1    ? "IMAGE_MAP_POINT"
                         : j == 1 ? "IMAGE_MAP_POINT_SELECT"
                                  : "IMAGE_MAP_POINT_COMPLETE";
        if (MemoryImage* point = art.Find(id)) {
            g.DrawImage(point, px - point->GetWidth() / 2, py - point->GetHeight() / 2);
        }
        if (font != nullptr) {
            const std::string number = std::to_string(j + 1);
            const int tx = px - font->TextWidth(number) / 2;
            for (const auto& [dx, dy] : {std::pair{1, 23}, {3, 23}, {2, 24}, {2, 22}}) {
                Text(g, font, number, tx + dx, py + dy, 0, 0, 0);
            }
            Text(g, font, number, tx + 2, py + 23, 0, 255, 0);
        }
    }
    const char* vehicle = twoSide ? "IMAGE_SHIP" : "IMAGE_CHARIOT";
    if (MemoryImage* image = art.Find(vehicle)) {
        const int j = 1;
        const int px = twoSide ? twoSidePoints[j][0] : oneSide[j][0];
        const int py = twoSide ? twoSidePoints[j][1] : oneSide[j][1];
        g.DrawImage(image, px - image->GetWidth() / 2, py + (twoSide ? -50 : -35));
    }
    Button(g, "IM_B_DIALOG_OVER", 430, 548, 140, 36, "Play", true, false, font);
    Button(g, "IM_B_DIALOG", 230, 548, 140, 36, "Main Menu", false, false, font);
}

void MockupScreens::LoadingScreen(MemoryImage& screen) const
{
    Graphics g(&screen);
    Font* font = art.GameFont();
    g.SetColor(Color(0, 0, 0));
    g.FillRect(0, 0, screen.GetWidth(), screen.GetHeight());
    if (MemoryImage* logo = art.Find("IMAGE_LOADER_QUARROW")) {
        g.DrawImage(logo, 400 - logo->GetWidth() / 2, 330);
    }
    if (MemoryImage* bar = art.Find("IMAGE_LOADER_BAR")) {
        const int filled = bar->GetWidth() * 6 / 10;
        g.DrawImage(bar, 400 - bar->GetWidth() / 2, 450, Rect(0, 0, filled, bar->GetHeight()));
    }
    Text(g, font, "Loading...", 400, 500, 255, 255, 255, true);
    if (auto emblem = LoadPicture("images/loading_emblem.png")) {
        g.DrawImage(emblem.get(), 400 - emblem->GetWidth() / 2, 200 - emblem->GetHeight() / 2);
    }
    if (auto frame = LoadPicture("images/loader_frame.png")) {
        g.DrawImage(frame.get(), 400 - frame->GetWidth() / 2, 460 - frame->GetHeight() / 2);
    }
}

void MockupScreens::Dialogs(MemoryImage& screen) const
{
    GameScreen(screen, true);
    Graphics g(&screen);
    Font* font = art.GameFont();
    g.SetColor(Color(0, 0, 0, 90));
    g.FillRect(0, 0, screen.GetWidth(), screen.GetHeight());
    // The in-game menu at (275, 160).
    {
        Graphics menu(g);
        menu.Translate(20, 160);
        Draw(menu, "IMAGE_W_MENU", 0, 0);
        const char* labels[] = {"Main Menu", "How To Play", "Options", "Restart", "Continue"};
        for (int i = 0; i < 5; ++i) {
            Button(menu, i == 2 ? "IM_B_DIALOG_OVER" : "IM_B_DIALOG", 55, 40 + 40 * i, 140, 36,
                   labels[i], i == 2, false, font);
        }
    }
    // The options dialog at (130, 90), 540 x 415, insets 80/50 (here moved right).
    {
        Graphics options(g);
        options.Translate(250, 10);
        if (MemoryImage* box = art.Find("IMAGE_DIALOG_BOX")) {
            options.DrawImageNineSlice(box, Rect(80, 50, 380, 315));
        }
        Text(options, font, "Options", 270, 24 + 50 + 14, 0, 0, 0, true);
        Text(options, font, "Music volume:", 80, 120, 255, 255, 255);
        Text(options, font, "Sound volume:", 304, 120, 255, 255, 255);
        for (const int sx : {80, 304}) {
            if (MemoryImage* track = art.Find("IMAGE_SLIDER_TRACK")) {
                const int cell = track->GetWidth() / 3;
                options.DrawImage(track, sx, 136,
                                  Rect(0, 0, track->GetWidth(), track->GetHeight()));
                (void)cell;
            }
            Draw(options, "IMAGE_SLIDER_THUMB", sx + (sx == 80 ? 90 : 40), 130);
        }
        if (MemoryImage* box = art.Find("IMAGE_CHECKBOX")) {
            const int half = box->GetWidth() / 2;
            options.DrawImage(box, 80, 186, Rect(half, 0, half, box->GetHeight()));
            options.DrawImage(box, 304, 186, Rect(0, 0, half, box->GetHeight()));
            options.DrawImage(box, 80, 246, Rect(half, 0, half, box->GetHeight()));
        }
        Text(options, font, "3D Mode:", 80, 180, 255, 255, 255);
        Text(options, font, "Full Screen:", 304, 180, 255, 255, 255);
        Text(options, font, "Show Preview Window:", 80, 240, 255, 255, 255);
        Button(options, "IMAGE_BUTTON_NORMAL", 104, 311, 332, 30, "CLOSE", true, true, font);
    }
    // A message dialog (W_SMALL) low on the screen.
    {
        Graphics message(g);
        message.Translate(420, 380);
        if (MemoryImage* small = art.Find("IMAGE_W_SMALL")) {
            message.DrawImageNineSlice(small, Rect(0, 0, small->GetWidth(), small->GetHeight()));
        }
        Text(message, font, "Game Over!", 182, 24 + 14, 0, 0, 0, true);
        Text(message, font, "You have not more moves!", 182, 70, 0, 0, 0, true);
        Button(message, "IM_B_DIALOG", 195, 105, 140, 36, "Replay", false, false, font);
        Button(message, "IM_B_DIALOG_DISABLE", 30, 105, 140, 36, "Use Reshuffle", false, false,
               font);
    }
}

void MockupScreens::CompleteWindow(MemoryImage& screen) const
{
    LevelMap(screen, false);
    Graphics g(&screen);
    g.SetColor(Color(0, 0, 0, 90));
    g.FillRect(0, 0, screen.GetWidth(), screen.GetHeight());
    MemoryImage* window = art.Find("IMAGE_COMPLETE_WND");
    if (window == nullptr) {
        return;
    }
    // Sized to its image and centred, with insets 80 on every side: the window is drawn in
    // nine pieces inside the insets, the footer button at the bottom within them.
    Graphics dialog(g);
    dialog.Translate(static_cast<float>(400 - window->GetWidth() / 2),
                     static_cast<float>(300 - window->GetHeight() / 2));
    dialog.DrawImageNineSlice(window,
                              Rect(80, 80, window->GetWidth() - 160, window->GetHeight() - 160));
    const int buttonHeight = art.Find("IMAGE_BUTTON_NORMAL") != nullptr
                                 ? art.Find("IMAGE_BUTTON_NORMAL")->GetHeight()
                                 : 24;
    Button(dialog, "IMAGE_BUTTON_NORMAL", 104, window->GetHeight() - 104 - buttonHeight,
           window->GetWidth() - 208, buttonHeight, "Ok", true, true, art.GameFont());
}
