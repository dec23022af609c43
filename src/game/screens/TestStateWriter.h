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

    /// The text of the file. `model` is null while no board is shown.
    static std::string Compose(const std::string& screen, const std::vector<int>& dialogIds,
                               bool atRest, const BoardModel* model);
    /// Writes the text when it differs from what was last written; false when a write failed.
    bool Update(const std::string& text);

    const std::string& Path() const { return path; }

private:
    std::string path;
    std::string written;
    bool hasWritten = false;
};
