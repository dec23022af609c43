#include "game/BoardModel.h"

#include "game/LevelFile.h"
#include "game/PlayFieldHost.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"

#include <filesystem>
#include <optional>

BoardModel::BoardModel(PlayFieldHost& newHost)
    : host(newHost), field(newHost, line, deck, comboMeter), deck(field, line)
{
    comboMeter.frameImage = IMAGE_COMBO_METER;
    comboMeter.fillImage = IMAGE_COMBO_METER_ON;
    comboMeter.labelsImage = IMAGE_COMBO_METER_LABELS;
    deck.Deal(0);
}

std::string BoardModel::LevelFileName(GameMode mode, int level)
{
    const char* folder = mode == GameMode::OneSide ? "Levels1/" : "Levels2/";
    return folder + ("Level" + std::to_string(level)) + ".xml";
}

std::string BoardModel::LevelPath(GameMode mode, int level) const
{
    std::string prefix = dataPrefix;
    if (!prefix.empty() && prefix.back() != '/') {
        prefix += '/';
    }
    return prefix + LevelFileName(mode, level);
}

bool BoardModel::LoadLevel(const std::string& path, int style, int stoneLimit, bool playMusic,
                           std::string* error)
{
    const std::optional<LevelData> data = LevelFile::ReadFile(path, stoneLimit, error);
    if (!data) {
        return false;
    }
    field.LoadLevel(*data, style, playMusic);
    return true;
}

bool BoardModel::StartLevel(const std::string& path, int level, std::string* error)
{
    const Player* player = host.CurrentPlayer();
    if (!player) {
        if (error) {
            *error = "no player";
        }
        return false;
    }
    const std::optional<LevelData> data = LevelFile::ReadFile(path, -1, error);
    if (!data) {
        return false;
    }
    StartReadLevel(*data, path, level, *player);
    return true;
}

bool BoardModel::StartLevelFromPlayer(std::string* error)
{
    Player* player = host.CurrentPlayer();
    if (!player) {
        if (error) {
            *error = "no player";
        }
        return false;
    }
    int& recordLevel =
        field.mode == GameMode::OneSide ? player->oneSideLevel : player->twoSideLevel;
    int number = recordLevel;
    std::error_code missing;
    if (!std::filesystem::is_regular_file(LevelPath(field.mode, number), missing)) {
        number = 1;
    }
    const std::string path = LevelPath(field.mode, number);
    const std::optional<LevelData> data = LevelFile::ReadFile(path, -1, error);
    if (!data) {
        return false;
    }
    // The field's first-level tip reads the record, so it holds the level before the start.
    recordLevel = number;
    StartReadLevel(*data, path, number, *player);
    if (number == 1 && player->showHowToPlay) {
        host.ShowHowToPlayDialog(field.mode);
    }
    return true;
}

bool BoardModel::RestartLevel(std::string* error)
{
    return StartLevel(field.levelFile, levelNumber, error);
}

void BoardModel::StartReadLevel(const LevelData& data, const std::string& path, int level,
                                const Player& player)
{
    const bool oneSide = field.mode == GameMode::OneSide;
    field.score = oneSide ? player.oneSideScore : player.twoSideScore;
    field.reshufflesLeft = player.reshuffles;
    levelNumber = level;
    field.boardLevel = level;
    field.StartLevel(data, path);
    deck.pileCount = player.pileCount;
    deck.Deal(field.cardsInDeck);
    deck.CountDeckSideMoves();
    comboMeter.Empty();
    host.OnLevelStarted(field.mode, level);
}

void BoardModel::Tick()
{
    field.Update();
    line.UpdateStones();
    deck.UpdateStones();
    comboMeter.Update();
}

bool BoardModel::MouseMove(int mouseX, int mouseY)
{
    // The editor works on the field alone; the deck and piles wait for play.
    if (field.mode == GameMode::Editor) {
        return field.MouseMove(mouseX, mouseY);
    }
    const bool fieldChanged = field.MouseMove(mouseX, mouseY);
    const bool pileChanged = deck.PileHover(mouseX, mouseY);
    return fieldChanged || pileChanged;
}

void BoardModel::MouseDown(int mouseX, int mouseY, int button)
{
    if (field.mode == GameMode::Editor) {
        field.MouseDown(mouseX, mouseY, button);
        return;
    }
    field.MouseDown(mouseX, mouseY, button);
    deck.PileMouseDown(mouseX, mouseY, button);
}

bool BoardModel::MouseDrag(int mouseX, int mouseY)
{
    if (field.mode == GameMode::Editor) {
        return field.MouseDrag(mouseX, mouseY);
    }
    const bool fieldMoved = field.MouseDrag(mouseX, mouseY);
    const bool pileMoved = deck.PileDrag(mouseX, mouseY);
    return fieldMoved || pileMoved;
}

