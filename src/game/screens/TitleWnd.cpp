#include "game/screens/TitleWnd.h"

#include "game/screens/LogoImage.h"
#include "widgets/ButtonWidget.h"

TitleWnd::TitleWnd(Zorva::ZorvaAppBase& newApp, MenuHost& newHost) : app(newApp), host(newHost) {}

TitleWnd::~TitleWnd() = default;

void TitleWnd::LoadLogos(const std::string&) {}

void TitleWnd::Paint(Zorva::Graphics&) {}

void TitleWnd::OnButtonActivated(int) {}
