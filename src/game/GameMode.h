#pragma once

/// The play field's mode. The values are stored in saved games and key every per-mode rule,
/// file and table.
enum class GameMode
{
    TwoSide = 0, ///< "Two-Side Solitaire": stones are dragged to either end of the play line
    Editor = 1,  ///< the level editor
    OneSide = 2, ///< "One-Side Solitaire": a clicked stone joins the right end
};
