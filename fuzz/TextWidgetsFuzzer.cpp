// Drives an edit field and two linked lists with input the bytes choose (keys, characters,
// clipboard texts, pointer, limits, lines, scrolling) and checks after every step that every
// position stays inside its text.

#include "graphics/Font.h"
#include "graphics/Graphics.h"
#include "graphics/MemoryImage.h"
#include "widgets/EditWidget.h"
#include "widgets/ListWidget.h"
#include "widgets/ScrollListener.h"
#include "widgets/WidgetHost.h"
#include "widgets/WidgetManager.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <memory>
#include <string>

namespace {

/// Characters of different widths, some of none, with a negative kerning between equal
/// characters, so measuring meets every shape a real font can have.
class UnevenFont : public Zorva::Font
{
public:
    UnevenFont()
    {
        height = 11;
        ascent = 9;
    }
    int TextWidth(const std::string& text) override
    {
        int width = 0;
        char previous = 0;
        for (const char c : text) {
            width += CharWidthAfter(c, previous);
            previous = c;
        }
        return width;
    }
    int CharWidthAfter(char c, char previous) override
    {
        const int width = static_cast<unsigned char>(c) % 7;
        return previous == c && width > 0 ? width - 1 : width;
    }
    void DrawText(Zorva::Graphics* context, int x, int y, const std::string& text,
                  const Zorva::Color& color, const Zorva::Rect&) override
    {
        context->SaveState();
        context->SetColor(color);
        context->FillRect(x, y - 6, TextWidth(text), 6);
        context->RestoreState();
    }
    std::unique_ptr<Zorva::Font> Duplicate() const override
    {
        return std::make_unique<UnevenFont>(*this);
    }
};

class FuzzHost : public Zorva::WidgetHost
{
public:
    void SetCursor(Zorva::CursorKind) override {}
    void DeferWidgetDelete(Zorva::Widget*) override {}
    int GetUpdateCount() const override { return 0; }
    bool Is3D() const override { return false; }
    std::string GetClipboard() const override { return clipboard; }
    void SetClipboard(const std::string& text) override { clipboard = text; }

    std::string clipboard;
};

class Input
{
public:
    Input(const uint8_t* newData, size_t newSize) : data(newData), size(newSize) {}

