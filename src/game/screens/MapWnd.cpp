#include "game/screens/MapWnd.h"

#include "app/ZorvaAppBase.h"
#include "game/LevelPreviewStore.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"
#include "game/screens/GameDialogButton.h"
#include "game/screens/MapHost.h"
#include "graphics/DrawMode.h"
#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/Image.h"
#include "graphics/Rect.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kLevelsPerPage = 5;
constexpr int kOneSideLevels = 60;
constexpr int kTwoSideLevels = 50;
constexpr int kAnimationDelay = 100;
constexpr int kAnimationEnd = 100;
constexpr int kPulseLow = 100;
constexpr int kPulseHigh = 250;
constexpr int kPulseStep = 2;
constexpr int kScrollSlotWidth = 150;
/// The map area takes the pointer for its points; below and beside it lies the scroll strip.
constexpr int kMapLeft = 101;
constexpr int kMapRight = 699;
constexpr int kMapBottom = 400;
constexpr int kPointRadius = 20;
/// The rolls at either end of a scroll: columns of IMAGE_SCROLL.
constexpr int kLeftRollWidth = 17;
constexpr int kRightRollColumn = 123;
constexpr int kRightRollWidth = 20;

bool InMapArea(int px, int py)
{
    return px >= kMapLeft && px <= kMapRight && py < kMapBottom;
}

int ImageHeight(const Zorva::Image* image)
{
    return image != nullptr ? image->GetHeight() : 0;
}

int ImageWidth(const Zorva::Image* image)
{
    return image != nullptr ? image->GetWidth() : 0;
}

int TextWidth(const std::string& text)
{
    return FONT_DEFAULT != nullptr ? FONT_DEFAULT->TextWidth(text) : 0;
}

} // namespace

MapWnd::MapWnd(Zorva::ZorvaAppBase& newApp, MapHost& newHost) : app(newApp), host(newHost)
{
    Place(0, 0, 800, 600);
    playButton = std::make_unique<GameDialogButton>(kPlayButtonId, "Play", this);
    playButton->MoveTo(430, 548);
    AddWidget(playButton.get());
    mainMenuButton = std::make_unique<GameDialogButton>(kMainMenuButtonId, "Main Menu", this);
    mainMenuButton->MoveTo(230, 548);
    AddWidget(mainMenuButton.get());
}

MapWnd::~MapWnd()
{
    RemoveAllWidgets(false, false);
}

int MapWnd::ReachedLevel() const
{
    const Player* player = host.CurrentPlayer();
    if (player == nullptr) {
        return 1;
    }
    return host.Mode() == GameMode::OneSide ? player->oneSideLevel : player->twoSideLevel;
}

int MapWnd::LastLevel() const
{
    return host.Mode() == GameMode::OneSide ? kOneSideLevels : kTwoSideLevels;
}

void MapWnd::OpenPage(int newPage)
{
    page = newPage;
    const int first = newPage * kLevelsPerPage + 1;
    host.Previews().PrepareThumbnails(host.Mode(), first, first + kLevelsPerPage - 1);
}

void MapWnd::Show()
{
    unroll = 0;
    unrollDelay = kAnimationDelay;
    unrollSoundDone = false;
    travelSoundDone = true;
    host.Previews().SetMapPoints(host.Mode());

    const int reached = ReachedLevel();
    if (reached > LastLevel()) {
        host.GameCompleted();
        return;
    }
    // A damaged record could hold a level below the first; the map starts at the first.
    const int level = std::max(reached, 1);
    OpenPage((level - 1) / kLevelsPerPage);
    selectedLevel = level;
    hoverPoint = -1;
    hoverLevel = -1;

    // The first level of a new page: the vehicle travels there before its scroll unrolls.
    if ((level - 1) % kLevelsPerPage == 0 && page > 0) {
        travel = 0;
        travelDelay = kAnimationDelay;
        unrollDelay = 2 * kAnimationDelay;
        travelSoundDone = false;
    } else {
        travel = kAnimationEnd;
        travelDelay = 0;
    }
    Invalidate();
}

std::vector<std::string> MapWnd::StateLines() const
{
    std::vector<std::string> lines = {"page " + std::to_string(page),
                                      "selected " + std::to_string(selectedLevel)};
    const int reached = ReachedLevel();
    const auto& points = host.Previews().mapPoints;
    const int pointWidth = ImageWidth(IMAGE_MAP_POINT_COMPLETE);
    const int pointHeight = ImageHeight(IMAGE_MAP_POINT_COMPLETE);
    const int reachedPage = (reached - 1) / kLevelsPerPage;
    for (int j = 0; j <= reachedPage && j < static_cast<int>(points.size()); ++j) {
        const auto& [pointX, pointY] = points[static_cast<std::size_t>(j)];
        lines.push_back("point " + std::to_string(kLevelsPerPage * j + 1) + " " +
                        std::to_string(pointX - pointWidth / 2) + " " +
                        std::to_string(pointY - pointHeight / 2) + " " +
                        std::to_string(pointWidth) + " " + std::to_string(pointHeight));
    }
    const LevelPreviewStore& previews = host.Previews();
    for (int k = 0; k < kLevelsPerPage && page >= 0; ++k) {
        const int level = kLevelsPerPage * page + 1 + k;
        if (level > reached) {
            break;
        }
        lines.push_back("scroll " + std::to_string(level) + " " +
                        std::to_string(previews.stripX + kScrollSlotWidth * k) + " " +
                        std::to_string(previews.stripY) + " " + std::to_string(kScrollSlotWidth) +
                        " " + std::to_string(ImageHeight(IMAGE_SCROLL)));
    }
    return lines;
}

