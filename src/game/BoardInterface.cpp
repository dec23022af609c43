#include "game/BoardInterface.h"

#include "game/Board.h"
#include "widgets/ButtonWidget.h"

BoardInterface::BoardInterface(Board& newBoard, BoardPanelHost& newPanelHost,
                               PlayFieldHost& newFieldHost)
    : board(newBoard), panelHost(newPanelHost), fieldHost(newFieldHost)
{}

BoardInterface::~BoardInterface() = default;

void BoardInterface::Paint(Zorva::Graphics& graphics)
{
    board.PaintBackground(graphics);
}

void BoardInterface::OnButtonActivated(int) {}

void BoardInterface::SetUndoEnabled(bool) {}

void BoardInterface::SetReshuffleButton(const std::string&, bool) {}

void BoardInterface::PressReshuffle()
{
    board.model.PressReshuffle();
}
