#include "app/platform/SdlWindowSystem.h"

#include "app/HandCursors.h"
#include "app/platform/SdlEventTranslator.h"
#include "system/Latin1Text.h"

#include <SDL.h>

#include <algorithm>
#include <vector>

namespace Zorva {

namespace {

std::string SdlError(const char* step)
{
    return std::string(step) + ": " + SDL_GetError();
}

SDL_Cursor* MakeColorCursor(const CursorPixels& pixels)
{
    // SDL copies the pixels into the cursor, so the surface may borrow them.
    std::vector<uint32_t> copy = pixels.argb;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        copy.data(), pixels.width, pixels.height, 32, pixels.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (surface == nullptr) {
        return nullptr;
    }
    SDL_Cursor* cursor = SDL_CreateColorCursor(surface, pixels.hotX, pixels.hotY);
    SDL_FreeSurface(surface);
    return cursor;
}

SDL_Cursor* MakeSystemCursor(CursorKind kind)
{
    SDL_SystemCursor shape = SDL_SYSTEM_CURSOR_ARROW;
    switch (kind) {
    case CursorKind::TextBeam:
        shape = SDL_SYSTEM_CURSOR_IBEAM;
        break;
    case CursorKind::NoEntry:
        shape = SDL_SYSTEM_CURSOR_NO;
        break;
    case CursorKind::Move:
        shape = SDL_SYSTEM_CURSOR_SIZEALL;
        break;
    case CursorKind::SizeRising:
        shape = SDL_SYSTEM_CURSOR_SIZENESW;
        break;
    case CursorKind::SizeVertical:
        shape = SDL_SYSTEM_CURSOR_SIZENS;
        break;
    case CursorKind::SizeFalling:
        shape = SDL_SYSTEM_CURSOR_SIZENWSE;
        break;
    case CursorKind::SizeHorizontal:
        shape = SDL_SYSTEM_CURSOR_SIZEWE;
        break;
    case CursorKind::Wait:
        shape = SDL_SYSTEM_CURSOR_WAIT;
        break;
    default:
        break;
    }
    return SDL_CreateSystemCursor(shape);
}

} // namespace

void SdlWindowSystem::WindowDeleter::operator()(SDL_Window* doomed) const
{
    SDL_DestroyWindow(doomed);
}

void SdlWindowSystem::CursorDeleter::operator()(SDL_Cursor* doomed) const
{
    SDL_FreeCursor(doomed);
}

SdlWindowSystem::SdlWindowSystem()
{
    // Unaccelerated drawing is the fallback for broken graphics drivers, so SDL must not
    // present the software renderer's picture through OpenGL behind our back.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
        videoReady = true;
        const char* driver = SDL_GetCurrentVideoDriver();
        eventsWaitable = driver != nullptr &&
                         (SDL_strcmp(driver, "x11") == 0 || SDL_strcmp(driver, "wayland") == 0);
    } else {
        errorText = SdlError("SDL_InitSubSystem VIDEO");
    }
}

SdlWindowSystem::~SdlWindowSystem()
{
    for (CursorPtr& cursor : cursors) {
        cursor.reset();
    }
    window.reset();
    if (videoReady) {
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
}

bool SdlWindowSystem::CreateMainWindow(const MainWindowSpec& spec)
{
    DestroyMainWindow();
    if (!videoReady) {
        return false;
    }
    fullScreen = spec.fullScreen;
    screenWidth = spec.screenWidth;
    screenHeight = spec.screenHeight;
    const Rect& client = spec.clientRect;
    const uint32_t flags =
        SDL_WINDOW_HIDDEN | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : SDL_WINDOW_RESIZABLE);
    // A full-screen window is also made as large as the desktop, so that it covers it even
    // where no window manager takes care of full screen.
    window.reset(SDL_CreateWindow(Utf8FromLatin1(spec.caption).c_str(), client.x, client.y,
                                  client.width, client.height, flags));
    if (!window) {
        errorText = SdlError("SDL_CreateWindow");
        return false;
    }
    SDL_SetWindowMinimumSize(window.get(), std::max(screenWidth / 4, 1),
                             std::max(screenHeight / 4, 1));
    UpdateScaler();
    fullRedrawRequested = true;
    displayReset = false;
    captureOn = false;
    SDL_StartTextInput();
    nextTimerDue = SDL_GetTicks64() + static_cast<uint64_t>(timerPeriod);
    return true;
}

