#pragma once

#include <string>
#include <vector>

namespace Zorva {
class WidgetContainer;
}

/// The lines of the state file that say where a test can click: every visible, enabled
/// button or link ("button ID X Y W H LABEL", LABEL the text shown or the identifier of the
/// face image of a button without text) and every line in view of a visible list
/// ("listline INDEX X Y W H TEXT"), every visible check box ("checkbox ID X Y W H 0|1") and
/// slider ("slider ID X Y W H PERCENT"), in screen coordinates, bottom widget first.
std::vector<std::string> CollectControlLines(const Zorva::WidgetContainer& root);
