#pragma once

#include <string>
#include <vector>

class BoardModel;

/// The state file for tests and tools: a few plain-text lines about the screen, the dialogs
/// and the board, rewritten (atomically) whenever they change. Composing it only reads.
class TestStateWriter
{
public:
    /// The environment variable naming the file.
    static constexpr const char* kVariable = "QUARROW_TEST_STATE";

    explicit TestStateWriter(std::string filePath) : path(std::move(filePath)) {}

    /// What the file says about the screens, apart from the board.
    struct Screen
    {
        /// "loading", "menu", "game" or "none".
        std::string name;
        /// The current player's name; empty for none.
        std::string player;
        std::vector<int> dialogIds;
        bool atRest = true;
        /// Where a test can click (CollectControlLines).
        std::vector<std::string> controls;
    };

    /// The text of the file. `model` is null while no board is shown.
    static std::string Compose(const Screen& screen, const BoardModel* model);
    /// Writes the text when it differs from what was last written; false when a write failed.
    bool Update(const std::string& text);

    const std::string& Path() const { return path; }

private:
    std::string path;
    std::string written;
    bool hasWritten = false;
};