void MapWnd::Tick()
{
    Widget::Tick();
    if (pulseUp) {
        pulse += kPulseStep;
        if (pulse >= kPulseHigh) {
            pulseUp = false;
        }
    } else {
        pulse -= kPulseStep;
        if (pulse <= kPulseLow) {
            pulseUp = true;
        }
    }

    if (unrollDelay > 0) {
        --unrollDelay;
    } else {
        if (!unrollSoundDone) {
            app.PlaySoundOnce(SOUND_SCROLL);
            unrollSoundDone = true;
        }
        if (unroll < kAnimationEnd) {
            ++unroll;
        }
    }

    if (travelDelay > 0) {
        --travelDelay;
    } else {
        if (!travelSoundDone) {
            app.PlaySoundOnce(SOUND_STAGE);
            travelSoundDone = true;
        }
        if (travel < kAnimationEnd) {
            ++travel;
        }
    }
    Invalidate();
}

void MapWnd::Paint(Zorva::Graphics& graphics)
{
    graphics.DrawImage(IMAGE_W_MAP, 0, 0);
    const int reached = ReachedLevel();
    graphics.SaveState();
    graphics.SetFont(FONT_DEFAULT);
    DrawScrollStrip(graphics, reached);
    graphics.SetColor(Zorva::Color::kWhite);
    const bool oneSide = host.Mode() == GameMode::OneSide;
    graphics.DrawTextLine(oneSide ? "One-Side Solitaire Map" : "Two-Side Solitaire Map", 400, 50, 0,
                          0);
    DrawMapPoints(graphics, reached);
    DrawVehicle(graphics);
    graphics.RestoreState();
}

void MapWnd::DrawScrollStrip(Zorva::Graphics& graphics, int reached)
{
    const int first = kLevelsPerPage * ((selectedLevel - 1) / kLevelsPerPage) + 1;
    for (int k = 0; k < kLevelsPerPage; ++k) {
        DrawScroll(graphics, first + k, host.Previews().stripX + kScrollSlotWidth * k, reached);
    }
}

void MapWnd::DrawScroll(Zorva::Graphics& graphics, int level, int slotX, int reached)
{
    const LevelPreviewStore& previews = host.Previews();
    const int stripY = previews.stripY;
    Zorva::Image* thumbnail = previews.Thumbnail(host.Mode(), level);
    const bool unrolled = unroll >= kAnimationEnd;
    if (level < reached || ((level == selectedLevel || level == reached) && unrolled)) {
        const bool lit = level == hoverLevel || level == selectedLevel;
        graphics.DrawImage(lit ? IMAGE_SCROLL_OVER : IMAGE_SCROLL, slotX - 10, stripY - 8);
        if (level == selectedLevel) {
            graphics.SaveState();
            graphics.SetDrawMode(Zorva::kDrawModeAdditive);
            graphics.SetColor(Zorva::Color(255, 255, 255, pulse));
            graphics.SetModulateImages(true);
            graphics.DrawImage(IMAGE_SCROLL_SELECT, slotX - 10, stripY - 8);
            graphics.RestoreState();
        }
        graphics.DrawImage(thumbnail, slotX, stripY);
        graphics.SetColor(Zorva::Color::kBlack);
        graphics.DrawTextLine("Level " + std::to_string(level), slotX + 60, stripY + 95, 0, 0);
    } else if (level == selectedLevel) {
        // Unrolling: the scroll opens from its middle, a roll on either side of the opening.
        const int halfOpen = unroll * 53 / 100;
        graphics.SaveState();
        graphics.NarrowClip(slotX - halfOpen + 60, 0, unroll * 106 / 100, height);
        graphics.DrawImage(IMAGE_SCROLL, slotX - 10, stripY - 8);
        graphics.DrawImage(thumbnail, slotX, stripY);
        graphics.RestoreState();
        DrawRolls(graphics, slotX - halfOpen + 43, slotX + halfOpen + 60, stripY - 8);
    } else {
        DrawRolls(graphics, slotX + 43, slotX + 60, stripY - 8);
    }
}

void MapWnd::DrawRolls(Zorva::Graphics& graphics, int leftX, int rightX, int rollY)
{
    const int rollHeight = ImageHeight(IMAGE_SCROLL);
    graphics.DrawImage(IMAGE_SCROLL, leftX, rollY, Zorva::Rect(0, 0, kLeftRollWidth, rollHeight));
    graphics.DrawImage(IMAGE_SCROLL, rightX, rollY,
                       Zorva::Rect(kRightRollColumn, 0, kRightRollWidth, rollHeight));
}

