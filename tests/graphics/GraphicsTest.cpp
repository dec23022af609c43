#include "graphics/Graphics.h"

#include "graphics/Font.h"
#include "graphics/Image.h"
#include "graphics/MemoryImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using Zorva::Color;
using Zorva::FPoint;
using Zorva::Graphics;
using Zorva::Image;
using Zorva::Rect;

namespace {

enum class Op
{
    FillRect,
    DrawRect,
    DrawLine,
    Blit,
    BlitFloat,
    BlitRotated,
    BlitStretched,
    FillPolygon,
};

struct Call
{
    Op op = Op::FillRect;
    Rect rect{};   // FillRect/DrawRect rect, BlitStretched destination
    Rect source{}; // blits
    Rect clip{};   // blits that take one
    Color color{};
    int drawMode = 0;
    Image* image = nullptr;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0; // line ends, blit positions in x1/y1
    double angle = 0;
    float centerX = 0, centerY = 0;
    bool fast = false;
};

// Records every drawing call that reaches the destination, so tests can check what the
// context translated and clipped.
class RecordingImage : public Image
{
public:
    RecordingImage(int w, int h)
    {
        width = w;
        height = h;
    }

    void FillRect(const Rect& rect, const Color& color, int drawMode) override
    {
        Add(Op::FillRect, color, drawMode).rect = rect;
    }
    void DrawRect(const Rect& rect, const Color& color, int drawMode) override
    {
        Add(Op::DrawRect, color, drawMode).rect = rect;
    }
    void DrawLine(double x1, double y1, double x2, double y2, const Color& color,
                  int drawMode) override
    {
        Call& call = Add(Op::DrawLine, color, drawMode);
        call.x1 = x1;
        call.y1 = y1;
        call.x2 = x2;
        call.y2 = y2;
    }
    void Blit(Image* source, int x, int y, const Rect& sourceRect, const Color& color,
              int drawMode) override
    {
        AddBlit(Op::Blit, source, x, y, sourceRect, Rect(), color, drawMode);
    }
    void BlitFloat(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                   const Color& color, int drawMode) override
    {
        AddBlit(Op::BlitFloat, source, x, y, sourceRect, clip, color, drawMode);
    }
    void BlitRotated(Image* source, float x, float y, const Rect& sourceRect, const Rect& clip,
                     const Color& color, int drawMode, double angle, float centerX,
                     float centerY) override
    {
        Call& call = AddBlit(Op::BlitRotated, source, x, y, sourceRect, clip, color, drawMode);
        call.angle = angle;
        call.centerX = centerX;
        call.centerY = centerY;
    }
    void BlitStretched(Image* source, const Rect& destRect, const Rect& sourceRect,
                       const Rect& clip, const Color& color, int drawMode,
                       bool fastStretch) override
    {
        Call& call = AddBlit(Op::BlitStretched, source, 0, 0, sourceRect, clip, color, drawMode);
        call.rect = destRect;
        call.fast = fastStretch;
    }
    bool FillPolygon(const FPoint*, int, const Rect& clip, const Color& color, int drawMode, int tx,
                     int ty, bool) override
    {
        AddBlit(Op::FillPolygon, nullptr, tx, ty, Rect(), clip, color, drawMode);
        return fillsPolygons;
    }

    std::vector<Call> calls;
    bool fillsPolygons = true;

private:
    Call& Add(Op op, const Color& color, int drawMode)
    {
        Call& call = calls.emplace_back();
        call.op = op;
        call.color = color;
        call.drawMode = drawMode;
        return call;
    }
    Call& AddBlit(Op op, Image* source, double x, double y, const Rect& sourceRect,
                  const Rect& clip, const Color& color, int drawMode)
    {
        Call& call = Add(op, color, drawMode);
        call.image = source;
        call.x1 = x;
        call.y1 = y;
        call.source = sourceRect;
        call.clip = clip;
        return call;
    }
};

struct TextDraw
{
    std::string text;
    int x;
    int y;
    Color color;
    Rect clip;
};

// Every character 6 px wide; ascent 8 (padding 1), height 10, line spacing 12.
class TestFont : public Zorva::Font
{
public:
    TestFont()
    {
        ascent = 8;
        ascentPadding = 1;
        height = 10;
        lineSpacingOffset = 2;
    }