void SdlWindowSystem::DestroyMainWindow()
{
    if (captureOn) {
        SDL_CaptureMouse(SDL_FALSE);
        captureOn = false;
    }
    window.reset();
}

void SdlWindowSystem::ShowMainWindow(bool activate)
{
    if (!window) {
        return;
    }
    if (!activate) {
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "1");
    }
    SDL_ShowWindow(window.get());
    if (activate) {
        SDL_RaiseWindow(window.get());
    } else {
        SDL_SetHint(SDL_HINT_WINDOW_NO_ACTIVATION_WHEN_SHOWN, "0");
    }
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    // The frame is known only once a window manager has framed the shown window.
    if (SDL_GetWindowBordersSize(window.get(), &top, &left, &bottom, &right) == 0) {
        frame = WindowFrame{left, top, right, bottom};
    }
    fullRedrawRequested = true;
}

void SdlWindowSystem::HideMainWindow()
{
    if (window) {
        SDL_HideWindow(window.get());
    }
}

uint32_t SdlWindowSystem::WindowId() const
{
    return window ? SDL_GetWindowID(window.get()) : 0;
}

void SdlWindowSystem::PumpMessages(const MessageSink& sink)
{
    if (!videoReady) {
        return;
    }
    SDL_Event event;
    std::vector<WindowMessage> messages;
    while (SDL_PollEvent(&event) != 0) {
        ObserveEvent(event);
        // The sink may have re-created the window: the context is taken anew per event.
        SdlEventContext context;
        context.windowId = WindowId();
        context.windowFlags = window ? SDL_GetWindowFlags(window.get()) : 0;
        context.modifiers = static_cast<uint16_t>(SDL_GetModState());
        context.scaler = scaler;
        messages.clear();
        TranslateSdlEvent(event, context, messages);
        for (const WindowMessage& message : messages) {
            sink(message);
        }
    }
    if (window && timerPeriod > 0) {
        const uint64_t now = SDL_GetTicks64();
        if (now >= nextTimerDue) {
            nextTimerDue = now + static_cast<uint64_t>(timerPeriod);
            sink(WindowMessage::Of(WindowMessageKind::Timer));
        }
    }
}

bool SdlWindowSystem::WaitForInput(int ms)
{
    if (!videoReady || !eventsWaitable) {
        return false;
    }
    // Without an event to fill in, SDL leaves the event that ended the wait in its queue.
    SDL_WaitEventTimeout(nullptr, ms);
    return true;
}

void SdlWindowSystem::ObserveEvent(const SDL_Event& event)
{
    if (event.type == SDL_RENDER_DEVICE_RESET) {
        displayReset = true;
        return;
    }
    if (event.type == SDL_RENDER_TARGETS_RESET) {
        fullRedrawRequested = true;
        return;
    }
    if (event.type != SDL_WINDOWEVENT || event.window.windowID != WindowId()) {
        return;
    }
    switch (event.window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
    case SDL_WINDOWEVENT_RESIZED:
        UpdateScaler();
        fullRedrawRequested = true;
        break;
    case SDL_WINDOWEVENT_EXPOSED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
        fullRedrawRequested = true;
        break;
    default:
        break;
    }
}

void SdlWindowSystem::UpdateScaler()
{
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window.get(), &windowWidth, &windowHeight);
    scaler.Configure(screenWidth, screenHeight, windowWidth, windowHeight);
}

