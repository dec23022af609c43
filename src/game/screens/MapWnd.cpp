#include "game/screens/MapWnd.h"

#include "game/screens/GameDialogButton.h"
#include "game/screens/MapHost.h"

MapWnd::MapWnd(Zorva::ZorvaAppBase& newApp, MapHost& newHost) : app(newApp), host(newHost) {}

MapWnd::~MapWnd() = default;

void MapWnd::Show() {}

std::vector<std::string> MapWnd::StateLines() const
{
    return {};
}

void MapWnd::Tick()
{
    Widget::Tick();
}

void MapWnd::Paint(Zorva::Graphics&) {}

void MapWnd::OnPointerMove(int, int) {}

void MapWnd::OnPointerDown(int px, int py, int clickCode)
{
    Widget::OnPointerDown(px, py, clickCode);
}

void MapWnd::OnButtonActivated(int) {}