    int TextWidth(const std::string& text) override { return 6 * static_cast<int>(text.size()); }
    int CharWidth(char) override { return 6; }
    int CharWidthAfter(char, char) override { return 6; }
    void DrawText(Graphics*, int x, int y, const std::string& text, const Color& color,
                  const Rect& clip) override
    {
        draws.push_back({text, x, y, color, clip});
    }
    std::unique_ptr<Font> Duplicate() const override { return std::make_unique<TestFont>(*this); }

    std::vector<TextDraw> draws;
};

std::vector<Rect> FillRects(const RecordingImage& image)
{
    std::vector<Rect> rects;
    for (const Call& call : image.calls) {
        if (call.op == Op::FillRect) {
            rects.push_back(call.rect);
        }
    }
    return rects;
}

std::vector<std::string> DrawnTexts(const TestFont& font)
{
    std::vector<std::string> texts;
    for (const TextDraw& draw : font.draws) {
        texts.push_back(draw.text);
    }
    return texts;
}

} // namespace

TEST(GraphicsTest, State_DefaultsStackAndCopies)
{
    RecordingImage dest(100, 80);
    Graphics g(&dest);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 80));
    EXPECT_EQ(g.GetColor(), Color(0, 0, 0, 255));
    EXPECT_EQ(g.GetFont(), nullptr);
    EXPECT_EQ(g.GetDrawMode(), 0);
    EXPECT_FALSE(g.GetModulateImages());
    EXPECT_FALSE(g.GetFastStretch());
    EXPECT_FALSE(g.GetLinearBlend());
    EXPECT_TRUE(g.GetColorCodes());

    g.SetColor(Color(1, 2, 3, 4));
    g.Translate(5, 6);
    g.SetClip(0, 0, 10, 10);
    g.RestoreState(); // nothing saved: nothing changes
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    EXPECT_FLOAT_EQ(g.GetTranslationX(), 5);
    EXPECT_FLOAT_EQ(g.GetTranslationY(), 6);
    EXPECT_EQ(g.GetClipRect(), Rect(5, 6, 10, 10));

    g.SaveState();
    g.SetColor(Color(9, 9, 9, 9));
    g.Translate(1, 1);
    g.ResetClip();
    g.SetDrawMode(Zorva::kDrawModeAdditive);
    g.SaveState();
    g.SetFastStretch(true);
    g.RestoreState();
    EXPECT_FALSE(g.GetFastStretch());
    EXPECT_EQ(g.GetDrawMode(), Zorva::kDrawModeAdditive);
    g.RestoreState();
    EXPECT_EQ(g.GetColor(), Color(1, 2, 3, 4));
    EXPECT_FLOAT_EQ(g.GetTranslationX(), 5);
    EXPECT_EQ(g.GetClipRect(), Rect(5, 6, 10, 10));
    EXPECT_EQ(g.GetDrawMode(), Zorva::kDrawModeNormal);

    // Copies take the state, not the stack.
    g.SaveState();
    g.SetColor(Color(7, 7, 7, 7));
    Graphics copy(g);
    copy.RestoreState();
    EXPECT_EQ(copy.GetColor(), Color(7, 7, 7, 7));
    std::unique_ptr<Graphics> duplicate = g.Duplicate();
    duplicate->RestoreState();
    EXPECT_EQ(duplicate->GetColor(), Color(7, 7, 7, 7));
    EXPECT_EQ(duplicate->GetDestinationImage(), &dest);

    // A context without an image draws into an empty one.
    Graphics nowhere(nullptr);
    ASSERT_NE(nowhere.GetDestinationImage(), nullptr);
    EXPECT_EQ(nowhere.GetClipRect().width, 0);
    nowhere.SetClip(0, 0, 50, 50);
    EXPECT_TRUE(nowhere.GetClipRect().IsEmpty());
    nowhere.FillRect(0, 0, 10, 10);
}

