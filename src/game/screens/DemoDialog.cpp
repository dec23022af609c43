#include "game/screens/DemoDialog.h"

#include "game/screens/OptionsHost.h"
#include "widgets/Checkbox.h"
#include "widgets/Slider.h"

DemoDialog::DemoDialog(Zorva::ZorvaAppBase& newApp, OptionsHost& newHost)
    : Dialog(nullptr, nullptr, kDialogId, true, "Options", "", "CLOSE", kButtonsFooter),
      app(newApp), optionsHost(newHost)
{}

DemoDialog::~DemoDialog() = default;
