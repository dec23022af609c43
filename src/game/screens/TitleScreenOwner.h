#pragma once

/// What the loading screen tells the game application.
class TitleScreenOwner
{
public:
    virtual ~TitleScreenOwner() = default;

    /// The player clicked "Click To Continue"; the screen has already left the widget
    /// manager and is queued for deletion with its link.
    virtual void TitleScreenFinished() = 0;
};
