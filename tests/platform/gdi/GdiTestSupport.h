#pragma once
// A fixture with a memory DC over a fresh bitmap, put back to a true-colour
// display and freed after each test, plus small pixel helpers.

#include "platform/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <string>

class GdiCanvas : public ::testing::Test {
protected:
    void SetUp() override { makeCanvas(32, 32); }

    void TearDown() override
    {
        gdi::SetDisplayBitsPerPixel(32);
        freeCanvas();
    }

    void makeCanvas(int32_t w, int32_t h)
    {
        freeCanvas();
        width = w;
        height = h;
        dc = gdi::CreateCompatibleDC(0);
        bmp = gdi::CreateBitmap(w, h);
        ASSERT_NE(bmp, 0);
        oldBmp = gdi::SelectObject(dc, bmp);
        ASSERT_NE(oldBmp, 0);
    }

    void freeCanvas()
    {
        if (!dc) return;
        gdi::SelectObject(dc, oldBmp);
        EXPECT_TRUE(gdi::DeleteObject(bmp));
        EXPECT_TRUE(gdi::DeleteDC(dc));
        dc = 0;
    }

    void fill(gdi::COLORREF c)
    {
        uint32_t* p = gdi::BitmapPixels(bmp);
        for (int32_t i = 0; i < width * height; ++i) p[i] = c;
    }

    gdi::COLORREF at(int32_t x, int32_t y) const { return gdi::GetPixel(dc, x, y); }

    // Rows of '#' (pixel == c) and '.' for readable shape checks.
    std::string shape(gdi::COLORREF c, int32_t x0, int32_t y0, int32_t x1, int32_t y1) const
    {
        std::string s;
        for (int32_t y = y0; y < y1; ++y) {
            for (int32_t x = x0; x < x1; ++x) s += at(x, y) == c ? '#' : '.';
            s += '\n';
        }
        return s;
    }

    int32_t count(gdi::COLORREF c) const
    {
        int32_t n = 0;
        const uint32_t* p = gdi::BitmapPixels(bmp);
        for (int32_t i = 0; i < width * height; ++i) n += p[i] == c;
        return n;
    }

    int32_t width = 0;
    int32_t height = 0;
    gdi::HDC dc = 0;
    gdi::HBITMAP bmp = 0;
    gdi::HGDIOBJ oldBmp = 0;
};

// Selects a new object into the DC for one scope and deletes it afterwards.
class Selected {
public:
    Selected(gdi::HDC dc, gdi::HGDIOBJ obj) : dc_(dc), obj_(obj), old_(gdi::SelectObject(dc, obj))
    {
    }
    ~Selected()
    {
        gdi::SelectObject(dc_, old_);
        gdi::DeleteObject(obj_);
    }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    gdi::HDC dc_;
    gdi::HGDIOBJ obj_;
    gdi::HGDIOBJ old_;
};
