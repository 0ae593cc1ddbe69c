#include "ConnectionFixture.h"

#include "platform/runtime/Error.h"

using namespace mGlobals;

TEST(ColorText, ParsesAndNormalises)
{
    struct Case {
        const char* text;
        bool ok;
        int32_t colour;
        const char* normal;
    };
    const Case cases[] = {
        {"  &h00ff00aa&  ", true, 0x00FF00AA, "&H00FF00AA&"},
        {"&H80000018&", true, int32_t(0x80000018u), "&H80000018&"},
        {"&h80000005&", true, int32_t(0x80000005u), "&H80000005&"},
        {"&H0000000a&", true, 0x0A, "&H0000000A&"},
        {"&H80000019&", false, 0, nullptr},
        {"&H80000105&", false, 0, nullptr},
        {"&H00FF0G80&", false, 0, nullptr},
        {"&H00FF008&", false, 0, nullptr},
        {"&H10FF0080&", false, 0, nullptr},
        {"H00FF00800&", false, 0, nullptr},
        {"&H00FF0080H", false, 0, nullptr},
        {"", false, 0, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        QString text = QString::fromLatin1(c.text);
        int32_t colour = 12345;
        EXPECT_EQ(ParseColorText(text, colour), c.ok);
        EXPECT_EQ(colour, c.ok ? c.colour : 12345);
        EXPECT_EQ(text, c.ok ? QString::fromLatin1(c.normal) : QString::fromLatin1(c.text));
    }
}

TEST(ColorText, FormatsAndRoundTrips)
{
    const std::pair<int32_t, const char*> cases[] = {
        {-1, "&H00000000&"},
        {0, "&H00000000&"},
        {255, "&H000000FF&"},
        {0x00FF0080, "&H00FF0080&"},
        {int32_t(0x80000005u), "&H80000005&"},
        {int32_t(0xC0000000u), "&H00000000&"},
    };
    for (const auto& [colour, text] : cases)
        EXPECT_EQ(FormatColorHex(colour), QString::fromLatin1(text)) << colour;
    for (int32_t colour : {0x123456, int32_t(0x80000018u), 0x00FFFFFF}) {
        QString text = FormatColorHex(colour);
        int32_t back = 0;
        ASSERT_TRUE(ParseColorText(text, back));
        EXPECT_EQ(back, colour);
    }
}

TEST(Names, ToolAndToolbarTypes)
{
    EXPECT_EQ(ToolTypeName(3), QStringLiteral("3 - DropDown State Button"));
    EXPECT_EQ(ToolTypeName(3, true), QStringLiteral("DropDown State Button"));
    EXPECT_EQ(ToolTypeName(7), QStringLiteral("7 - Menu"));
    EXPECT_EQ(ToolTypeName(8), QStringLiteral("0 - Button"));
    EXPECT_EQ(ToolTypeName(-1, true), QStringLiteral("Button"));
    EXPECT_EQ(ToolbarTypeName(1), QStringLiteral("1 - Menu Bar"));
    EXPECT_EQ(ToolbarTypeName(2), QStringLiteral("0 - Standard Toolbar"));
}

TEST(Text, PathPartsStripAndKeyFilter)
{
    const std::pair<const char*, const char*> paths[] = {
        {"/data/sets/file.qrv", "/data/sets"}, {"  /data/file.qrv ", "/data"},
        {"/file.qrv", ""},                     {"file.qrv", ""},
        {"", ""},                              {"a/b/", "a/b"},
    };
    for (const auto& [path, part] : paths)
        EXPECT_EQ(GetPathPart(QString::fromLatin1(path)), QString::fromLatin1(part)) << path;

    EXPECT_EQ(StripChar(QStringLiteral("1,234,567"), QStringLiteral(",")),
              QStringLiteral("1234567"));
    EXPECT_EQ(StripChar(QStringLiteral("a--b"), QStringLiteral("--")), QStringLiteral("a--b"));
    EXPECT_EQ(StripChar(QString(), QStringLiteral("x")), QString());

    for (int16_t key : {8, 46, 48, 57}) {
        int16_t k = key;
        FilterNumericKey(k);
        EXPECT_EQ(k, key);
    }
    for (int16_t key : {45, 47, 58, 65, 13}) {
        int16_t k = key;
        FilterNumericKey(k);
        EXPECT_EQ(k, 0) << key;
    }
}

TEST(Objects, NothingCollectionsAndPictures)
{
    EXPECT_TRUE(IsNothing(rt::Variant()));
    EXPECT_TRUE(IsNothing(rt::Variant::null()));
    EXPECT_TRUE(IsNothing(rt::Variant::nothing()));
    EXPECT_FALSE(IsNothing(rt::Variant(QString())));
    EXPECT_TRUE(IsNotNothing(rt::Variant(int16_t(0))));
    EXPECT_TRUE(IsNothing(com::Object()));
    EXPECT_TRUE(IsNotNothing(com::Object(FakeObject::make())));

    rt::Collection c;
    c.Add(rt::Variant(1), QStringLiteral("General"));
    c.Add(rt::Variant(2), QStringLiteral("Edit"));
    c.Add(rt::Variant(3));
    EXPECT_TRUE(ExistsInCollection(c, QStringLiteral("GENERAL")));
    EXPECT_FALSE(ExistsInCollection(c, QStringLiteral("Missing")));
    EXPECT_TRUE(ExistsInCollection(c, rt::Variant(int32_t(3))));
    EXPECT_FALSE(ExistsInCollection(c, rt::Variant(int32_t(4))));
    ClearCollection(c);
    EXPECT_EQ(c.Count(), 0);

    EXPECT_TRUE(IsEmptyPicture(forms::StdPicture::fromBitmap(0)));
    auto picture = FakeObject::make();
    int32_t handle = 0;
    picture->defineProperty(QStringLiteral("Handle"), 0,
                            [&](com::Args&) { return rt::Variant(handle); });
    EXPECT_TRUE(IsEmptyPicture(com::Object(picture)));
    handle = 77;
    EXPECT_TRUE(HasPicture(com::Object(picture)));
    try {
        HasPicture(forms::Picture());
        ADD_FAILURE() << "a Nothing picture has no handle";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), rt::errc::ObjectNotSet);
    }
}