TEST(GraphicsTest, Clip_SetClipIsCutToTheImageNarrowClipToTheCurrentClip)
{
    RecordingImage dest(100, 80);
    Graphics g(&dest);
    g.SetClip(-10, -20, 500, 500);
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 80));

    g.Translate(10, 20);
    g.SetClip(0, 0, 50, 50);
    EXPECT_EQ(g.GetClipRect(), Rect(10, 20, 50, 50));
    g.NarrowClip(-5, -5, 20, 20);
    EXPECT_EQ(g.GetClipRect(), Rect(10, 20, 15, 15));
    g.NarrowClip(100, 100, 5, 5);
    EXPECT_TRUE(g.GetClipRect().IsEmpty());
    g.FillRect(0, 0, 100, 100);
    EXPECT_TRUE(dest.calls.empty());
    g.ResetClip();
    EXPECT_EQ(g.GetClipRect(), Rect(0, 0, 100, 80));
}

TEST(GraphicsTest, Translation_IntegerCallsTruncateTowardZeroFloatCallsKeepFractions)
{
    RecordingImage dest(100, 80);
    RecordingImage picture(4, 4);
    Graphics g(&dest);
    g.Translate(0.7f, -0.7f);

    g.FillRect(3, 3, 4, 4);   // 3.7 -> 3, 2.3 -> 2
    g.FillRect(-1, -1, 4, 4); // -0.3 -> 0 (not -1), -1.7 -> -1, then clipped
    EXPECT_EQ(FillRects(dest), (std::vector<Rect>{Rect(3, 2, 4, 4), Rect(0, 0, 4, 3)}));

    dest.calls.clear();
    g.DrawImageFloat(&picture, 1, 2);
    g.DrawLine(1, 1, 1, 5);
    ASSERT_EQ(dest.calls.size(), 2u);
    EXPECT_EQ(dest.calls[0].op, Op::BlitFloat);
    EXPECT_FLOAT_EQ(static_cast<float>(dest.calls[0].x1), 1.7f);
    EXPECT_FLOAT_EQ(static_cast<float>(dest.calls[0].y1), 1.3f);
    EXPECT_EQ(dest.calls[1].op, Op::DrawLine);
    EXPECT_NEAR(dest.calls[1].x1, 1.7, 1e-6);
    EXPECT_NEAR(dest.calls[1].y1, 0.3, 1e-6);
    EXPECT_NEAR(dest.calls[1].y2, 4.3, 1e-6);

    // FillRect with alpha 0 reaches nothing.
    dest.calls.clear();
    g.SetColor(Color(255, 255, 255, 0));
    g.FillRect(0, 0, 10, 10);
    g.DrawRect(0, 0, 10, 10);
    EXPECT_TRUE(dest.calls.empty());
}

TEST(GraphicsTest, DrawRect_InsideTheClipOneImageCallPartlyOutsideClippedFills)
{
    RecordingImage dest(100, 80);
    Graphics g(&dest);
    g.SetColor(Color(10, 20, 30, 200));
    g.SetClip(10, 10, 50, 50);

    g.DrawRect(10, 10, 49, 49); // outline 50 x 50 fills the clip exactly
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].op, Op::DrawRect);
    EXPECT_EQ(dest.calls[0].rect, Rect(10, 10, 49, 49));
    EXPECT_EQ(dest.calls[0].color, Color(10, 20, 30, 200));

    // One column too wide: the edges are filled separately, each cut to the clip, and the
    // right edge (all outside) reaches nothing.
    dest.calls.clear();
    g.DrawRect(10, 20, 50, 9);
    EXPECT_EQ(FillRects(dest),
              (std::vector<Rect>{Rect(10, 20, 50, 1), Rect(10, 29, 50, 1), Rect(10, 21, 1, 8)}));
    EXPECT_EQ(dest.calls.size(), 3u);

    dest.calls.clear();
    g.Translate(-5, 0);
    g.DrawRect(10, 30, 20, 5);
    EXPECT_EQ(FillRects(dest),
              (std::vector<Rect>{Rect(10, 30, 16, 1), Rect(10, 35, 16, 1), Rect(25, 31, 1, 4)}));
}

