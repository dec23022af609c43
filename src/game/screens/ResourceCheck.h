#pragma once

#include <string>
#include <vector>

namespace Zorva {
class ZorvaAppBase;
}

/// Checks a resource manifest the way the game will use it: parses it, loads every resource
/// of every group (going on past failures so that all of them are found), checks that each
/// of the game's identifiers is there, of the right kind and in the right group, and binds
/// the three groups. Relative paths are read from the working directory.
class ResourceCheck
{
public:
    explicit ResourceCheck(Zorva::ZorvaAppBase& app);

    /// Runs the whole check; true when nothing was found wrong.
    bool Run(const std::string& manifestPath);
    /// One line per problem, in the order found.
    const std::vector<std::string>& Problems() const { return problems; }
    /// How many resources loaded.
    int LoadedCount() const { return loaded; }

private:
    Zorva::ZorvaAppBase& app;
    std::vector<std::string> problems;
    int loaded = 0;
};
