#pragma once

#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorva {
class ZorvaAppBase;
}

class GameDialogButton;
class MapHost;

/// The level map between levels: one point per page of five levels, the vehicle travelling
/// to the player's page, and the five scrolls of the chosen page, which unroll as their level
/// becomes playable. "Play" starts the selected level, "Main Menu" leaves.
class MapWnd : public Zorva::Widget, public Zorva::ButtonListener
{
public:
    static constexpr int kPlayButtonId = 0;
    static constexpr int kMainMenuButtonId = 1;

    MapWnd(Zorva::ZorvaAppBase& app, MapHost& host);
    ~MapWnd() override;

    /// Prepares the map for the player's level: page, selection, thumbnails and the travel
    /// and unroll animations. Beyond the mode's last level it runs the host's GameCompleted
    /// instead. The caller has put the map on screen.
    void Show();

    /// The state file's lines of the map: "page P", "selected L", and "point LEVEL X Y W H"
    /// and "scroll LEVEL X Y W H" for the points of reached pages and the open scrolls.
    std::vector<std::string> StateLines() const;

    void Tick() override;
    void Paint(Zorva::Graphics& graphics) override;
    void OnPointerMove(int px, int py) override;
    void OnPointerDown(int px, int py, int clickCode) override;
    void OnButtonActivated(int buttonId) override;

    std::unique_ptr<GameDialogButton> playButton;
    std::unique_ptr<GameDialogButton> mainMenuButton;
    int hoverPoint = -1;
    int page = -1;
    int hoverLevel = -1;
    int selectedLevel = 1;
    int pulse = 0;
    bool pulseUp = true;
    int unroll = 0;
    int unrollDelay = 0;
    bool unrollSoundDone = false;
    int travel = 0;
    int travelDelay = 0;
    bool travelSoundDone = false;

private:
    Zorva::ZorvaAppBase& app;
    MapHost& host;

    /// The player's level in the current mode: the highest level open to them.
    int ReachedLevel() const;
    /// The last level of the current mode.
    int LastLevel() const;
    /// Index of the first of the first `count` map points within 20 pixels of (px, py); -1
    /// for none.
    int PointNear(int px, int py, int count) const;
    /// The level of the scroll slot of the shown page under (px, py); -1 for none.
    int ScrollLevelAt(int px, int py) const;
    /// Makes `newPage` the shown page and renders the thumbnails of its levels.
    void OpenPage(int newPage);

    void DrawScrollStrip(Zorva::Graphics& graphics, int reached);
    void DrawScroll(Zorva::Graphics& graphics, int level, int slotX, int reached);
    void DrawRolls(Zorva::Graphics& graphics, int leftX, int rightX, int rollY);
    void DrawMapPoints(Zorva::Graphics& graphics, int reached);
    void DrawVehicle(Zorva::Graphics& graphics);
};