TEST(GraphicsTest, DrawLine_DiagonalsAreCutToTheClipColumnsAndRows)
{
    RecordingImage dest(100, 80);
    Graphics g(&dest);
    g.SetClip(10, 10, 21, 21); // columns and rows 10..30

    g.DrawLine(0, 0, 40, 40);
    g.DrawLine(40, 0, 0, 40);
    g.DrawLine(0, 0, 20, 40);
    g.DrawLine(0, 0, 5, 40);   // left of the clip
    g.DrawLine(0, 40, 50, 45); // below it
    ASSERT_EQ(dest.calls.size(), 3u);
    const auto expectLine = [](const Call& call, double x1, double y1, double x2, double y2) {
        EXPECT_DOUBLE_EQ(call.x1, x1);
        EXPECT_DOUBLE_EQ(call.y1, y1);
        EXPECT_DOUBLE_EQ(call.x2, x2);
        EXPECT_DOUBLE_EQ(call.y2, y2);
    };
    expectLine(dest.calls[0], 10, 10, 30, 30);
    expectLine(dest.calls[1], 30, 10, 10, 30);
    expectLine(dest.calls[2], 10, 20, 15, 30);
}

TEST(GraphicsTest, DrawImage_ClippedAtTheEdgesBlitsTheVisiblePartOfTheSource)
{
    RecordingImage dest(100, 80);
    RecordingImage picture(20, 16);
    Graphics g(&dest);
    g.SetClip(10, 10, 50, 50);
    g.SetColor(Color(255, 0, 0, 128));

    g.DrawImage(&picture, 5, 50);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].op, Op::Blit);
    EXPECT_EQ(dest.calls[0].image, &picture);
    EXPECT_EQ(dest.calls[0].x1, 10);
    EXPECT_EQ(dest.calls[0].y1, 50);
    EXPECT_EQ(dest.calls[0].source, Rect(5, 0, 15, 10));
    EXPECT_EQ(dest.calls[0].color, Color::kWhite); // modulation is off

    dest.calls.clear();
    g.SetModulateImages(true);
    g.Translate(40, -10);
    g.DrawImage(&picture, 10, 15, Rect(4, 2, 10, 10)); // placed at (50, 5)
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].x1, 50);
    EXPECT_EQ(dest.calls[0].y1, 10);
    EXPECT_EQ(dest.calls[0].source, Rect(4, 7, 10, 5));
    EXPECT_EQ(dest.calls[0].color, Color(255, 0, 0, 128));

    // Wholly outside, or a source rect beyond the picture: nothing.
    dest.calls.clear();
    g.DrawImage(&picture, 100, 100);
    g.DrawImage(&picture, 0, 20, Rect(15, 0, 6, 4));
    g.DrawImage(&picture, 0, 20, Rect(-1, 0, 6, 4));
    g.DrawImage(&picture, 0, 20, Rect(0, 10, 6, 7));
    g.DrawImage(&picture, Rect(0, 20, 30, 30), Rect(0, 0, 21, 16));
    EXPECT_TRUE(dest.calls.empty());
}

TEST(GraphicsTest, DrawImage_StretchedRotatedAndFloatFormsPassClipAndSwitches)
{
    RecordingImage dest(100, 80);
    RecordingImage picture(21, 15);
    Graphics g(&dest);
    g.Translate(2.5f, 3);
    g.SetClip(0, 0, 60, 60);
    g.SetFastStretch(true);
    g.SetDrawMode(Zorva::kDrawModeAdditive);

    g.DrawImage(&picture, 1, 1, 40, 30);
    g.DrawImage(&picture, Rect(-5, 0, 10, 10), Rect(1, 2, 3, 4));
    g.DrawImageRotated(&picture, 10, 10, 0.5);
    g.DrawImageRotated(&picture, 10, 10, 0.25, 1, 2);
    ASSERT_EQ(dest.calls.size(), 4u);

    EXPECT_EQ(dest.calls[0].op, Op::BlitStretched);
    EXPECT_EQ(dest.calls[0].rect, Rect(3, 4, 40, 30));
    EXPECT_EQ(dest.calls[0].source, Rect(0, 0, 21, 15));
    EXPECT_EQ(dest.calls[0].clip, Rect(2, 3, 60, 60));
    EXPECT_TRUE(dest.calls[0].fast);
    EXPECT_EQ(dest.calls[0].drawMode, Zorva::kDrawModeAdditive);

    EXPECT_EQ(dest.calls[1].rect, Rect(-2, 3, 10, 10)); // -2.5 truncates to -2
    EXPECT_EQ(dest.calls[1].source, Rect(1, 2, 3, 4));

    EXPECT_EQ(dest.calls[2].op, Op::BlitRotated);
    EXPECT_FLOAT_EQ(static_cast<float>(dest.calls[2].x1), 12.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(dest.calls[2].y1), 13);
    EXPECT_DOUBLE_EQ(dest.calls[2].angle, 0.5);
    EXPECT_FLOAT_EQ(dest.calls[2].centerX, 10); // 21 / 2 in integers
    EXPECT_FLOAT_EQ(dest.calls[2].centerY, 7);
    EXPECT_EQ(dest.calls[2].source, Rect(0, 0, 21, 15));
    EXPECT_FLOAT_EQ(dest.calls[3].centerX, 1);
    EXPECT_FLOAT_EQ(dest.calls[3].centerY, 2);
}

