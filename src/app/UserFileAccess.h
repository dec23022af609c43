#pragma once

#include <cstddef>
#include <string>

namespace Zorva {

class Buffer;

/// The files the program keeps for the player, named relative to the user folder
/// ("players.dat", "saves/Ann1.sav"). Every such file is read, written, tested and deleted
/// through here, so that demo recording can record the outcomes and playback answer them.
/// A name that could lead outside the user folder (absolute, with a ".." part or an empty
/// part) is refused by every operation.
class UserFileAccess
{
public:
    virtual ~UserFileAccess() = default;

    /// Reads the file into `buffer` (replaced, positions rewound): at most `maxBytes`, so a
    /// longer file is handed over cut at that length. False, with `buffer` unchanged, when
    /// the file is missing, not a regular file or cannot be read.
    virtual bool ReadUserFile(const std::string& name, Buffer& buffer, std::size_t maxBytes);
    /// Writes the buffer's bytes atomically, creating missing folders. On failure the old
    /// file is kept and the reason is reported.
    virtual bool WriteUserFile(const std::string& name, const Buffer& buffer);
    virtual bool UserFileExists(const std::string& name);
    /// True when the file is gone afterwards.
    virtual bool DeleteUserFile(const std::string& name);
    /// Moves a file to a new name (replacing one there); false when it did not move.
    virtual bool RenameUserFile(const std::string& from, const std::string& to);

    /// The full path of `name`; empty when the name is refused.
    std::string UserFilePath(const std::string& name) const;
    /// The folder the names are relative to: the user folder unless set here.
    void SetUserFileFolder(const std::string& folder) { userFileFolder = folder; }
    std::string UserFileFolder() const;

protected:
    /// Where a failed write or move is told.
    virtual void ReportFileProblem(const std::string& text);

private:
    std::string userFileFolder;
};

} // namespace Zorva