namespace {

// A late-bound collection keyed by name, 1-based by position.
std::shared_ptr<FakeObject> fakeCollection(
    std::shared_ptr<std::vector<std::pair<QString, rt::Variant>>> items)
{
    auto c = FakeObject::make();
    c->defineProperty(QStringLiteral("Count"), com::DispidUnknown,
                      [items](com::Args&) { return rt::Variant(int32_t(items->size())); });
    c->defineMethod(QStringLiteral("Item"), 0, [items](com::Args& a) -> rt::Variant {
        if (a.at(0).isString()) {
            for (const auto& [key, value] : *items) {
                if (key.compare(a[0].toString(), Qt::CaseInsensitive) == 0)
                    return value;
            }
            rt::raise(rt::errc::InvalidCall);
        }
        const int32_t i = a[0].toLong();
        if (i < 1 || i > int32_t(items->size()))
            rt::raise(rt::errc::SubscriptOutOfRange);
        return (*items)[size_t(i - 1)].second;
    });
    c->defineMethod(QStringLiteral("Remove"), com::DispidUnknown, [items](com::Args& a) {
        items->erase(items->begin() + (a.at(0).toLong() - 1));
        return rt::Variant();
    });
    return c;
}

using Items = std::vector<std::pair<QString, rt::Variant>>;

rt::Variant fakeToolbar(const QStringList& toolIds, bool brokenName = false)
{
    auto tools = std::make_shared<Items>();
    for (const QString& id : toolIds) {
        auto tool = FakeObject::make();
        tool->defineProperty(QStringLiteral("Name"), com::DispidUnknown,
                             [id, brokenName](com::Args&) -> rt::Variant {
                                 if (brokenName)
                                     rt::raise(rt::errc::InternalError);
                                 return id;
                             });
        tools->emplace_back(id, rt::Variant(rt::ObjectRef(tool)));
    }
    auto bar = FakeObject::make();
    auto toolsObject = fakeCollection(tools);
    bar->defineProperty(QStringLiteral("Tools"), com::DispidUnknown,
                        [toolsObject](com::Args&) { return rt::Variant(rt::ObjectRef(toolsObject)); });
    return rt::Variant(rt::ObjectRef(bar));
}

}  // namespace

TEST(Objects, CountToolbarsWithToolSkipsErrors)
{
    auto bars = std::make_shared<Items>();
    bars->emplace_back(QStringLiteral("Main"), fakeToolbar({QStringLiteral("ID_Open"),
                                                            QStringLiteral("ID_Save")}));
    bars->emplace_back(QStringLiteral("Edit"), fakeToolbar({QStringLiteral("ID_Cut")}));
    bars->emplace_back(QStringLiteral("Menu"), fakeToolbar({QStringLiteral("id_open")}));
    bars->emplace_back(QStringLiteral("Broken"), fakeToolbar({QStringLiteral("ID_Open")}, true));
    auto control = FakeObject::make();
    auto toolbars = fakeCollection(bars);
    control->defineProperty(QStringLiteral("Toolbars"), 1060,
                            [toolbars](com::Args&) { return rt::Variant(rt::ObjectRef(toolbars)); });

    rt::Err().Clear();
    EXPECT_EQ(CountToolbarsWithTool(QStringLiteral("ID_Open"), com::Object(control)), 2);
    EXPECT_EQ(CountToolbarsWithTool(QStringLiteral("ID_Cut"), com::Object(control)), 1);
    EXPECT_EQ(CountToolbarsWithTool(QStringLiteral("ID_None"), com::Object(control)), 0);
    EXPECT_EQ(CountToolbarsWithTool(QStringLiteral("ID_Open"), com::Object(FakeObject::make())),
              0);
    EXPECT_EQ(CountToolbarsWithTool(QStringLiteral("ID_Open"), com::Object()), 0);
    EXPECT_EQ(rt::Err().Number, 0);

    EXPECT_TRUE(ExistsInCollection(com::Object(toolbars), QStringLiteral("edit")));
    EXPECT_FALSE(ExistsInCollection(com::Object(toolbars), QStringLiteral("nope")));
    ClearCollection(com::Object(toolbars));
    EXPECT_TRUE(bars->empty());
}