TEST(GraphicsTest, DrawImageCell_PicksTheCellAndIgnoresCellsOutsideTheGrid)
{
    RecordingImage dest(100, 80);
    RecordingImage sheet(40, 30);
    sheet.numRows = 3;
    sheet.numCols = 4;
    Graphics g(&dest);

    g.DrawImageCell(&sheet, 5, 6, 6); // row 1, column 2
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].source, Rect(20, 10, 10, 10));
    EXPECT_EQ(dest.calls[0].x1, 5);
    EXPECT_EQ(dest.calls[0].y1, 6);

    dest.calls.clear();
    g.DrawImageCell(&sheet, 5, 6, 12);
    g.DrawImageCell(&sheet, 5, 6, -1);
    EXPECT_TRUE(dest.calls.empty());
    g.DrawImageCell(&sheet, 5, 6, 11);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].source, Rect(30, 20, 10, 10));
}

TEST(GraphicsTest, DrawImageNineSlice_RepeatsEdgesAndCutsTheLastPiece)
{
    RecordingImage dest(100, 80);
    RecordingImage frame(30, 30); // corners 10 x 10, middle pieces 10 x 10
    Graphics g(&dest);

    g.DrawImageNineSlice(&frame, Rect(0, 0, 55, 35));
    // Four corners, 4 pieces on top and bottom, 2 down each side, 4 x 2 in the centre.
    ASSERT_EQ(dest.calls.size(), 4u + 8u + 4u + 8u);
    const auto blitAt = [&](int x, int y) -> const Call* {
        for (const Call& call : dest.calls) {
            if (call.x1 == x && call.y1 == y) {
                return &call;
            }
        }
        return nullptr;
    };
    ASSERT_NE(blitAt(45, 25), nullptr);
    EXPECT_EQ(blitAt(45, 25)->source, Rect(20, 20, 10, 10)); // bottom-right corner
    ASSERT_NE(blitAt(40, 0), nullptr);
    EXPECT_EQ(blitAt(40, 0)->source, Rect(10, 0, 5, 10)); // last top piece, cut at x 45
    ASSERT_NE(blitAt(0, 20), nullptr);
    EXPECT_EQ(blitAt(0, 20)->source, Rect(0, 10, 10, 5)); // last left piece, cut at y 25
    ASSERT_NE(blitAt(40, 20), nullptr);
    EXPECT_EQ(blitAt(40, 20)->source, Rect(10, 10, 5, 5)); // last centre piece
    for (const Call& call : dest.calls) {
        EXPECT_LE(call.x1 + call.source.width, 55);
        EXPECT_LE(call.y1 + call.source.height, 35);
    }
}

TEST(GraphicsTest, DrawImageNineSlice_HugeDestinationDrawsOnlyTheVisiblePieces)
{
    RecordingImage dest(100, 80);
    RecordingImage frame(3, 3); // one-pixel pieces
    Graphics g(&dest);
    g.DrawImageNineSlice(&frame, Rect(-500000000, 0, 1000000000, 3));
    std::vector<int> topColumns;
    for (const Call& call : dest.calls) {
        ASSERT_GE(call.x1, 0);
        ASSERT_LT(call.x1, 100);
        if (call.y1 == 0) {
            topColumns.push_back(static_cast<int>(call.x1));
        }
    }
    EXPECT_EQ(dest.calls.size(), 300u); // top, middle and bottom rows across the image
    ASSERT_EQ(topColumns.size(), 100u);
    for (int x = 0; x < 100; ++x) {
        EXPECT_EQ(topColumns[static_cast<size_t>(x)], x);
    }
}

