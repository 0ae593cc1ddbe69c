#pragma once
// Shared fixtures of the toolbar control tests: pictures in the tool picture
// layout, a configuration with every setting away from its default, and an
// event recorder.

#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

#include <QColor>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace toolbar::testing {

// The error f raises; a test failure when it raises none.
inline rt::Error errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const rt::Error& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return rt::Error(0);
}

// A W x (W + 1) tool picture: a `fill` square with a `mark` pixel at (1, 1),
// the mask colour in the left column's top three pixels and in the mask row.
inline forms::Picture makePicture(int w, QRgb fill, QRgb mask, QRgb mark = qRgb(255, 0, 0))
{
    QImage img(w, w + 1, QImage::Format_RGB32);
    img.fill(fill);
    for (int x = 0; x < w; ++x)
        img.setPixel(x, w, mask);
    for (int y = 0; y < 3; ++y)
        img.setPixel(0, y, mask);
    img.setPixel(1, 1, mark);
    return forms::StdPicture::fromImage(img);
}

struct Recorded {
    int32_t change;
    QString toolbar;   // name, or empty for Nothing
    QString tool;      // ID, or empty for Nothing
    bool operator==(const Recorded&) const = default;
};

inline void PrintTo(const Recorded& r, std::ostream* os)
{
    *os << "{" << r.change << ", '" << r.toolbar.toStdString() << "', '"
        << r.tool.toStdString() << "'}";
}

class EventLog {
public:
    explicit EventLog(MqZentribar& c) : m_control(c)
    {
        m_id = c.ConfigurationModified.connect(
            [this](int32_t change, com::Object bar, com::Object tool) {
                events.push_back({change,
                                  bar.isNothing() ? QString() : bar.get("Name").toString(),
                                  tool.isNothing() ? QString() : tool.get("ID").toString()});
            });
        m_clickId = c.ToolClick.connect([this](com::Object tool) {
            clicks.push_back(tool.get("ID").toString());
        });
    }
    ~EventLog()
    {
        m_control.ConfigurationModified.disconnect(m_id);
        m_control.ToolClick.disconnect(m_clickId);
    }
    std::vector<int32_t> codes() const
    {
        std::vector<int32_t> c;
        for (const auto& e : events)
            c.push_back(e.change);
        return c;
    }
    void clear()
    {
        events.clear();
        clicks.clear();
    }

    std::vector<Recorded> events;
    std::vector<QString> clicks;

private:
    MqZentribar& m_control;
    int32_t m_id = 0;
    int32_t m_clickId = 0;
};

// Fills a control with two tools of every kind of setting, a menu, two
// toolbars with entries and separators, and every control option changed.
void buildEverything(MqZentribar& c);
// Checks, property by property, what buildEverything set.
void expectEverything(const MqZentribar& c);

}  // namespace toolbar::testing
