#include "game/BoardModel.h"

#include "game/PlayFieldHost.h"
#include "game/Player.h"
#include "game/ResourceHandles.h"

#include <filesystem>

BoardModel::BoardModel(PlayFieldHost& host)
    : host(host), field(&host), line(&field), deck(&field, &line)
{
    field.line = &line;
    field.deck = &deck;
    field.comboMeter = &comboMeter;
    comboMeter.frameImage = IMAGE_COMBO_METER;
    comboMeter.fillImage = IMAGE_COMBO_METER_ON;
    comboMeter.labelsImage = IMAGE_COMBO_METER_LABELS;
    deck.Deal(0);
}

std::string BoardModel::LevelPath(GameMode mode, int level) const
{
    const char* folder = mode == GameMode::OneSide ? "Levels1/" : "Levels2/";
    std::string prefix = dataPrefix;
    if (!prefix.empty() && prefix.back() != '/') {
        prefix += '/';
    }
    return prefix + folder + "Level" + std::to_string(level) + ".xml";
}

bool BoardModel::StartLevelFromPlayer()
{
    Player* player = host.CurrentPlayer();
    if (!player) {
        return false;
    }
    const bool oneSide = field.mode == GameMode::OneSide;
    int& level = oneSide ? player->oneSideLevel : player->twoSideLevel;
    std::error_code error;
    std::string path = LevelPath(field.mode, level);
    if (!std::filesystem::is_regular_file(path, error)) {
        level = 1;
        path = LevelPath(field.mode, level);
    }
    if (!StartLevelFile(path, level)) {
        return false;
    }
    if (level == 1 && player->showHowToPlay) {
        host.ShowHowToPlayDialog(field.mode);
    }
    return true;
}

bool BoardModel::RestartLevel()
{
    return StartLevelFile(field.levelFile, levelNumber);
}

bool BoardModel::StartLevelFile(const std::string& path, int level)
{
    const Player* player = host.CurrentPlayer();
    if (!player) {
        return false;
    }
    const bool oneSide = field.mode == GameMode::OneSide;
    field.score = oneSide ? player->oneSideScore : player->twoSideScore;
    field.reshufflesLeft = player->reshuffles;
    deck.pileCount = player->pileCount;
    levelNumber = level;
    field.boardLevel = level;
    if (!field.StartLevel(path, -1)) {
        return false;
    }
    deck.pileCount = player->pileCount;
    deck.Deal(field.cardsInDeck);
    deck.CountDeckSideMoves();
    comboMeter.Empty();
    return true;
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
    const bool fieldChanged = field.MouseMove(mouseX, mouseY);
    const bool pileChanged = deck.PileHover(mouseX, mouseY);
    return fieldChanged || pileChanged;
}

void BoardModel::MouseDown(int mouseX, int mouseY, int button)
{
    field.MouseDown(mouseX, mouseY, button);
    deck.PileMouseDown(mouseX, mouseY, button);
}

bool BoardModel::MouseDrag(int mouseX, int mouseY)
{
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