TEST(GraphicsTest, DrawText_GoesToTheFontUntranslatedWithColourAndClip)
{
    RecordingImage dest(100, 80);
    TestFont font;
    Graphics g(&dest);
    g.DrawText("no font", 0, 0); // nothing, no crash
    g.SetFont(&font);
    g.Translate(3, 4);
    g.SetClip(0, 0, 20, 20);
    g.SetColor(Color(1, 2, 3, 4));
    g.DrawText("hi", 10, 12);
    ASSERT_EQ(font.draws.size(), 1u);
    EXPECT_EQ(font.draws[0].text, "hi");
    EXPECT_EQ(font.draws[0].x, 10);
    EXPECT_EQ(font.draws[0].y, 12);
    EXPECT_EQ(font.draws[0].color, Color(1, 2, 3, 4));
    EXPECT_EQ(font.draws[0].clip, Rect(3, 4, 20, 20));
}

TEST(GraphicsTest, DrawTextLine_ColourCodesSetColourKeepAlphaAndDoubledCaretIsOneCaret)
{
    RecordingImage dest(100, 80);
    TestFont font;
    Graphics g(&dest);
    g.SetFont(&font);
    g.SetColor(Color(10, 20, 30, 128));

    EXPECT_EQ(g.DrawTextLine("ab^FF0000xcd", 5, 20, 0, -1), 24);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[0].text, "ab");
    EXPECT_EQ(font.draws[0].x, 5);
    EXPECT_EQ(font.draws[0].color, Color(10, 20, 30, 128));
    EXPECT_EQ(font.draws[1].text, "cd");
    EXPECT_EQ(font.draws[1].x, 17);
    EXPECT_EQ(font.draws[1].y, 20);
    EXPECT_EQ(font.draws[1].color, Color(255, 0, 0, 128));
    EXPECT_EQ(g.GetColor(), Color(255, 0, 0, 128)); // left as the code set it

    // Lower-case digits count; any other character counts 0.
    font.draws.clear();
    g.DrawTextLine("^7fG0a!.x", 0, 0, 0, -1);
    ASSERT_EQ(font.draws.size(), 1u);
    EXPECT_EQ(font.draws[0].text, "x");
    EXPECT_EQ(font.draws[0].color, Color(0x7F, 0x00, 0xA0, 128));

    font.draws.clear();
    EXPECT_EQ(g.DrawTextLine("a^^b", 0, 0, 0, -1), 18);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"a^b"}));

    // Fewer than eight characters from the caret: the rest is dropped.
    font.draws.clear();
    g.SetColor(Color(1, 1, 1, 255));
    EXPECT_EQ(g.DrawTextLine("ab^FF0000", 0, 0, 0, -1), 12);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"ab"}));
    EXPECT_EQ(g.GetColor(), Color(1, 1, 1, 255));

    // Measuring draws nothing and leaves the colour alone.
    font.draws.clear();
    EXPECT_EQ(g.DrawTextLine("^00FF00xabc", 0, 0, 0, -1, false), 18);
    EXPECT_TRUE(font.draws.empty());
    EXPECT_EQ(g.GetColor(), Color(1, 1, 1, 255));

    // A range of the text; a range beyond the end is cut to it.
    EXPECT_EQ(g.DrawTextLine("hello world", 0, 0, 0, -1, true, 6, 3), 18);
    EXPECT_EQ(g.DrawTextLine("hello world", 0, 0, 0, -1, true, 6, 50), 30);
    EXPECT_EQ(g.DrawTextLine("hello world", 0, 0, 0, -1, true, 20, 5), 0);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"wor", "world"}));

    font.draws.clear();
    g.SetColorCodes(false);
    EXPECT_EQ(g.DrawTextLine("a^FF0000b", 0, 0, 0, -1), 54);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"a^FF0000b"}));
}

