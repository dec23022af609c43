#include "game/Board.h"

Board::Board(PlayFieldHost& host) : model(host)
{
    flagsAdd |= Zorva::kWidgetMarkDirty;
    clips = false;
}

Board::~Board() = default;

void Board::Tick()
{
    Widget::Tick();
    model.Tick();
}

void Board::Paint(Zorva::Graphics&) {}

void Board::PaintBackground(Zorva::Graphics&) {}

void Board::SetLevelBackground(Zorva::Image*) {}

void Board::RebuildBackground() {}
