#pragma once

#include "game/ComboMeter.h"
#include "game/GameMode.h"
#include "game/PlayField.h"
#include "game/PlayLine.h"
#include "game/StoneDeck.h"

#include <string>

class PlayFieldHost;

/// The game screen without its widgets: the play field with its play line, deck and combo
/// meter, the board's per-tick update, starting levels from the player record, and the
/// panel's routing of pointer input, scoring and buttons. The board and panel widgets draw
/// it and feed it input; the automatic player and the tests drive it directly.
class BoardModel
{
public:
    static constexpr int kTwoSideLevels = 50;
    static constexpr int kOneSideLevels = 60;

    explicit BoardModel(PlayFieldHost& host);
    BoardModel(const BoardModel&) = delete;
    BoardModel& operator=(const BoardModel&) = delete;

    /// The level file of a mode and level number, below `dataPrefix`.
    std::string LevelPath(GameMode mode, int level) const;

    /// Starts the current player's level of the field's mode (level 1 when that file is
    /// missing), deals the deck and empties the combo meter. False without a player or file.
    bool StartLevelFromPlayer();
    /// Starts the level being played again with the values of the player record.
    bool RestartLevel();

    /// The board update: field, play-line stones, deck and pile stones, combo decay.
    void Tick();

    // The panel's pointer routing, `button` the click code kClickLeft or kClickRight.
    bool MouseMove(int mouseX, int mouseY);
    void MouseDown(int mouseX, int mouseY, int button);
    bool MouseDrag(int mouseX, int mouseY);
    void MouseUp(int mouseX, int mouseY, int button);

    // The panel's buttons.
    void PressUndo();
    void PressHint();
    void PressReshuffle();

    PlayFieldHost& host;
    PlayField field;
    PlayLine line;
    ComboMeter comboMeter;
    StoneDeck deck;
    int levelNumber = 1;
    /// Folder the level sets lie in; empty for the working directory.
    std::string dataPrefix;

private:
    bool StartLevelFile(const std::string& path, int level);
    void ScorePlacedStone();
};