TEST(GraphicsTest, DrawTextLine_JustificationCentresOrAlignsRight)
{
    RecordingImage dest(100, 80);
    TestFont font;
    Graphics g(&dest);
    g.SetFont(&font);
    g.SetColor(Color(9, 9, 9, 255));

    g.DrawTextLine("abcd", 5, 0, 100, 0); // 24 px wide
    g.DrawTextLine("abcd", 5, 0, 100, 1);
    g.DrawTextLine("abcd", 5, 0, 100, 2);
    g.DrawTextLine("abcd", 5, 0, 25, 0); // odd remainder rounds toward zero
    ASSERT_EQ(font.draws.size(), 4u);
    EXPECT_EQ(font.draws[0].x, 43);
    EXPECT_EQ(font.draws[1].x, 81);
    EXPECT_EQ(font.draws[2].x, 5);
    EXPECT_EQ(font.draws[3].x, 5);

    // Codes take no width, and the first run keeps the caller's colour.
    font.draws.clear();
    g.DrawTextLine("ab^FF0000xcd", 0, 0, 100, 1);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[0].x, 76);
    EXPECT_EQ(font.draws[0].color, Color(9, 9, 9, 255));
    EXPECT_EQ(font.draws[1].x, 88);
    EXPECT_EQ(font.draws[1].color, Color(255, 0, 0, 255));
}

TEST(GraphicsTest, DrawWrappedText_BreaksLongWordsBetweenCharactersAndLinesAtBlanks)
{
    RecordingImage dest(200, 200);
    TestFont font;
    Graphics g(&dest);
    g.SetFont(&font);
    const Rect field(4, 100, 30, 0); // five characters per line

    EXPECT_EQ(g.DrawWrappedText(field, "abcdefghijkl"), 33); // 9 + 2 line spacings
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"abcde", "fghij", "kl"}));
    ASSERT_EQ(font.draws.size(), 3u);
    EXPECT_EQ(font.draws[0].x, 4);
    EXPECT_EQ(font.draws[0].y, 107); // ascent - ascent padding
    EXPECT_EQ(font.draws[1].y, 119);
    EXPECT_EQ(font.draws[2].y, 131);
    EXPECT_EQ(Graphics::MeasureWrappedText(&font, 30, "abcdefghijkl"), 33);

    // At the last blank; the blanks after it are skipped.
    font.draws.clear();
    int widest = 0;
    EXPECT_EQ(g.DrawWrappedText(field, "ab cdef   gh", -1, -1, &widest), 33);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"ab", "cdef ", "gh"}));
    EXPECT_EQ(widest, 30);

    // A line feed breaks; blanks after it stay.
    font.draws.clear();
    EXPECT_EQ(g.DrawWrappedText(field, "ab\n  cd\n"), 33);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"ab", "  cd"}));

    // A tab is a blank: lines break at it and it is drawn as one.
    font.draws.clear();
    EXPECT_EQ(g.DrawWrappedText(field, "ab\tcd\t\tefgh"), 21);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"ab cd", "efgh"}));

    // A single character wider than the field still makes progress.
    font.draws.clear();
    EXPECT_EQ(g.DrawWrappedText(Rect(0, 0, 4, 0), "xyz"), 33);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"x", "y", "z"}));
    EXPECT_EQ(Graphics::MeasureWrappedText(&font, 4, "xyz"), 33);

    // An explicit line spacing.
    font.draws.clear();
    EXPECT_EQ(g.DrawWrappedText(field, "abcdefg", 20), 29);
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[1].y, 127);
}

TEST(GraphicsTest, DrawWrappedText_ColourCodesTakeNoWidthAndColourIsRestored)
{
    RecordingImage dest(200, 200);
    TestFont font;
    Graphics g(&dest);
    g.SetFont(&font);
    g.SetColor(Color(5, 6, 7, 200));

    EXPECT_EQ(g.DrawWrappedText(Rect(0, 0, 30, 0), "^FF0000xabcde^^fgh"), 21);
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"abcde", "^fgh"}));
    ASSERT_EQ(font.draws.size(), 2u);
    EXPECT_EQ(font.draws[0].color, Color(255, 0, 0, 200));
    EXPECT_EQ(font.draws[1].color, Color(255, 0, 0, 200)); // the code carries to later lines
    EXPECT_EQ(g.GetColor(), Color(5, 6, 7, 200));

    // A doubled caret at a break moves to the next line whole.
    font.draws.clear();
    g.DrawWrappedText(Rect(0, 0, 30, 0), "abcde^^x");
    EXPECT_EQ(DrawnTexts(font), (std::vector<std::string>{"abcde", "^x"}));

    EXPECT_EQ(Graphics::MeasureWrappedText(&font, 30, "^FF0000xabcde^^fgh"), 21);
    EXPECT_EQ(Graphics::MeasureWrappedText(nullptr, 30, "abc"), 0);
    EXPECT_EQ(Graphics::MeasureWrappedText(&font, 30, ""), 9);
}