void MapWnd::DrawMapPoints(Zorva::Graphics& graphics, int reached)
{
    const int reachedPage = (reached - 1) / kLevelsPerPage;
    const auto& points = host.Previews().mapPoints;
    for (int j = 0; j < static_cast<int>(points.size()); ++j) {
        const auto& [pointX, pointY] = points[static_cast<std::size_t>(j)];
        Zorva::Image* image = j > reachedPage   ? IMAGE_MAP_POINT
                              : j == hoverPoint ? IMAGE_MAP_POINT_SELECT
                                                : IMAGE_MAP_POINT_COMPLETE;
        graphics.DrawImage(image, pointX - ImageWidth(image) / 2, pointY - ImageHeight(image) / 2);

        // The number in green with a black outline, below the point.
        const std::string number = std::to_string(j + 1);
        const int textX = pointX - TextWidth(number) / 2;
        graphics.SetColor(Zorva::Color::kBlack);
        for (const auto& [dx, dy] : {std::pair{1, 23}, {3, 23}, {2, 24}, {2, 22}}) {
            graphics.DrawText(number, textX + dx, pointY + dy);
        }
        graphics.SetColor(Zorva::Color(0, 255, 0));
        graphics.DrawText(number, textX + 2, pointY + 23);
    }
}

void MapWnd::DrawVehicle(Zorva::Graphics& graphics)
{
    const auto& points = host.Previews().mapPoints;
    if (points.empty() || page < 0 || page >= static_cast<int>(points.size())) {
        return;
    }
    const bool oneSide = host.Mode() == GameMode::OneSide;
    Zorva::Image* vehicle = oneSide ? IMAGE_CHARIOT : IMAGE_SHIP;
    const int offset = oneSide ? -35 : -50;
    const auto placeOf = [&](int j) {
        const auto& [pointX, pointY] = points[static_cast<std::size_t>(j)];
        return std::pair{pointX - ImageWidth(vehicle) / 2, pointY + offset};
    };
    if (page == 0) {
        const auto [vehicleX, vehicleY] = placeOf(0);
        graphics.DrawImage(vehicle, vehicleX, vehicleY);
        return;
    }
    const auto [fromX, fromY] = placeOf(page - 1);
    const auto [toX, toY] = placeOf(page);
    graphics.DrawImage(vehicle, fromX + (toX - fromX) * travel / 100,
                       fromY + (toY - fromY) * travel / 100);
}

int MapWnd::PointNear(int px, int py, int count) const
{
    const auto& points = host.Previews().mapPoints;
    const int limit = std::min(count, static_cast<int>(points.size()));
    for (int j = 0; j < limit; ++j) {
        const auto& [pointX, pointY] = points[static_cast<std::size_t>(j)];
        const int dx = px - pointX;
        const int dy = py - pointY;
        if (dx * dx + dy * dy < kPointRadius * kPointRadius) {
            return j;
        }
    }
    return -1;
}

int MapWnd::ScrollLevelAt(int px, int py) const
{
    const LevelPreviewStore& previews = host.Previews();
    if (py <= previews.stripY || py >= previews.stripY + ImageHeight(IMAGE_SCROLL)) {
        return -1;
    }
    for (int k = 0; k < kLevelsPerPage; ++k) {
        const int slotX = previews.stripX + kScrollSlotWidth * k;
        if (px > slotX && px < slotX + kScrollSlotWidth) {
            return kLevelsPerPage * page + 1 + k;
        }
    }
    return -1;
}

void MapWnd::OnPointerMove(int px, int py)
{
    hoverPoint = -1;
    if (InMapArea(px, py)) {
        hoverPoint = PointNear(px, py, static_cast<int>(host.Previews().mapPoints.size()));
    } else {
        hoverLevel = ScrollLevelAt(px, py);
    }
    Invalidate();
}

void MapWnd::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
    const int reached = ReachedLevel();
    if (InMapArea(px, py)) {
        const int j = PointNear(px, py, (reached - 1) / kLevelsPerPage + 1);
        if (j < 0) {
            return;
        }
        OpenPage(j);
        // The reached level is picked only when it lies on the clicked page.
        selectedLevel = kLevelsPerPage * j + 1;
        if (selectedLevel + kLevelsPerPage > reached) {
            selectedLevel = reached;
        }
        hoverLevel = -1;
    } else {
        const int level = ScrollLevelAt(px, py);
        if (level >= 1 && level <= reached) {
            selectedLevel = level;
        }
    }
    Invalidate();
}

void MapWnd::OnButtonActivated(int buttonId)
{
    if (buttonId != kPlayButtonId && buttonId != kMainMenuButtonId) {
        return;
    }
    app.PlaySoundOnce(SOUND_CLICK);
    if (buttonId == kMainMenuButtonId) {
        host.ExitToMainMenu(false);
        return;
    }
    Player* player = host.CurrentPlayer();
    if (player != nullptr && selectedLevel != ReachedLevel()) {
        // Choosing an earlier level lowers the player's level.
        (host.Mode() == GameMode::OneSide ? player->oneSideLevel : player->twoSideLevel) =
            selectedLevel;
    }
    host.PlayLevelFromMap();
}