bool SdlWindowSystem::TakeFullRedrawRequest()
{
    const bool requested = fullRedrawRequested;
    fullRedrawRequested = false;
    return requested;
}

bool SdlWindowSystem::TakeDisplayReset()
{
    const bool reset = displayReset;
    displayReset = false;
    return reset;
}

void SdlWindowSystem::StartTimer(int periodMs)
{
    timerPeriod = periodMs > 0 ? periodMs : 0;
    nextTimerDue = SDL_GetTicks64() + static_cast<uint64_t>(timerPeriod);
}

Rect SdlWindowSystem::WorkArea() const
{
    if (!videoReady) {
        return Rect();
    }
    const int display = window ? std::max(SDL_GetWindowDisplayIndex(window.get()), 0) : 0;
    SDL_Rect area;
    if (SDL_GetDisplayUsableBounds(display, &area) != 0) {
        return DesktopBounds();
    }
    return Rect(area.x, area.y, area.w, area.h);
}

Rect SdlWindowSystem::DesktopBounds() const
{
    SDL_Rect bounds;
    if (!videoReady || SDL_GetDisplayBounds(0, &bounds) != 0) {
        return Rect();
    }
    return Rect(bounds.x, bounds.y, bounds.w, bounds.h);
}

bool SdlWindowSystem::IsPointerInClient() const
{
    if (!window || SDL_GetMouseFocus() != window.get()) {
        return false;
    }
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window.get(), &windowWidth, &windowHeight);
    return x >= 0 && y >= 0 && x < windowWidth && y < windowHeight;
}

SDL_Cursor* SdlWindowSystem::CursorFor(CursorKind kind)
{
    const auto index = static_cast<std::size_t>(kind);
    if (index >= cursors.size()) {
        return nullptr;
    }
    if (!cursors[index]) {
        if (kind == CursorKind::Hand) {
            cursors[index].reset(MakeColorCursor(HandCursorPixels()));
        } else if (kind == CursorKind::DraggingHand) {
            cursors[index].reset(MakeColorCursor(DraggingHandCursorPixels()));
        } else {
            cursors[index].reset(MakeSystemCursor(kind));
        }
    }
    return cursors[index].get();
}

void SdlWindowSystem::SetCursor(CursorKind kind)
{
    if (!videoReady) {
        return;
    }
    if (kind == CursorKind::Hidden || kind == CursorKind::GameDrawn) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (SDL_Cursor* cursor = CursorFor(kind)) {
        SDL_SetCursor(cursor);
    }
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlWindowSystem::SetMouseCapture(bool captured)
{
    if (captured == captureOn || !window) {
        return;
    }
    captureOn = captured;
    // Not every video driver can capture; the window then simply stops at its edge.
    SDL_CaptureMouse(captured ? SDL_TRUE : SDL_FALSE);
}

void SdlWindowSystem::AllowScreenSaver(bool allowed)
{
    if (!videoReady || screenSaverAllowed == allowed) {
        return;
    }
    screenSaverAllowed = allowed;
    if (allowed) {
        SDL_EnableScreenSaver();
    } else {
        SDL_DisableScreenSaver();
    }
}

bool SdlWindowSystem::OpenUrl(const std::string& url)
{
    return SDL_OpenURL(Utf8FromLatin1(url).c_str()) == 0;
}

std::string SdlWindowSystem::GetClipboardText() const
{
    if (!videoReady) {
        return {};
    }
    char* text = SDL_GetClipboardText();
    if (text == nullptr) {
        return {};
    }
    std::string latin1 = Latin1FromUtf8(text);
    SDL_free(text);
    return latin1;
}

void SdlWindowSystem::SetClipboardText(const std::string& text)
{
    if (videoReady) {
        SDL_SetClipboardText(Utf8FromLatin1(text).c_str());
    }
}

} // namespace Zorva