TEST(GraphicsTest, FillPolygon_ImageFirstThenSoftwareSpansWithIntegerTranslation)
{
    RecordingImage dest(100, 80);
    Graphics g(&dest);
    g.SetClip(0, 0, 100, 6);
    g.Translate(2.6f, 3.2f);
    g.SetColor(Color(1, 2, 3, 255));
    const FPoint square[] = {{1, 1}, {5, 1}, {5, 5}, {1, 5}};

    g.FillPolygon(square, 4);
    ASSERT_EQ(dest.calls.size(), 1u);
    EXPECT_EQ(dest.calls[0].op, Op::FillPolygon);
    EXPECT_EQ(dest.calls[0].x1, 2);
    EXPECT_EQ(dest.calls[0].y1, 3);
    EXPECT_EQ(dest.calls[0].clip, Rect(0, 0, 100, 6));

    // Declined: filled in software, corners at (3, 4)..(7, 8), rows cut at the clip.
    dest.calls.clear();
    dest.fillsPolygons = false;
    g.FillPolygon(square, 4);
    EXPECT_EQ(FillRects(dest), (std::vector<Rect>{Rect(3, 4, 4, 1), Rect(3, 5, 4, 1)}));

    dest.calls.clear();
    g.FillPolygon(square, 2);
    EXPECT_TRUE(dest.calls.empty());
}

TEST(GraphicsTest, Pixels_TranslatedClippedDrawingReachesAMemoryImage)
{
    Zorva::MemoryImage dest;
    dest.Create(8, 8);
    dest.Clear();
    const uint32_t sourcePixels[9] = {0xFF000001, 0xFF000002, 0xFF000003, 0xFF000004, 0xFF000005,
                                      0xFF000006, 0xFF000007, 0xFF000008, 0xFF000009};
    Zorva::MemoryImage source;
    source.SetPixels(sourcePixels, 3, 3, true);

    Graphics g(&dest);
    g.SetClip(1, 1, 6, 6);
    g.Translate(0.9f, 0.9f);
    g.SetColor(Color(255, 0, 0, 255));
    g.FillRect(-1, -1, 3, 3); // -0.1 truncates to 0: (0, 0, 3, 3), clipped to (1, 1, 2, 2)
    g.SetColor(Color(0, 255, 0, 255));
    g.DrawRect(3, 3, 3, 3);     // outline 3..6 inside the clip
    g.DrawImage(&source, 5, 5); // only its top-left 2 x 2 is inside the clip

    const auto at = [&](int x, int y) { return dest.PixelAt(x, y); };
    EXPECT_EQ(at(0, 0), 0u);
    EXPECT_EQ(at(1, 1), 0xFFFF0000u);
    EXPECT_EQ(at(2, 2), 0xFFFF0000u);
    EXPECT_EQ(at(3, 1), 0u);
    EXPECT_EQ(at(3, 3), 0xFF00FF00u);
    EXPECT_EQ(at(4, 6), 0xFF00FF00u);
    EXPECT_EQ(at(6, 4), 0xFF00FF00u);
    EXPECT_EQ(at(4, 4), 0u);
    EXPECT_EQ(at(5, 5), 0xFF000001u);
    EXPECT_EQ(at(6, 5), 0xFF000002u);
    EXPECT_EQ(at(5, 6), 0xFF000004u);
    EXPECT_EQ(at(6, 6), 0xFF000005u);
    EXPECT_EQ(at(7, 7), 0u);
    EXPECT_EQ(at(7, 5), 0u);
}
