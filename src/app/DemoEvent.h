#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Zorva {

/// What a demo records. The values of the non-pointer kinds are the type numbers of the
/// event stream; the two pointer kinds have their own flag in it.
enum class DemoEventKind
{
    PointerPosition = 0,
    Activate = 1,
    Minimize = 2,
    KeyDown = 3,
    KeyUp = 4,
    Character = 5,
    Close = 6,
    PointerEnter = 7,
    PointerLeave = 8,
    LoadingDone = 9,
    SettingsRead = 11,
    SettingsWrite = 12,
    FileExists = 14,
    FileRead = 15,
    FileWrite = 16,
    PlatformValue = 18,
    Wheel = 21,
    Display = 23,
    /// A small relative move of the pointer (written with the pointer flag).
    PointerMove = 100,
    /// A press or release of a button (written with the pointer flag).
    PointerButton = 101,
};

/// One recorded event, with the update number it belongs to. Which fields matter depends
/// on the kind; the others keep their defaults.
struct DemoEvent
{
    DemoEventKind kind = DemoEventKind::Close;
    /// The update number at which the event happened (or is due on playback).
    int update = 0;
    /// Pointer kinds: the position after the event, 0..4095 on both axes.
    int x = 0;
    int y = 0;
    /// PointerButton: 1 left, 2 left double, -1 right, -2 right double, 3 middle.
    int clickCode = 0;
    /// PointerButton: pressed (or double-clicked); Activate: active; Minimize: minimised;
    /// the data kinds: success (FileExists: exists); Display: windowed.
    bool flag = false;
    /// KeyDown, KeyUp: key code 0..255; Character: 0..255; Wheel: notches -128..127;
    /// Display: refresh rate 0..255; SettingsRead: the value type.
    int code = 0;
    /// SettingsRead, FileRead (on success) and PlatformValue: the bytes handed over.
    std::vector<uint8_t> bytes;

    static DemoEvent Of(DemoEventKind kind, int update)
    {
        DemoEvent event;
        event.kind = kind;
        event.update = update;
        return event;
    }
};

/// A named place in a demo, at the update it was set.
struct DemoMarker
{
    std::string name;
    int update = 0;
};

} // namespace Zorva
