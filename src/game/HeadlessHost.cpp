#include "game/HeadlessHost.h"

#include <algorithm>

void HeadlessHost::ShowHint(int x, int y, const std::string& text)
{
    hints.push_back(HintShown{x, y, text});
    hintVisible = true;
}

void HeadlessHost::ShowLevelCompleteDialog(const std::string& title, const std::string& text,
                                           const std::string& buttonLabel)
{
    dialogs.push_back("level complete: " + title + " | " + text + " | " + buttonLabel);
}

void HeadlessHost::ShowHowToPlayDialog(GameMode mode)
{
    dialogs.push_back(mode == GameMode::OneSide ? "how to play 1" : "how to play 2");
}

bool HeadlessHost::RunUntilUpdate()
{
    if (!runNestedLoops) {
        return false;
    }
    Step();
    return true;
}

void HeadlessHost::SetReshuffleButton(const std::string& label, bool enabled)
{
    reshuffleLabel = label;
    reshuffleEnabled = enabled;
}

void HeadlessHost::Step()
{
    ++updateCount;
    if (onUpdate) {
        onUpdate();
    }
}

int HeadlessHost::SoundCount(int soundId) const
{
    return static_cast<int>(std::count(sounds.begin(), sounds.end(), soundId));
}