void BoardModel::MouseUp(int mouseX, int mouseY, int button)
{
    field.MouseUp(mouseX, mouseY, button);
    if (field.mode != GameMode::Editor) {
        deck.MouseUp(mouseX, mouseY, button);
    }
    if (line.stonePlaced) {
        line.stonePlaced = false;
        if (field.mode == GameMode::TwoSide && line.First() &&
            (line.First()->joker || line.Last()->joker)) {
            field.ShowJokerExplanation(line.First()->joker ? 310 : 490, 550);
        }
        host.SetUndoEnabled(true);
        if (field.mode == GameMode::OneSide && field.undo.source == UndoRecord::kDeckOrPile) {
            host.SetUndoEnabled(false);
        }
        ScorePlacedStone();
    }
    if (deck.dealt) {
        deck.dealt = false;
        host.SetUndoEnabled(false);
    }
}

void BoardModel::ScorePlacedStone()
{
    const int multiplier = comboMeter.Multiplier();
    field.score += 20 * multiplier;
    field.undo.points = 20 * multiplier;
    struct Reward
    {
        Zorva::Image* label;
        int labelY;
        int sound;
    };
    const Reward rewards[] = {
        {nullptr, 0, SOUND_PUT},
        {IMAGE_x2, 405, SOUND_PUT_X2},
        {IMAGE_x3, 329, SOUND_PUT_X3},
        {IMAGE_x4, 260, SOUND_PUT_X4},
    };
    const Reward& reward = rewards[multiplier - 1];
    if (multiplier > 1) {
        field.floatingLabels.push_back(std::make_unique<FloatingLabel>(
            reward.label, 745.0f, static_cast<float>(reward.labelY), -0.2f, -0.2f));
    }
    host.PlaySound(reward.sound);
}

void BoardModel::PressUndo()
{
    host.PlaySound(SOUND_CLICK);
    host.SetUndoEnabled(false);
    field.Undo();
}

void BoardModel::PressHint()
{
    host.PlaySound(SOUND_CLICK);
    field.idleTicks = -1000;
    field.Hint();
}

void BoardModel::PressReshuffle()
{
    host.PlaySound(SOUND_CLICK);
    field.Reshuffle();
}

void BoardModel::CancelDrag()
{
    // A stone carried in the editor is put down where it is.
    if (field.mode == GameMode::Editor) {
        field.EditorMouseUp(Zorva::kClickRight);
        return;
    }
    if (DominoFish* held = field.hoveredStone; held && held->dragging) {
        line.dropSide = 0;
        field.ReturnToOrigin(*held, held->dragX, held->dragY, field.dragOriginX, field.dragOriginY);
    }
    if (DominoFish* held = deck.heldStone) {
        deck.heldStone = nullptr;
        line.dropSide = 0;
        field.ReturnToOrigin(*held, held->dragX, held->dragY, deck.dragOriginX, deck.dragOriginY);
        held->returningFromPile = true;
    }
}

bool BoardModel::SkipLevelAsWon()
{
    Player* player = host.CurrentPlayer();
    if (!player || field.mode == GameMode::Editor) {
        return false;
    }
    const bool oneSide = field.mode == GameMode::OneSide;
    int& recordLevel = oneSide ? player->oneSideLevel : player->twoSideLevel;
    // A level whose results were already handed out is in the record: it only moves on.
    if (!field.resultsGiven) {
        field.won = true;
        field.resultsGiven = true;
        player->reshuffles = field.reshufflesLeft;
        (oneSide ? player->oneSideScore : player->twoSideScore) = field.score;
        ++recordLevel;
        player->pileCount = deck.pileCount;
        host.SavePlayers();
        host.SetLevelCompletedThisGame();
    }
    const std::string path = LevelPath(field.mode, recordLevel);
    std::error_code missing;
    if (!std::filesystem::is_regular_file(path, missing)) {
        return false;
    }
    return StartLevel(path, recordLevel);
}

void BoardModel::PutBonusOnTopStone()
{
    if (DominoFish* top = field.LastStoneOfHighestLayer()) {
        field.PutBonus(*top);
    }
}

void BoardModel::ToggleEditor()
{
    if (field.mode != GameMode::Editor) {
        CancelDrag();
        editorReturnMode = field.mode;
        field.mode = GameMode::Editor;
        field.EnterEditor();
        return;
    }
    field.mode = editorReturnMode;
    if (!RestartLevel()) {
        // Without a level file to go back to, the edited layout is played as it lies.
        field.ApplyFreeRule();
        field.CountMoves();
    }
}

bool BoardModel::EditNextLevel()
{
    const std::string path = LevelPath(editorReturnMode, levelNumber + 1);
    if (field.mode != GameMode::Editor || !LoadLevel(path, -1, -1, false)) {
        return false;
    }
    ++levelNumber;
    field.boardLevel = levelNumber;
    field.levelFile = path;
    field.EnterEditor();
    return true;
}
