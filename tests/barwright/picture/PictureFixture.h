#pragma once
// A host form with the engine's three picture boxes and colour label, a test
// owner that records notifications, and a fixture that wires one engine to
// them on a 16 x 16 picture filled with the mask colour.

#include "barwright/picture/CDraw.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/PictureBox.h"

#include <gmock/gmock.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace picturetest {

inline constexpr int32_t Mask = int32_t(gdi::RGB(97, 65, 33));
inline constexpr int32_t Left = int32_t(gdi::RGB(255, 0, 0));
inline constexpr int32_t Right = int32_t(gdi::RGB(0, 0, 255));

class PictureHost final : public forms::Form {
public:
    QString className() const override { return QStringLiteral("PictureHost"); }
    forms::PictureBox picCanvas{this, QStringLiteral("picCanvas")};
    forms::PictureBox picActual{this, QStringLiteral("picActual")};
    forms::PictureBox picPreview{this, QStringLiteral("picPreview")};
    forms::Label lbColor{this, QStringLiteral("lbColor")};

    // Canvas side and picture size in pixels.
    void layout(int32_t canvasSide, int32_t picSide);
};

class Owner final : public com::Dispatch {
public:
    Owner();
    std::vector<int16_t> codes;
    std::function<void(int16_t)> onNotify;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    PictureHost& host();
    // A fresh engine bound to the host, with its image read from picActual.
    void makeEngine(int32_t canvasSide = 256);
    // Mouse events at the centre of image pixel (x, y).
    void down(int16_t x, int16_t y, int16_t button = 1);
    void move(int16_t x, int16_t y, int16_t button = 1);
    void up(int16_t x, int16_t y, int16_t button = 1);
    void drag(const char* tool, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
              int16_t button = 1);
    void click(const char* tool, int16_t x, int16_t y, int16_t button = 1);
    int32_t px(int32_t x, int32_t y) const;
    // Rows of the picture: '.' mask, 'L' left, 'R' right colour, '?' other.
    std::vector<std::string> rows(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const;
    int countNot(int32_t color) const;

    std::unique_ptr<CDraw> engine;
    std::shared_ptr<Owner> owner;
    int32_t zoom = 16;
};

}  // namespace picturetest
