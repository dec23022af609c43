#pragma once

#include "game/ComboMeter.h"
#include "game/GameMode.h"
#include "game/PlayField.h"
#include "game/PlayLine.h"
#include "game/StoneDeck.h"

#include <string>

class PlayFieldHost;
struct LevelData;
struct Player;

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

    /// The level file of a mode and level number relative to the data folder:
    /// "Levels1/Level7.xml" for One-Side, "Levels2/Level7.xml" for Two-Side.
    static std::string LevelFileName(GameMode mode, int level);
    /// The level file of a mode and level number, below `dataPrefix`.
    std::string LevelPath(GameMode mode, int level) const;

    /// Reads a level file into the field without dealing it (style -1 picks one at random,
    /// stone limit -1 makes every stone). False with `error` when the file is missing or
    /// malformed; the field is then as it was.
    bool LoadLevel(const std::string& path, int style, int stoneLimit, bool playMusic,
                   std::string* error = nullptr);
    /// Reads the level file and, only when that succeeded, starts it as level number `level`:
    /// score, reshuffles and pile count from the player record, the field dealt, the deck
    /// dealt with cards-in-deck stones, the combo meter emptied. False with `error` when there
    /// is no player or the file is missing or malformed; nothing has changed then, not even
    /// the random generator.
    bool StartLevel(const std::string& path, int level, std::string* error = nullptr);
    /// Starts the current player's level of the field's mode (level 1 when that file is
    /// missing) and shows how to play on level 1. False, with nothing changed, as StartLevel.
    bool StartLevelFromPlayer(std::string* error = nullptr);
    /// Starts the level being played again with the values of the player record.
    bool RestartLevel(std::string* error = nullptr);

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

    /// A Two-Side stone held at the pointer (from the field or a pile) goes home as after a
    /// failed drop; nothing happens when none is held. For leaving the board mid-drag.
    void CancelDrag();
    /// Developer shortcut: writes the level into the player record as a win with the current
    /// score (as a real win would, once per level) and starts the record's next level. False
    /// when there is no player, in the editor, or when the set has no further level file;
    /// the record is written in the last case all the same.
    bool SkipLevelAsWon();
    /// Developer shortcut: a new bonus on the last stone of the highest non-empty layer.
    void PutBonusOnTopStone();
    /// Developer shortcut: the field becomes the level editor on the layout as it lies, or,
    /// in the editor, goes back to the mode it came from and starts the level afresh from
    /// its file (the edited layout has no deal to play on).
    void ToggleEditor();
    /// In the editor: loads the next level of the set for editing, without dealing it. False
    /// (nothing changed) outside the editor or when there is no such level file.
    bool EditNextLevel();

    PlayFieldHost& host;
    PlayLine line;
    ComboMeter comboMeter;
    /// The field and the deck refer to each other; the field is built first and does not use
    /// the deck before the board is complete.
    PlayField field;
    StoneDeck deck;
    int levelNumber = 1;
    /// Folder the level sets lie in; empty for the working directory.
    std::string dataPrefix;
    /// The play mode the editor was entered from; the editor reads that mode's level set.
    GameMode editorReturnMode = GameMode::OneSide;

private:
    /// The start once the file was read and a player is known.
    void StartReadLevel(const LevelData& data, const std::string& path, int level,
                        const Player& player);
    void ScorePlacedStone();
};
