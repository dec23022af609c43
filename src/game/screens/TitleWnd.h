#pragma once

#include "game/GameMode.h"
#include "widgets/ButtonListener.h"
#include "widgets/Widget.h"

#include <memory>
#include <string>
#include <vector>

namespace Zorva {
class ButtonWidget;
class ZorvaAppBase;
} // namespace Zorva

class LogoImage;
class MenuHost;
struct Player;

/// The main menu: greets the current player and starts either mode, opens the change-player
/// dialog, the options, the highscores, or ends the program.
class TitleWnd : public Zorva::Widget, public Zorva::ButtonListener
{
public:
    static constexpr int kOneSideButtonId = 0;
    static constexpr int kTwoSideButtonId = 1;
    static constexpr int kChangePlayerButtonId = 2;
    static constexpr int kOptionsButtonId = 3;
    static constexpr int kHighscoresButtonId = 4;
    static constexpr int kExitButtonId = 5;

    TitleWnd(Zorva::ZorvaAppBase& app, MenuHost& host);
    ~TitleWnd() override;

    /// The greeting above the buttons: its text baseline and the x it is centred on.
    static constexpr int kWelcomeCentreX = 400;
    static constexpr int kWelcomeBaseline = 125;

    /// Reads the logos of section "LogoAppearence/OnTitle" of the logo file.
    void LoadLogos(const std::string& path);

    void Paint(Zorva::Graphics& graphics) override;
    void OnButtonActivated(int buttonId) override;

    std::vector<std::unique_ptr<Zorva::ButtonWidget>> buttons;

private:
    Zorva::ZorvaAppBase& app;
    MenuHost& host;
    std::vector<std::unique_ptr<LogoImage>> logos;

    /// Makes a button, places it and adds it as a child.
    Zorva::ButtonWidget& AddButton(int buttonId, const std::string& label, int buttonX,
                                   int buttonY);
    /// The current player's record; null when there is none.
    Player* CurrentPlayer() const;
    /// Starts `mode`: a fresh game, or the continue dialog when there is one to go on with.
    void StartMode(GameMode mode);
};
