// The sample configuration under examples/: how it is made, and that the
// committed file is what the stand-in control reads back. Run with
// BW_WRITE_SAMPLE=1 to write it again.
#include "platform/toolbar/MqZentribar.h"

#include <QDir>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

#include <set>

namespace {

using namespace toolbar;

const QString kSample = QStringLiteral(BW_SOURCE_DIR "/examples/sample.qrv");
constexpr QRgb kMask = qRgb(255, 0, 255);

// A tool picture: size x size with one more row whose pixel (0, size) holds
// the mask colour; the background is the mask colour, so it shows through.
forms::Picture icon(int size, QColor colour, int shape)
{
    QImage img(size, size + 1, QImage::Format_RGB32);
    img.fill(kMask);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(colour.darker(160));
    p.setBrush(colour);
    const int m = size / 8;
    const QRect r(m, m, size - 2 * m - 1, size - 2 * m - 1);
    switch (shape % 4) {
    case 0: p.drawRect(r); break;
    case 1: p.drawEllipse(r); break;
    case 2: p.drawPolygon(QPolygon({r.bottomLeft(), QPoint(r.center().x(), r.top()),
                                    r.bottomRight()})); break;
    default:
        p.drawRect(r.adjusted(0, r.height() / 3, 0, -r.height() / 3));
        p.drawRect(r.adjusted(r.width() / 3, 0, -r.width() / 3, 0));
    }
    p.end();
    return forms::StdPicture::fromImage(img);
}

struct ToolSpec {
    const char* id;
    const char* name;
    int16_t type;
    const char* category;
    QColor colour;
    int size;   // 0: no picture
};

void buildSample(MqZentribar& c)
{
    const ToolSpec specs[] = {
        {"ID_New", "&New", mqButton, "File", QColor(0x2e, 0x7d, 0x32), 16},
        {"ID_Open", "&Open...", mqButton, "File", QColor(0xf9, 0xa8, 0x25), 16},
        {"ID_Save", "&Save", mqButton, "File", QColor(0x15, 0x65, 0xc0), 16},
        {"ID_Recent", "Recent &Files", mqDropDown, "File", QColor(0x6a, 0x1b, 0x9a), 16},
        {"ID_Bold", "&Bold", mqStateButton, "Format", QColor(0x21, 0x21, 0x21), 16},
        {"ID_Italic", "&Italic", mqStateButton, "Format", QColor(0x5d, 0x40, 0x37), 16},
        {"ID_Underline", "Align", mqDropDownStateButton, "Format", QColor(0x00, 0x83, 0x8f),
         16},
        {"ID_Font", "Font", mqComboBox, "Format", QColor(), 0},
        {"ID_Zoom", "Zoom", mqEdit, "View", QColor(), 0},
        {"ID_Status", "Ready", mqLabel, "View", QColor(), 0},
        {"ID_Grid", "Show &Grid", mqStateButton, "View", QColor(0xc6, 0x28, 0x28), 24},
        {"ID_Refresh", "&Refresh", mqButton, "View", QColor(0x00, 0x79, 0x6b), 24},
        {"ID_FileMenu", "&File", mqMenu, "File", QColor(), 0},
        {"ID_FormatMenu", "F&ormat", mqMenu, "Format", QColor(), 0},
        {"ID_ViewMenu", "&View", mqMenu, "View", QColor(), 0},
    };
    int shape = 0;
    for (const ToolSpec& s : specs) {
        auto t = c.tools()->Add(QString::fromLatin1(s.id), s.type);
        t->setName(QString::fromLatin1(s.name));
        t->setCategory(QString::fromLatin1(s.category));
        t->setTooltipText(QString(QString::fromLatin1(s.name)).remove(QLatin1Char('&'))
                              .remove(QStringLiteral("...")));
        t->setDescription(QStringLiteral("Sample tool ") + QString::fromLatin1(s.id));
        if (s.size > 0) {
            t->setImageSize(int16_t(s.size));
            t->setUseMaskColor(true);
            t->setPicture(PictureState::Normal, icon(s.size, s.colour, shape++));
        }
    }
    c.tools()->Item(QStringLiteral("ID_Bold"))->setStateGroupName(QStringLiteral("Emphasis"));
    c.tools()->Item(QStringLiteral("ID_Italic"))->setStateGroupName(QStringLiteral("Emphasis"));
    c.tools()->Item(QStringLiteral("ID_Bold"))->setStateAllowAllUp(true);
    c.tools()->Item(QStringLiteral("ID_Italic"))->setStateAllowAllUp(true);
    auto font = c.tools()->Item(QStringLiteral("ID_Font"))->comboBox();
    for (const char* f : {"Sans", "Serif", "Monospace"})
        font->AddItem(QString::fromLatin1(f));
    font->setListIndex(0);
    c.tools()->Item(QStringLiteral("ID_Font"))->setWidth(110);
    c.tools()->Item(QStringLiteral("ID_Zoom"))->edit()->setText(QStringLiteral("100%"));
    c.tools()->Item(QStringLiteral("ID_Zoom"))->setWidth(60);

    auto addMenu = [&](const char* menu, std::initializer_list<const char*> ids) {
        auto tools = c.tools()->Item(QString::fromLatin1(menu))->menu()->tools();
        for (const char* id : ids)
            tools->Add(QString::fromLatin1(id), id[0] == '-' ? std::optional<int16_t>(mqSeparator)
                                                          : std::nullopt);
    };
    addMenu("ID_FileMenu", {"ID_New", "ID_Open", "ID_Save", "-", "ID_Recent"});
    addMenu("ID_FormatMenu", {"ID_Bold", "ID_Italic", "ID_Underline"});
    addMenu("ID_ViewMenu", {"ID_Grid", "ID_Refresh"});

    auto addBar = [&](const char* name, int16_t style, std::initializer_list<const char*> ids) {
        auto bar = c.toolbars()->Add(QString::fromLatin1(name), style);
        for (const char* id : ids)
            bar->tools()->Add(QString::fromLatin1(id), id[0] == '-'
                                                           ? std::optional<int16_t>(mqSeparator)
                                                           : std::nullopt);
        return bar;
    };
    addBar("Menu Bar", 1, {"ID_FileMenu", "ID_FormatMenu", "ID_ViewMenu"});
    addBar("Standard", 0, {"ID_New", "ID_Open", "ID_Save", "-", "ID_Recent"});
    auto format = addBar("Formatting", 0,
                         {"ID_Font", "-", "ID_Bold", "ID_Italic", "ID_Underline"});
    format->setPositionState(2, 1);   // the second row of the top area
    auto view = addBar("View", 0, {"ID_Grid", "ID_Refresh", "-", "ID_Zoom", "ID_Status"});
    view->moveTo(DockArea::Bottom, 0, 0, 0, 0);
    c.setShowTooltips(true);
    c.setStyle(2);
}

TEST(SampleConfig, CommittedFileHoldsEveryKindOfTool)
{
    if (qEnvironmentVariableIsSet("BW_WRITE_SAMPLE")) {
        MqZentribar fresh;
        buildSample(fresh);
        fresh.SaveConfiguration(kSample);
    }
    MqZentribar c;
    ASSERT_NO_THROW(c.LoadConfiguration(kSample)) << "examples/sample.qrv is unreadable";

    EXPECT_GE(c.toolbars()->Count(), 3);
    int menuBars = 0;
    for (const auto& bar : *c.toolbars())
        menuBars += bar->Style() == 1;
    EXPECT_EQ(menuBars, 1);

    std::set<int16_t> types;
    std::set<QString> categories;
    std::set<int> sizes;
    for (const auto& t : *c.tools()) {
        types.insert(t->Type());
        categories.insert(t->Category());
        if (auto pic = t->picture(PictureState::Normal)) {
            sizes.insert(pic->widthPixels());
            EXPECT_EQ(pic->heightPixels(), pic->widthPixels() + 1) << t->ID().toStdString();
        }
    }
    EXPECT_EQ(types, (std::set<int16_t>{0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(categories.size(), 3u);
    EXPECT_EQ(sizes, (std::set<int>{16, 24}));
}

}  // namespace