    bool AtEnd() const { return at >= size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    std::string Chunk(size_t length)
    {
        std::string chunk;
        while (chunk.size() < length && !AtEnd()) {
            chunk += static_cast<char>(Byte());
        }
        return chunk;
    }

private:
    const uint8_t* data;
    size_t size;
    size_t at = 0;
};

void Check(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

void CheckEdit(const Zorva::EditWidget& edit)
{
    const int length = static_cast<int>(edit.text.size());
    Check(edit.cursorPos >= 0 && edit.cursorPos <= length);
    Check(edit.leftPos >= 0 && edit.leftPos <= length);
    Check(edit.hiliteStart >= -1 && edit.hiliteStart <= length);
    Check(length <= Zorva::EditWidget::kMaxTextLength);
}

void CheckList(const Zorva::ListWidget& list)
{
    Check(list.selectIndex >= -1 && list.selectIndex < static_cast<int>(list.lines.size()));
    Check(list.hiliteIndex >= -1 && list.hiliteIndex < static_cast<int>(list.lines.size()));
    Check(list.lineColors.size() <= list.lines.size());
}

double ScrollValue(uint8_t code)
{
    switch (code % 8) {
    case 0:
        return std::numeric_limits<double>::quiet_NaN();
    case 1:
        return std::numeric_limits<double>::infinity();
    case 2:
        return -1e300;
    default:
        return static_cast<double>(code) / 4.0 - 8.0;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static constexpr int kClickCodes[] = {1, 2, -1, -2, 3};
    FuzzHost host;
    Zorva::WidgetManager manager(&host);
    Zorva::MemoryImage screen;
    screen.Create(160, 80);
    manager.Resize(160, 80);
    manager.SetScreenImage(&screen);
    manager.OnAppFocusIn();
    const UnevenFont font;

    Zorva::EditWidget edit(1, nullptr);
    edit.SetFont(&font);
    edit.Place(4, 4, 90, 18);
    Zorva::ListWidget names(2, nullptr);
    Zorva::ListWidget scores(3, nullptr);
    names.SetFont(&font);
    scores.SetFont(&font);
    names.Place(4, 30, 70, 44);
    scores.Place(80, 30, 70, 44);
    names.LinkChild(&scores);
    manager.AddWidget(&edit);
    manager.AddWidget(&names);
    manager.AddWidget(&scores);
    manager.SetFocus(&edit);

    Input input(data, size);
    while (!input.AtEnd()) {
        const uint8_t op = input.Byte();
        Zorva::ListWidget& list = (op & 0x80) != 0 ? scores : names;
        switch (op % 20) {
        case 0:
            manager.KeyDown(input.Byte() % 255);
            break;
        case 1:
            manager.KeyUp(input.Byte() % 255);
            break;
        case 2:
            manager.KeyChar(static_cast<char>(input.Byte()));
            break;
        case 3: {
            const std::string piece = input.Chunk(input.Byte());
            const int repeats = input.Byte() % 16 + 1;
            host.clipboard.clear();
            for (int i = 0; i < repeats; ++i) {
                host.clipboard += piece;
            }
            break;
        }
        case 4:
            manager.PointerMove(input.Byte() - 10, input.Byte() / 3 - 5);
            break;
        case 5: {
            const int px = input.Byte() - 10;
            const int py = input.Byte() / 3 - 5;
            manager.PointerDown(px, py, kClickCodes[input.Byte() % 5]);
            break;
        }
        case 6: {
            const int px = input.Byte() - 10;
            const int py = input.Byte() / 3 - 5;
            manager.PointerUp(px, py, kClickCodes[input.Byte() % 5]);
            break;
        }
        case 7:
            edit.maxChars = input.Byte() % 24 - 1;
            edit.maxPixels = static_cast<int8_t>(input.Byte());
            edit.passwordChar = (input.Byte() & 1) != 0 ? '*' : 0;
            if (edit.widthFonts.size() < 3 && (input.Byte() & 1) != 0) {
                edit.AddWidthFont(&font, static_cast<int8_t>(input.Byte()));
            }
            break;
        case 8:
            for (int i = input.Byte() % 50; i > 0; --i) {
                manager.UpdateFrame();
            }
            break;
        case 9:
            manager.DrawScreen();
            break;
        case 10:
            edit.SetText(input.Chunk(input.Byte()), (input.Byte() & 1) != 0);
            break;
        case 11:
            edit.Place(4, 4, input.Byte() % 130, input.Byte() % 40);
            break;
        case 12:
            list.AddLine(input.Chunk(input.Byte() % 12), (input.Byte() & 1) != 0);
            break;
        case 13:
            list.RemoveLine(input.Byte() % 24 - 2);
            break;
        case 14:
            list.Sort((input.Byte() & 1) != 0);
            break;
        case 15:
            list.SetSelect(input.Byte() % 24 - 2);
            break;
        case 16:
            manager.SetFocus(&list);
            manager.Wheel(static_cast<int8_t>(input.Byte()));
            manager.SetFocus(&edit);
            break;
        case 17:
            list.OnScrolled(0, ScrollValue(input.Byte()));
            break;
        case 18:
            list.sortPadLength = input.Byte() % 12;
            list.sortByChildFirst = (input.Byte() & 1) != 0;
            list.SetLineColor(list.GetLine(input.Byte() % 8), Zorva::Color(200, 0, 0));
            break;
        case 19:
            list.Place(list.x, list.y, input.Byte() % 90, input.Byte() % 60);
            if ((input.Byte() & 1) != 0) {
                list.RemoveAll();
            }
            break;
        default:
            break;
        }
        CheckEdit(edit);
        CheckList(names);
        CheckList(scores);
    }
    manager.DrawScreen();
    return 0;
}
